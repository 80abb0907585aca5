#pragma once
// The program's modal message box: a text and one or two picture buttons on a layered pair.
// DoModal answers IDOK for the first button, IDCANCEL for the second and for the close cross.
#include <atomic>
#include <memory>
#include <string>

#include "popups/custom_messages.h"
#include "popups/layered_outer_dlg.h"

class CPromptDlg : public CLayeredOuterDlg {
 public:
  explicit CPromptDlg(CWnd* pParent = nullptr) noexcept;

  void SetText(std::wstring text) { m_strText = std::move(text); }
  // 1: 是 alone, 2: 是 and 否, 3: 确认 alone, 4: 确认 and 取消.
  void SetType(int type) { m_nType = type; }

  // From any thread, while the object exists: closes the prompt as its close cross would
  // (IDCANCEL). Before the window exists the prompt closes as soon as it has opened; after
  // it is gone nothing happens.
  void Dismiss();

  std::wstring m_strText;
  int m_nType = 1;

 protected:
  BOOL OnInitDialog() override;
  std::unique_ptr<CLayeredInnerDlg> NewInnerDlg() override;
  BOOL PreTranslateMessage(MSG* msg) override;
  bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void OnDestroy() override;

 private:
  std::atomic<HWND> m_hOpenWnd{nullptr};
  std::atomic<bool> m_bDismissed{false};
};

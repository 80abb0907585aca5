#pragma once
// The progress popup: a modal layered pair without buttons, ended by the run with
// WM_END_PROGRESS when it reaches an outcome.
#include <atomic>
#include <memory>

#include "popups/custom_messages.h"
#include "popups/execute_prompt_child_dlg.h"
#include "popups/layered_outer_dlg.h"

class CExecutePromptDlg : public CLayeredOuterDlg {
 public:
  explicit CExecutePromptDlg(CWnd* pParent = nullptr) noexcept;

  // From any thread, while the object exists: ends the modal run with IDOK by sending
  // WM_END_PROGRESS (the caller waits until the popup's thread has handled it). Before the
  // window exists the request is kept and the popup ends as soon as it has opened; after the
  // window is gone nothing happens.
  void EndProgress();
  // The window that WM_END_PROGRESS goes to; null while none is open.
  HWND EndTarget() const noexcept { return m_hEndTarget.load(); }

  CExecutePromptChildDlg* ChildDlg() const { return static_cast<CExecutePromptChildDlg*>(m_pInnerDlg.get()); }

 protected:
  BOOL OnInitDialog() override;
  std::unique_ptr<CLayeredInnerDlg> NewInnerDlg() override;
  bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void OnDestroy() override;
  // Only the run ends the popup: ending it early would hand the windows back to the user
  // while the repair goes on. Enter, Escape and close requests are ignored.
  BOOL PreTranslateMessage(MSG* msg) override;
  void OnOK() override {}
  void OnCancel() override {}

 private:
  std::atomic<HWND> m_hEndTarget{nullptr};
  std::atomic<bool> m_bEndRequested{false};
};

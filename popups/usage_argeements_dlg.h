#pragma once
// The start page: the first window of the program. Its modal run ends with IDOK when the
// user has agreed and pressed start, with IDCANCEL from the close cross.
#include <memory>

#include "popups/layered_outer_dlg.h"

class CUsageArgeementsDlg : public CLayeredOuterDlg {
 public:
  explicit CUsageArgeementsDlg(CWnd* pParent = nullptr) noexcept;

  static constexpr const wchar_t* kWindowText = L"系统文件修复工具";

 protected:
  BOOL OnInitDialog() override;
  std::unique_ptr<CLayeredInnerDlg> NewInnerDlg() override;
  bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

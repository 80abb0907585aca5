#include "popups/usage_argeements_dlg.h"

#include "popups/custom_messages.h"
#include "popups/dpi_scale.h"
#include "popups/usage_argeeement_child_dlg.h"
#include "res/resource.h"

CUsageArgeementsDlg::CUsageArgeementsDlg(CWnd* pParent) noexcept
    : CLayeredOuterDlg(IDD_START_OUTER, LayoutOf(ELayeredPair::StartPage), 1.0f, pParent) {}

BOOL CUsageArgeementsDlg::OnInitDialog() {
  // The caption of the taskbar button; the window itself shows no caption.
  SetWindowText(kWindowText);
  m_fScale = ScreenDpiScale(m_fScale);
  // The inner is created with m_bDragging set, so its first move pulls this window around
  // it at the screen centre: having moved, the modal run does not centre it again.
  return CLayeredOuterDlg::OnInitDialog();
}

std::unique_ptr<CLayeredInnerDlg> CUsageArgeementsDlg::NewInnerDlg() {
  return std::make_unique<CUsageArgeeementChildDlg>();
}

bool CUsageArgeementsDlg::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (msg == WM_START_ACCEPTED) {
    OnOK();
    result = 1;
    return true;
  }
  return CLayeredOuterDlg::OnMessage(msg, wParam, lParam, result);
}

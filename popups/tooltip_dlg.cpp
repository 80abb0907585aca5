#include "popups/tooltip_dlg.h"

#include "popups/tooltip_child_dlg.h"
#include "res/resource.h"

CTooltipDlg::CTooltipDlg(CWnd* pParent) noexcept
    : CLayeredOuterDlg(IDD_AGREEMENT_OUTER, LayoutOf(ELayeredPair::Agreement), 1.0f, pParent) {}

std::unique_ptr<CLayeredInnerDlg> CTooltipDlg::NewInnerDlg() {
  // The inner template holds a rich edit: its window class must exist before the dialog does.
  if (!CRichEditCtrl::InitRichEdit()) return nullptr;
  return std::make_unique<CTooltipChildDlg>();
}

void CTooltipDlg::ShowInner(bool show) {
  if (m_pInnerDlg && m_pInnerDlg->IsWindow()) m_pInnerDlg->ShowWindow(show ? SW_SHOW : SW_HIDE);
}

#include "popups/usage_argeeement_child_dlg.h"

#include "framework/client_dc.h"
#include "framework/select_object.h"
#include "popups/custom_messages.h"
#include "res/resource.h"
#include "skin/parent_font.h"

namespace {

int Trunc(float value) { return static_cast<int>(value); }

constexpr COLORREF kLinkBack = RGB(241, 242, 246);
constexpr COLORREF kLinkNormal = RGB(92, 92, 255);
constexpr COLORREF kLinkHighlight = RGB(0, 0, 255);

}  // namespace

CUsageArgeeementChildDlg::CUsageArgeeementChildDlg() noexcept
    : CLayeredInnerDlg(IDD_START_INNER, LayoutOf(ELayeredPair::StartPage), 132, TRUE) {}

void CUsageArgeeementChildDlg::DoDataExchange() {
  CLayeredInnerDlg::DoDataExchange();
  BindControl(IDC_START_CLOSE, m_btnClose);
  BindControl(IDC_START_RUN, m_btnStart);
  BindControl(IDC_START_AGREE, m_chkAgree);
  BindControl(IDC_START_LINK, m_stcLink);
}

int CUsageArgeeementChildDlg::MeasureCharWidth() const {
  CFont font = CopyParentFont(m_hWnd);
  CClientDC dc(m_hWnd);
  if (!dc) return 0;
  CSelectObject selection(dc.Get(), font.Get());
  SIZE extent{};
  const std::wstring text = kMeasureText;
  ::GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &extent);
  return extent.cx / 14;
}

void CUsageArgeeementChildDlg::LayoutControls() {
  m_rcClient = GetClientRect();
  const int width = m_rcClient.right;
  const int height = m_rcClient.bottom;
  const float s = m_fScale;

  const int closeLeft = width - Trunc(36 * s);
  m_btnClose.SetImages(133, 134, 135, 136);
  m_btnClose.MoveWindow(RECT{closeLeft, 0, Trunc(closeLeft + 26 * s), Trunc(34 * s)}, TRUE);

  m_btnStart.EnableWindow(TRUE);
  RECT start{};
  if (width <= 600) {
    start.left = width / 2 - 130;
    start.top = height / 2 + 50;
    start.right = start.left + 260;
    start.bottom = start.top + 69;
  } else {
    // Wider panels scale the 600 x 450 design instead of centring in the real client area.
    start.left = Trunc(300 * s - 130 * s);
    start.top = Trunc(225 * s + 50 * s);
    start.right = Trunc(start.left + 260 * s);
    start.bottom = Trunc(start.top + 69 * s);
  }
  m_btnStart.SetImages(137, 138, 139, 140);
  m_btnStart.MoveWindow(start, TRUE);

  const int cw = MeasureCharWidth();
  RECT agree{};
  agree.left = Trunc(8 * s);
  agree.top = Trunc(height - 25 * s);
  agree.right = Trunc(agree.left + 16 * s + 2 * cw + 2);
  agree.bottom = Trunc(agree.top + 20 * s);
  m_chkAgree.InitFont();
  m_chkAgree.m_fScale = s;
  m_chkAgree.MoveWindow(agree, TRUE);
  m_chkAgree.SetCheck(BST_CHECKED);

  RECT link{};
  link.left = agree.right + 6;
  link.top = Trunc(height - 25 * s);
  link.right = link.left + 14 * cw;
  link.bottom = Trunc(link.top + 20 * s);
  m_stcLink.InitFont();
  m_stcLink.SetAlignment(1);
  m_stcLink.SetBackColor(kLinkBack);
  m_stcLink.SetForeColors(kLinkNormal, kLinkHighlight);
  m_stcLink.MoveWindow(link, TRUE);

  // The panel was shown before it knew where its background goes: paint all of it now.
  ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void CUsageArgeeementChildDlg::DrawBackground(HDC hdc, const RECT&) {
  // Until the layout has stored the client rectangle there is nothing to draw into.
  CLayeredInnerDlg::DrawBackground(hdc, m_rcClient);
}

bool CUsageArgeeementChildDlg::OnCommand(UINT id, UINT code, HWND hCtl) {
  if (code == BN_CLICKED) {
    switch (id) {
      case IDC_START_RUN: OnBnClickedStart(); return true;
      case IDC_START_CLOSE: OnBnClickedClose(); return true;
      case IDC_START_AGREE: OnBnClickedAgree(); return true;
      default: break;
    }
  }
  return CLayeredInnerDlg::OnCommand(id, code, hCtl);
}

void CUsageArgeeementChildDlg::OnBnClickedStart() { ::SendMessageW(GetParent(), WM_START_ACCEPTED, 0, 0); }

void CUsageArgeeementChildDlg::OnBnClickedClose() { ::SendMessageW(GetParent(), WM_CLOSE, 0, 0); }

void CUsageArgeeementChildDlg::OnCancel() { OnBnClickedClose(); }

void CUsageArgeeementChildDlg::OnBnClickedAgree() {
  // The button does not grey itself: the disabled picture goes with the disabled window.
  const bool agreed = m_chkAgree.GetCheck() == BST_CHECKED;
  m_btnStart.EnableWindow(agreed ? TRUE : FALSE);
  m_btnStart.SetDisabledLook(agreed ? FALSE : TRUE);
}

void CUsageArgeeementChildDlg::PlaceAgreement() {
  const RECT panel = GetWindowRect();
  const float s = m_fScale;
  const int width = panel.right - panel.left;
  const int height = panel.bottom - panel.top;
  // The callout stands over the panel with its tail pointing down at the link.
  m_pAgreementDlg->MoveWindow(Trunc(panel.left + 48 * s), Trunc(panel.top + 108 * s), Trunc(width - 96 * s),
                              Trunc(height - 128 * s), TRUE);
}

void CUsageArgeeementChildDlg::ToggleAgreement(POINT clientPoint) {
  POINT screen = clientPoint;
  ClientToScreen(&screen);
  if (!m_stcLink.m_hWnd || !m_stcLink.IsPointInside(screen.x, screen.y)) {
    HideAgreement();
    return;
  }
  if (!m_pAgreementDlg) {
    auto dialog = std::make_unique<CTooltipDlg>();
    dialog->m_fScale = m_fScale;
    if (!dialog->Create(IDD_AGREEMENT_OUTER, this)) return;
    m_pAgreementDlg = std::move(dialog);
  }
  PlaceAgreement();
  const bool show = !m_pAgreementDlg->IsWindowVisible();
  m_pAgreementDlg->ShowWindow(show ? SW_SHOW : SW_HIDE);
  m_pAgreementDlg->ShowInner(show);
}

void CUsageArgeeementChildDlg::HideAgreement() {
  if (!m_pAgreementDlg || !m_pAgreementDlg->IsWindow()) return;
  m_pAgreementDlg->ShowWindow(SW_HIDE);
  m_pAgreementDlg->ShowInner(false);
}

void CUsageArgeeementChildDlg::OnLButtonDown(UINT flags, POINT point) {
  ToggleAgreement(point);
  CLayeredInnerDlg::OnLButtonDown(flags, point);
}

void CUsageArgeeementChildDlg::OnNcRButtonDown(UINT hitTest, POINT screenPoint) {
  HideAgreement();
  CLayeredInnerDlg::OnNcRButtonDown(hitTest, screenPoint);
}

LRESULT CUsageArgeeementChildDlg::OnNcHitTest(POINT screenPoint) {
  const LRESULT hit = CLayeredInnerDlg::OnNcHitTest(screenPoint);
  // The pointer reaching the drag strip puts the agreement text away.
  if (m_bDragging) HideAgreement();
  return hit;
}

void CUsageArgeeementChildDlg::OnDestroy() {
  Default();
  m_btnClose.ReleaseImages();
  m_btnStart.ReleaseImages();
  m_pBackground.Reset();
  // The platform destroyed the agreement windows (owned by this dialog) before this one.
  m_pAgreementDlg.reset();
}

#include "popups/tooltip_child_dlg.h"

#include <gdiplus.h>

#include "framework/buffered_paint.h"
#include "popups/agreement/agreement_text.h"
#include "res/resource.h"
#include "skin/png_resource.h"
#include "skin/scroll/skin_scroll_wnd.h"

CTooltipChildDlg::CTooltipChildDlg() noexcept
    : CLayeredInnerDlg(IDD_AGREEMENT_INNER, LayoutOf(ELayeredPair::Agreement), kBackgroundPictureId) {}

void CTooltipChildDlg::DoDataExchange() {
  CLayeredInnerDlg::DoDataExchange();
  BindControl(IDC_AGREEMENT_TEXT, m_edtText);
}

void CTooltipChildDlg::FillAgreementText() {
  if (!m_edtText.m_hWnd) return;
  PlaceText();

  m_hScrollSkin.Reset(::LoadBitmapW(PictureResourceModule(), MAKEINTRESOURCEW(IDB_SCROLLBAR_SKIN)));
  BITMAP description{};
  if (m_hScrollSkin && ::GetObjectW(m_hScrollSkin.Get(), sizeof(description), &description) != 0) {
    // Without the skin the control simply keeps its system bars.
    AttachSkinScrollBars(m_edtText.m_hWnd, m_hScrollSkin.Get(), m_fScale, 0);
  }
  ::SetWindowTextW(m_edtText.m_hWnd, BuildAgreementText().c_str());
}

void CTooltipChildDlg::PlaceText() {
  // Once skinned, the frame holds the control's id and place; it lays the control out inside.
  HWND text = GetDlgItem(IDC_AGREEMENT_TEXT);
  if (!text) return;
  const RECT client = GetClientRect();
  const int inset = static_cast<int>(m_fScale * 8);
  ::MoveWindow(text, inset, inset, client.right - inset - inset, client.bottom - inset - inset, TRUE);
}

void CTooltipChildDlg::OnSize(UINT type, int cx, int cy) {
  CLayeredInnerDlg::OnSize(type, cx, cy);
  if (m_edtText.m_hWnd) PlaceText();
}

void CTooltipChildDlg::DrawBackground(HDC hdc, const RECT& client) {
  CBufferedPaint buffer(hdc, client);
  if (!buffer || !LoadBackgroundPictures()) return;
  const int sourceWidth = static_cast<int>(m_pBackground.Width()) - 1;
  const int sourceHeight = static_cast<int>(m_pBackground.Height()) - kTailHeight;
  {
    Gdiplus::Graphics graphics(buffer.Get());
    graphics.DrawImage(m_pBackground.Get(), Gdiplus::Rect(0, 0, buffer.Width(), buffer.Height()), 0, 0, sourceWidth,
                       sourceHeight, Gdiplus::UnitPixel);
  }
  buffer.Blit();
}

// The skin bitmap goes once the scroll frame and its bars, children destroyed after this
// dialog's WM_DESTROY, can no longer draw from it.
void CTooltipChildDlg::OnNcDestroy() {
  CLayeredInnerDlg::OnNcDestroy();
  m_hScrollSkin.Reset();
}

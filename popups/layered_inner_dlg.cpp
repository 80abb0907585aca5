#include "popups/layered_inner_dlg.h"

#include <gdiplus.h>

#include "popups/layered_outer_dlg.h"
#include "skin/png_resource.h"

CLayeredInnerDlg::CLayeredInnerDlg(UINT templateId, const LayeredPairLayout& layout, UINT backgroundId,
                                   BOOL initialDragging) noexcept
    : CDialog(templateId), m_bDragging(initialDragging), m_layout(layout), m_nBackgroundId(backgroundId) {}

bool CLayeredInnerDlg::LoadBackgroundPictures() {
  return m_pBackground || (m_nBackgroundId != 0 && LoadPngResource(m_nBackgroundId, m_pBackground));
}

void CLayeredInnerDlg::DrawBackground(HDC hdc, const RECT& client) {
  if (!LoadBackgroundPictures()) return;
  Gdiplus::Graphics graphics(hdc);
  graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
  graphics.DrawImage(m_pBackground.Get(),
                     Gdiplus::Rect(client.left, client.top, client.right - client.left, client.bottom - client.top));
}

BOOL CLayeredInnerDlg::OnEraseBkgnd(HDC hdc) {
  DrawBackground(hdc, GetClientRect());
  return TRUE;
}

// The background is all this dialog paints itself; its controls print themselves.
void CLayeredInnerDlg::OnPrintClient(HDC hdc, UINT) { DrawBackground(hdc, GetClientRect()); }

LRESULT CLayeredInnerDlg::OnNcHitTest(POINT screenPoint) {
  if (!m_layout.dragStrip) return Default();
  RECT client = GetClientRect();
  ClientToScreen(&client);
  m_bDragging = Geometry().IsDragPoint({client.left, client.top, client.right, client.bottom}, screenPoint.x,
                                       screenPoint.y);
  return m_bDragging ? HTCAPTION : Default();
}

void CLayeredInnerDlg::OnMove(int, int) {
  Default();
  if (!m_bDragging) return;
  auto* outer = dynamic_cast<CLayeredOuterDlg*>(FromHandlePermanent(GetParent()));
  if (!outer) return;
  const RECT inner = GetWindowRect();
  outer->MoveAroundInner(inner.left, inner.top, inner.right, inner.bottom);
}

void CLayeredInnerDlg::OnDestroy() {
  Default();
  m_pBackground.Reset();
}

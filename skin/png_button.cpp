#include "skin/png_button.h"

#include <gdiplus.h>

#include "framework/paint_dc.h"
#include "framework/select_object.h"
#include "skin/png_resource.h"

CPngButton::CPngButton() noexcept : m_backgroundBrush(::CreateSolidBrush(RGB(255, 255, 255))) {}

void CPngButton::SetImages(UINT normalId, UINT hoverId, UINT pressedId, UINT disabledId) {
  const UINT ids[4] = {normalId, hoverId, pressedId, disabledId};
  for (int i = 0; i < 4; ++i) LoadPngResource(ids[i], m_images[i]);
}

void CPngButton::ReleaseImages() {
  for (CPngImage& image : m_images) image.Reset();
}

void CPngButton::ApplyChange(bool changed) {
  if (changed && m_hWnd) Invalidate(TRUE);
}

void CPngButton::ResetState(int x, int y) {
  const RECT window = GetWindowRect();
  ApplyChange(m_state.OnReset(IsWindowEnabled() != FALSE, ::PtInRect(&window, POINT{x, y}) != FALSE));
}

void CPngButton::DrawStatePicture(HDC hdc) const {
  for (const CPngImage& image : m_images) {
    if (!image) return;
  }
  const int index = static_cast<int>(m_state.State()) - 1;
  if (index < 0 || index > 3) return;
  Gdiplus::Image* picture = m_images[index].Get();
  const INT width = static_cast<INT>(picture->GetWidth());
  const INT height = static_cast<INT>(picture->GetHeight());
  const Gdiplus::Rect target(m_rcClient.left, m_rcClient.top, m_bStretch ? m_rcClient.right - m_rcClient.left : width,
                             m_bStretch ? m_rcClient.bottom - m_rcClient.top : height);
  Gdiplus::Graphics graphics(hdc);
  graphics.DrawImage(picture, target, 0, 0, width - 1, height - 1, Gdiplus::UnitPixel);
}

void CPngButton::Paint(HDC hdc) {
  m_rcClient = GetClientRect();
  const SIZE size{m_rcClient.right, m_rcClient.bottom};
  // Kept for the control's life, but never smaller than the area it has to hold.
  if (!m_memoryDC || size.cx > m_memorySize.cx || size.cy > m_memorySize.cy) {
    m_memoryDC = CMemoryDC(hdc);
    m_memoryBitmap.Reset(::CreateCompatibleBitmap(hdc, size.cx, size.cy));
    m_memorySize = size;
  }
  CSelectObject selection(m_memoryDC.Get(), m_memoryBitmap.Get());
  if (!selection) return;
  ::FillRect(m_memoryDC.Get(), &m_rcClient, m_backgroundBrush.Get());
  ::SetBkMode(m_memoryDC.Get(), TRANSPARENT);
  DrawStatePicture(m_memoryDC.Get());
  ::BitBlt(hdc, 0, 0, m_rcClient.right, m_rcClient.bottom, m_memoryDC.Get(), 0, 0, SRCCOPY);
}

void CPngButton::OnPaint() {
  CPaintDC dc(m_hWnd);
  Paint(dc.Get());
}

void CPngButton::OnPrintClient(HDC hdc, UINT) { Paint(hdc); }

bool CPngButton::OnMessage(UINT msg, WPARAM, LPARAM, LRESULT& result) {
  switch (msg) {
    // The system's button draws its own face straight onto the screen on these; let it
    // keep its state and then put the picture back.
    case BM_SETSTATE:
    case BM_SETCHECK:
    case BM_SETSTYLE:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case WM_UPDATEUISTATE:
      result = Default();
      Invalidate(FALSE);
      return true;
    default:
      return false;
  }
}

LRESULT CPngButton::OnNcHitTest(POINT screenPoint) {
  const RECT window = GetWindowRect();
  ApplyChange(m_state.OnHitTest(IsWindowEnabled() != FALSE, ::PtInRect(&window, screenPoint) != FALSE));
  return Default();
}

void CPngButton::OnLButtonDown(UINT, POINT point) {
  const RECT client = GetClientRect();
  ApplyChange(m_state.OnButtonDown(IsWindowEnabled() != FALSE, ::PtInRect(&client, point) != FALSE));
  Default();
}

void CPngButton::OnLButtonUp(UINT, POINT point) {
  const RECT client = GetClientRect();
  ApplyChange(m_state.OnButtonUp(IsWindowEnabled() != FALSE, ::PtInRect(&client, point) != FALSE));
  Default();
}

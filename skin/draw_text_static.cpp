#include "skin/draw_text_static.h"

#include <gdiplus.h>

#include "framework/buffered_paint.h"
#include "framework/paint_dc.h"
#include "framework/select_object.h"
#include "skin/back_slice.h"
#include "skin/parent_font.h"
#include "skin/text_alignment.h"
#include "skin/window_text_message.h"

void CDrawTextStatic::InitFont() { m_font = CopyParentFont(m_hWnd, m_nFontEnlarge); }

BOOL CDrawTextStatic::IsPointInside(int x, int y) const {
  const RECT window = GetWindowRect();
  return ::PtInRect(&window, POINT{x, y});
}

void CDrawTextStatic::DrawContent(HDC hdc) {
  if (!m_backBrush) m_backBrush.Reset(::CreateSolidBrush(m_crBack));
  ::FillRect(hdc, &m_rcClient, m_backBrush.Get());
  ::SetBkMode(hdc, TRANSPARENT);
  if (m_pBackImage) {
    Gdiplus::Graphics graphics(hdc);
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
    DrawBackSlice(graphics, m_pBackImage, m_rcClient, m_rcBackSource);
  }
  CSelectObject font(hdc, m_font.Get());
  std::wstring text = GetWindowText();
  ::SetTextColor(hdc, m_nHighlight == 1 ? m_crHighlight : m_crNormal);
  const std::optional<unsigned> flags = DrawTextStaticFlags(m_nMode);
  if (flags) ::DrawTextW(hdc, text.c_str(), static_cast<int>(text.size()), &m_rcClient, *flags);
}

void CDrawTextStatic::Paint(HDC hdc) {
  m_rcClient = GetClientRect();
  CBufferedPaint buffer(hdc, m_rcClient);
  if (!buffer) return;
  DrawContent(buffer.Get());
  buffer.Blit();
}

void CDrawTextStatic::OnPaint() {
  CPaintDC dc(m_hWnd);
  Paint(dc.Get());
}

void CDrawTextStatic::OnPrintClient(HDC hdc, UINT) { Paint(hdc); }

bool CDrawTextStatic::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  return HandleWindowTextMessage(m_hWnd, msg, wParam, lParam, result);
}

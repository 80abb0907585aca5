#include "skin/check_box_btn.h"

#include <gdiplus.h>

#include <string>

#include "framework/paint_dc.h"
#include "skin/back_slice.h"
#include "skin/parent_font.h"
#include "skin/png_resource.h"

namespace {

int Trunc(float value) { return static_cast<int>(value); }

// Messages after which the system button has drawn its own face straight onto the screen
// (check mark, pressed look, focus, enabled state, caption); our face must come back.
bool SystemDrawsFaceAfter(UINT msg) {
  switch (msg) {
    case BM_SETCHECK:
    case BM_SETSTATE:
    case BM_CLICK:
    case WM_LBUTTONUP:
    case WM_KEYUP:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case WM_UPDATEUISTATE:
      return true;
    default:
      return false;
  }
}

}  // namespace

CCheckBoxBtn::CCheckBoxBtn() noexcept : m_backBrush(::CreateSolidBrush(kBackColor)) {}

void CCheckBoxBtn::InitFont() { m_font = CopyParentFont(m_hWnd); }

void CCheckBoxBtn::DrawContent(HDC hdc) {
  const float s = m_fScale;
  Gdiplus::Graphics graphics(hdc);
  if (m_pBackImage) {
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
    DrawBackSlice(graphics, m_pBackImage, m_rcClient, m_rcBackSource);
  }
  if (!m_glyph && !LoadPngResource(kGlyphPictureId, m_glyph)) return;

  const int glyphSize = Trunc(s * 16);
  const int glyphTop = (m_rcClient.bottom - m_rcClient.top) / 2 - Trunc(s * 8);
  // Only a plain tick shows the ticked frame; indeterminate shows the empty box.
  const int frameX = SendMessage(BM_GETCHECK) == BST_CHECKED ? 16 : 0;
  graphics.DrawImage(m_glyph.Get(), Gdiplus::Rect(m_rcClient.left, glyphTop, glyphSize, glyphSize), frameX, 0, 16, 16,
                     Gdiplus::UnitPixel);
  // The caption is GDI text on the same context: let GDI+ finish first.
  graphics.Flush(Gdiplus::FlushIntentionSync);

  m_hOldFont = ::SelectObject(hdc, m_font.Get());
  const std::wstring caption = GetWindowText();
  ::SetTextColor(hdc, m_crText);
  m_rcClient.left += glyphSize + 2;
  ::DrawTextW(hdc, caption.c_str(), static_cast<int>(caption.size()), &m_rcClient, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
}

void CCheckBoxBtn::Paint(HDC target) {
  m_rcClient = GetClientRect();
  if (!m_memBitmap) {
    m_memDC = CMemoryDC(target);
    m_memBitmap.Reset(::CreateCompatibleBitmap(target, m_rcClient.right - m_rcClient.left,
                                               m_rcClient.bottom - m_rcClient.top));
  }
  if (!m_memDC || !m_memBitmap) return;
  m_hOldBitmap = ::SelectObject(m_memDC.Get(), m_memBitmap.Get());
  ::FillRect(m_memDC.Get(), &m_rcClient, m_backBrush.Get());
  ::SetBkMode(m_memDC.Get(), TRANSPARENT);
  m_hOldFont = nullptr;
  DrawContent(m_memDC.Get());
  const RECT full = GetClientRect();
  ::BitBlt(target, 0, 0, full.right, full.bottom, m_memDC.Get(), 0, 0, SRCCOPY);
  if (m_hOldFont) ::SelectObject(m_memDC.Get(), m_hOldFont);
  ::SelectObject(m_memDC.Get(), m_hOldBitmap);
}

void CCheckBoxBtn::OnPaint() {
  CPaintDC dc(m_hWnd);
  Paint(dc.Get());
}

void CCheckBoxBtn::OnPrintClient(HDC hdc, UINT) { Paint(hdc); }

void CCheckBoxBtn::OnMButtonDown(UINT, POINT) {
  Invalidate(TRUE);
  Default();
}

bool CCheckBoxBtn::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (!SystemDrawsFaceAfter(msg)) return CButton::OnMessage(msg, wParam, lParam, result);
  result = Default();
  if (m_hWnd) Invalidate(TRUE);
  return true;
}

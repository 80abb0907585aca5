#pragma once
// A static that draws its window text itself, double-buffered, over a flat colour (or a slice
// of a picture it does not own), with one of a few alignment modes.
#include "framework/gdi_object.h"
#include "framework/static.h"

namespace Gdiplus {
class Image;
}

class CDrawTextStatic : public CStatic {
 public:
  CDrawTextStatic() noexcept = default;

  void InitFont();
  void SetAlignment(int mode) { m_nMode = mode; }
  // Takes effect only before the first paint: the brush is made then and kept.
  void SetBackColor(COLORREF color) { m_crBack = color; }
  void SetForeColors(COLORREF normal, COLORREF highlight) {
    m_crNormal = normal;
    m_crHighlight = highlight;
  }
  void SetHighlight(int highlight) { m_nHighlight = highlight; }
  void SetBackImage(Gdiplus::Image* image, const RECT& source) {
    m_pBackImage = image;
    m_rcBackSource = source;
  }
  // Screen coordinates.
  BOOL IsPointInside(int x, int y) const;

  void Paint(HDC hdc);

 protected:
  void DrawContent(HDC hdc);
  bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void OnPaint() override;
  void OnPrintClient(HDC hdc, UINT flags) override;

  CBrush m_backBrush;
  RECT m_rcClient{};
  CFont m_font;
  COLORREF m_crNormal = RGB(0, 0, 0);
  COLORREF m_crHighlight = RGB(0, 0, 255);
  COLORREF m_crBack = RGB(255, 255, 255);
  int m_nHighlight = 0;
  int m_nMode = 0;
  Gdiplus::Image* m_pBackImage = nullptr;
  RECT m_rcBackSource{};
  int m_nFontEnlarge = 0;
};

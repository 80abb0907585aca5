#pragma once
// The start page's agree box: a standard auto check box (the system still toggles it and
// sends the click command) with a face of its own: a light band, a glyph from picture 143
// and the caption beside it, all scaled by the owner's DPI factor.
#include "framework/button.h"
#include "framework/gdi_object.h"
#include "framework/memory_dc.h"
#include "skin/png_image.h"

namespace Gdiplus {
class Image;
}

class CCheckBoxBtn : public CButton {
 public:
  CCheckBoxBtn() noexcept;

  // A copy of the parent's font (else the default GUI font, else the variable-pitch one).
  void InitFont();
  // Not owned; drawn under the glyph from `source` (left, top, right, bottom).
  void SetBackImage(Gdiplus::Image* image, const RECT& source) {
    m_pBackImage = image;
    m_rcBackSource = source;
  }

  void Paint(HDC target);

  float m_fScale = 1.0f;

  static constexpr UINT kGlyphPictureId = 143;
  static constexpr COLORREF kBackColor = RGB(241, 242, 246);

 protected:
  void DrawContent(HDC hdc);
  bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void OnPaint() override;
  void OnPrintClient(HDC hdc, UINT flags) override;
  void OnMButtonDown(UINT flags, POINT point) override;

  CPngImage m_glyph;
  CMemoryDC m_memDC;
  // Made at the first paint with the size of that moment and kept for the control's life.
  CBitmap m_memBitmap;
  HGDIOBJ m_hOldBitmap = nullptr;
  CBrush m_backBrush;
  RECT m_rcClient{};
  CFont m_font;
  HGDIOBJ m_hOldFont = nullptr;
  COLORREF m_crText = RGB(0, 0, 0);
  Gdiplus::Image* m_pBackImage = nullptr;
  RECT m_rcBackSource{};
};

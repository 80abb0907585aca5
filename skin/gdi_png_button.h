#pragma once
// An owner-drawn push button: a base picture plus a pressed or hover overlay (or a disabled
// look alone). It keeps a copy of what lies under it, captured once, so that pictures with
// soft alpha edges are drawn over the same pixels every time instead of piling up.
#include <optional>

#include "framework/button.h"
#include "framework/gdi_object.h"
#include "framework/memory_dc.h"
#include "framework/select_object.h"
#include "skin/png_image.h"

class CGDIPngButton : public CButton {
 public:
  CGDIPngButton() noexcept = default;

  void SetImages(UINT normalId, UINT pressedId, UINT hoverId, UINT disabledId);
  BOOL SetDisabledLook(BOOL disabledLook);
  void ReleaseImages();

  bool IsHovered() const { return m_bHover; }
  bool HasCapturedBackground() const { return m_background.has_value(); }

 protected:
  void PreSubclassWindow() override;
  void DrawItem(const DRAWITEMSTRUCT* dis) override;
  BOOL OnEraseBkgnd(HDC hdc) override;
  void OnMouseMove(UINT flags, POINT point) override;
  void OnMouseHover(UINT flags, POINT point) override;
  void OnMouseLeave() override;

  void DrawPicture(HDC hdc, const RECT& client, const CPngImage& image) const;
  bool RenderParentBackground(HDC target, int width, int height) const;

  struct CapturedBackground {
    CBitmap bitmap;
    CMemoryDC dc;
    std::optional<CSelectObject> selection;  // undone first, then the context, then the bitmap
  };

  bool m_bHover = false;
  bool m_bFirstDrawPending = true;
  bool m_bTracking = false;
  bool m_bReleased = false;
  std::optional<CapturedBackground> m_background;
  bool m_bBackgroundCaptured = true;
  bool m_bDisabledLook = false;
  CPngImage m_images[4];  // normal, pressed, hover, disabled
};

#pragma once
// A push button painted from four pictures (normal, hover, pressed, disabled) in its own
// paint handler; its state follows hit tests, clicks and the owner's ResetState calls.
#include "framework/button.h"
#include "framework/gdi_object.h"
#include "framework/memory_dc.h"
#include "skin/png_button_state.h"
#include "skin/png_image.h"

class CPngButton : public CButton {
 public:
  CPngButton() noexcept;

  void SetImages(UINT normalId, UINT hoverId, UINT pressedId, UINT disabledId);
  void SetStretch(BOOL stretch) { m_bStretch = stretch; }
  // The owner's periodic check with the cursor position (screen coordinates).
  void ResetState(int x, int y);
  void ReleaseImages();

  EPngButtonState GetPngState() const { return m_state.State(); }

 protected:
  void Paint(HDC hdc);
  void DrawStatePicture(HDC hdc) const;
  void ApplyChange(bool changed);

  bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void OnPaint() override;
  void OnPrintClient(HDC hdc, UINT flags) override;
  LRESULT OnNcHitTest(POINT screenPoint) override;
  void OnLButtonDown(UINT flags, POINT point) override;
  void OnLButtonUp(UINT flags, POINT point) override;

  CPngImage m_images[4];  // normal, hover, pressed, disabled
  CMemoryDC m_memoryDC;
  CBitmap m_memoryBitmap;
  SIZE m_memorySize{};
  CBrush m_backgroundBrush;
  RECT m_rcClient{};
  CPngButtonState m_state;
  BOOL m_bStretch = FALSE;
};

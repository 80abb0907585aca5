#pragma once
// The inner dialog of a pair: an opaque owned popup over the outer's frame panel, painting
// its background picture, draggable by a strip along its top (which pulls the outer along).
#include "framework/dialog.h"
#include "popups/layered_pair_geometry.h"
#include "skin/png_image.h"

class CLayeredInnerDlg : public CDialog {
 public:
  // `backgroundId` 0: no background picture.
  CLayeredInnerDlg(UINT templateId, const LayeredPairLayout& layout, UINT backgroundId,
                   BOOL initialDragging = FALSE) noexcept;

  // Places the controls once the outer has moved and shown the dialog.
  virtual void LayoutControls() {}

  float m_fScale = 1.0f;
  BOOL m_bDragging;
  CPngImage m_pBackground;

 protected:
  // The background, loaded on first need; draws nothing when the picture is missing.
  virtual void DrawBackground(HDC hdc, const RECT& client);
  // Loads the pictures the background needs; false when one is missing.
  virtual bool LoadBackgroundPictures();

  BOOL OnEraseBkgnd(HDC hdc) override;
  void OnPrintClient(HDC hdc, UINT flags) override;
  LRESULT OnNcHitTest(POINT screenPoint) override;
  void OnMove(int x, int y) override;
  void OnDestroy() override;

  CLayeredPairGeometry Geometry() const { return CLayeredPairGeometry(m_layout, m_fScale); }

  LayeredPairLayout m_layout;
  UINT m_nBackgroundId;
};

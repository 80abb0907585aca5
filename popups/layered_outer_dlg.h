#pragma once
// The outer window of a pair: a borderless layered dialog that shows nothing but its frame
// picture (with per-pixel alpha), creates the inner dialog over the frame's opaque panel,
// carries it along when moved and is carried along when the inner is dragged.
#include <memory>

#include "framework/dialog.h"
#include "popups/layered_inner_dlg.h"
#include "popups/layered_pair_geometry.h"
#include "skin/png_image.h"

class CLayeredOuterDlg : public CDialog {
 public:
  CLayeredOuterDlg(UINT templateId, const LayeredPairLayout& layout, float scale, CWnd* pParent = nullptr) noexcept;
  ~CLayeredOuterDlg() override;

  // Called by the inner dialog while the user drags it (inner window rectangle, screen
  // coordinates). From then on the outer no longer carries the inner: the inner leads.
  LRESULT MoveAroundInner(int left, int top, int right, int bottom);

  CLayeredPairGeometry Geometry() const { return CLayeredPairGeometry(m_layout, m_fScale); }
  CLayeredInnerDlg* InnerDlg() const { return m_pInnerDlg.get(); }

  CPngImage m_pFrameImage;
  float m_fScale;
  BOOL m_bFollowInner = TRUE;
  std::unique_ptr<CLayeredInnerDlg> m_pInnerDlg;

 protected:
  // Frame first; without a frame picture there is no inner dialog either. Always TRUE.
  BOOL OnInitDialog() override;
  bool DrawLayeredFrame();
  // The inner dialog object, not yet created; the pair hands over its inputs here.
  virtual std::unique_ptr<CLayeredInnerDlg> NewInnerDlg() = 0;
  // Where the outer stands for placing the inner: its window rectangle after the frame,
  // or the screen-centred rectangle for the pairs placed by their own code.
  virtual PairRect OuterRectForInner() const;
  bool CreateInnerDlg();

  bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void RaiseInner();
  void OnMove(int x, int y) override;
  void OnDestroy() override;

  LayeredPairLayout m_layout;
  // High-quality smoothing on the frame's graphics (only the progress popup asks for it).
  bool m_bSmoothFrame = false;
};

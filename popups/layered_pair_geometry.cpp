#include "popups/layered_pair_geometry.h"

namespace {

constexpr PairEdges Edges(int left, int top, int right, int bottom) {
  return {{left}, {top}, {right}, {bottom}};
}

const LayeredPairLayout kProgress{148, {232, 132}, false, Edges(14, 12, 28, 28), Edges(14, 12, 14, 16),
                                  std::nullopt, std::nullopt};
const LayeredPairLayout kPrompt{154, {336, 156}, false, Edges(5, 3, 10, 10), Edges(5, 3, 5, 7),
                                Edges(5, 3, 5, 7), PairDragStrip{30, 26}};
const LayeredPairLayout kStartPage{131, {610, 461}, true, Edges(5, 4, 10, 11), std::nullopt,
                                   Edges(5, 4, 5, 7), PairDragStrip{50, 86}};
const LayeredPairLayout kAgreement{185,
                                   {504, 322},
                                   false,
                                   {{1, false}, {1, false}, {2, false}, {18}},
                                   PairEdges{{1, false}, {1, false}, {2, false}, {18}},
                                   std::nullopt,
                                   std::nullopt};
const LayeredPairLayout kFeedback{171, {410, 479}, false, Edges(5, 4, 10, 11), Edges(5, 3, 5, 7),
                                  Edges(5, 4, 5, 7), PairDragStrip{30, 26}};
const LayeredPairLayout kMainWindow{141, {410, 611}, true, Edges(5, 4, 10, 11), Edges(5, 4, 5, 7),
                                    Edges(5, 4, 5, 7), PairDragStrip{50, 86}};

}  // namespace

const LayeredPairLayout& LayoutOf(ELayeredPair pair) {
  switch (pair) {
    case ELayeredPair::Progress: return kProgress;
    case ELayeredPair::Prompt: return kPrompt;
    case ELayeredPair::StartPage: return kStartPage;
    case ELayeredPair::Agreement: return kAgreement;
    case ELayeredPair::Feedback: return kFeedback;
    case ELayeredPair::MainWindow: return kMainWindow;
  }
  return kPrompt;
}

// The factor is a float, but sums and products are formed in double precision: x86 builds
// evaluate in extended precision anyway, and doing so everywhere gives every build the same
// pixel (trunc(732 - 10 * 1.2f) is 719, not the 720 of a single-precision sum).
int CLayeredPairGeometry::Scaled(int amount) const { return static_cast<int>(double{m_fScale} * amount); }

int CLayeredPairGeometry::ScaledSum(int base, int amount) const {
  return static_cast<int>(base + double{m_fScale} * amount);
}

PairSize CLayeredPairGeometry::FrameSize() const {
  return {Scaled(m_layout.design.cx), Scaled(m_layout.design.cy)};
}

PairRect CLayeredPairGeometry::ScreenCentred(int screenWidth, int screenHeight) const {
  const double width = double{m_fScale} * m_layout.design.cx;
  const double height = double{m_fScale} * m_layout.design.cy;
  PairRect rect;
  rect.left = screenWidth / 2 - static_cast<int>(width / 2);
  rect.top = screenHeight / 2 - static_cast<int>(height / 2);
  rect.right = static_cast<int>(rect.left + width);
  rect.bottom = static_cast<int>(rect.top + height);
  return rect;
}

PairRect CLayeredPairGeometry::InnerCreation(const PairRect& outer) const {
  // The creation rectangle truncates the whole sum: trunc(L + 5s), trunc(W - 10s).
  auto inset = [this](int base, PairOffset offset, int sign) {
    return offset.scaled ? ScaledSum(base, sign * offset.amount) : base + sign * offset.amount;
  };
  const PairEdges& e = m_layout.creation;
  const int x = inset(outer.left, e.left, 1);
  const int y = inset(outer.top, e.top, 1);
  const int width = inset(outer.Width(), e.right, -1);
  const int height = inset(outer.Height(), e.bottom, -1);
  return {x, y, x + width, y + height};
}

std::optional<PairRect> CLayeredPairGeometry::InnerFollow(const PairRect& outer) const {
  if (!m_layout.follow) return std::nullopt;
  // Follow and drag rectangles truncate only the product: L + trunc(5s).
  auto offset = [this](PairOffset o) { return o.scaled ? Scaled(o.amount) : o.amount; };
  const PairEdges& e = *m_layout.follow;
  return PairRect{outer.left + offset(e.left), outer.top + offset(e.top), outer.right - offset(e.right),
                  outer.bottom - offset(e.bottom)};
}

std::optional<PairRect> CLayeredPairGeometry::OuterAroundDragged(const PairRect& inner) const {
  if (!m_layout.drag) return std::nullopt;
  auto offset = [this](PairOffset o) { return o.scaled ? Scaled(o.amount) : o.amount; };
  const PairEdges& e = *m_layout.drag;
  return PairRect{inner.left - offset(e.left), inner.top - offset(e.top), inner.right + offset(e.right),
                  inner.bottom + offset(e.bottom)};
}

std::optional<PairRect> CLayeredPairGeometry::DragStrip(const PairRect& innerClient) const {
  if (!m_layout.dragStrip) return std::nullopt;
  return PairRect{innerClient.left, innerClient.top, innerClient.right - m_layout.dragStrip->rightMargin,
                  innerClient.top + m_layout.dragStrip->height};
}

bool CLayeredPairGeometry::IsDragPoint(const PairRect& innerClient, int x, int y) const {
  const std::optional<PairRect> strip = DragStrip(innerClient);
  // Half-open like PtInRect: the right and bottom edges are outside.
  return strip && x >= strip->left && x < strip->right && y >= strip->top && y < strip->bottom;
}

#pragma once
// Window-free arithmetic of the outer-frame / inner-dialog pairs: frame size, screen-centred
// rectangle, where the inner dialog is created, where it follows the outer, where the outer
// goes when the inner is dragged, and the inner's drag strip. The factor is single precision;
// scaled values are formed from it in double precision and truncated toward zero.
#include <optional>

enum class ELayeredPair { Progress, Prompt, StartPage, Agreement, Feedback, MainWindow };

struct PairRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const PairRect&) const = default;
};

struct PairSize {
  int cx = 0, cy = 0;
  bool operator==(const PairSize&) const = default;
};

// One offset along an edge: scaled by the window's factor, or a fixed pixel count.
struct PairOffset {
  int amount = 0;
  bool scaled = true;
};

struct PairEdges {
  PairOffset left, top, right, bottom;
};

struct PairDragStrip {
  int height = 0;       // pixels below the inner's top edge, unscaled
  int rightMargin = 0;  // pixels at the right end that are not part of the strip, unscaled
};

struct LayeredPairLayout {
  int frameImageId = 0;
  PairSize design;                  // frame size at scale 1
  bool innerFromCentredRect = false;  // inner placed from the screen-centred rectangle
  PairEdges creation;               // inset of the inner in (x, y, width, height) terms
  std::optional<PairEdges> follow;  // inset of the inner when the outer moved
  std::optional<PairEdges> drag;    // outset of the outer around a dragged inner
  std::optional<PairDragStrip> dragStrip;
};

const LayeredPairLayout& LayoutOf(ELayeredPair pair);

class CLayeredPairGeometry {
 public:
  CLayeredPairGeometry(const LayeredPairLayout& layout, float scale) : m_layout(layout), m_fScale(scale) {}
  CLayeredPairGeometry(ELayeredPair pair, float scale) : CLayeredPairGeometry(LayoutOf(pair), scale) {}

  const LayeredPairLayout& Layout() const { return m_layout; }
  float Scale() const { return m_fScale; }

  PairSize FrameSize() const;
  PairRect ScreenCentred(int screenWidth, int screenHeight) const;
  // The inner's rectangle (as left, top, right, bottom) when it is created over `outer`.
  PairRect InnerCreation(const PairRect& outer) const;
  std::optional<PairRect> InnerFollow(const PairRect& outer) const;
  std::optional<PairRect> OuterAroundDragged(const PairRect& inner) const;
  // The drag strip of an inner whose client area covers `innerClient` (screen coordinates).
  std::optional<PairRect> DragStrip(const PairRect& innerClient) const;
  bool IsDragPoint(const PairRect& innerClient, int x, int y) const;

 private:
  int Scaled(int amount) const;
  int ScaledSum(int base, int amount) const;

  LayeredPairLayout m_layout;
  float m_fScale;
};

#include "app/operations_layout.h"

namespace {

constexpr int kDesignWidth = 400;
constexpr int kDesignHeight = 600;

int Trunc(float value) { return static_cast<int>(value); }

LayoutRect At(int left, int top, int width, int height) { return {left, top, left + width, top + height}; }

}  // namespace

OperationsLayout LayOutOperations(const LayoutRect& c, float s) {
  OperationsLayout layout;
  const int width = c.right - c.left;
  const int height = c.bottom - c.top;
  layout.close = At(Trunc(c.right - 31.2f), c.top, 26, 34);
  layout.minimise = At(Trunc(c.right - 59.8f), c.top, 26, 34);
  if (width <= kDesignWidth) {
    layout.start = At(c.left + width / 2 - 129, c.top + height / 2 - 80, 259, 85);
    layout.moreTools = At(c.left + width / 2 - 150, c.top + height / 2 + 240, 58, 18);
  } else {
    layout.start = At(c.left + Trunc(kDesignWidth * s / 2 - 259 * s / 2), c.top + Trunc(kDesignHeight * s / 2 - 80 * s),
                      Trunc(259 * s), Trunc(85 * s));
    layout.moreTools = At(c.left + Trunc(kDesignWidth * s / 2 - 150 * s),
                          c.top + Trunc(kDesignHeight * s / 2 + 240 * s), Trunc(58 * s), Trunc(18 * s));
  }
  layout.labelTop = Trunc(c.bottom - 25 * s);
  layout.labelBottom = Trunc(layout.labelTop + 20 * s);
  return layout;
}

int VersionLabelWidth(int textWidth, float s) { return Trunc(textWidth + 12 * s + 2 + 6); }

int FeedbackLabelWidth(int textWidth, float s) { return Trunc(textWidth + 4 * s + 2 + 6); }

// Placement of the operations window's controls on either side of the 400-pixel rule.
#include <gtest/gtest.h>

#include "app/operations_layout.h"

// Found by the test framework next to the type, so failures show the rectangle.
void PrintTo(const LayoutRect& r, std::ostream* os) {
  *os << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}

TEST(OperationsLayout, StartAndMoreToolsOnBothSidesOfTheDesignWidth) {
  struct Case {
    const char* what;
    LayoutRect client;
    float scale;
    LayoutRect start, moreTools;
  };
  const Case cases[] = {
      // Exactly the design width keeps the design offsets around the centre.
      {"400 x 600 at 1.0", {0, 0, 400, 600}, 1.0f, {71, 220, 330, 305}, {50, 540, 108, 558}},
      {"offset client", {10, 5, 410, 605}, 1.0f, {81, 225, 340, 310}, {60, 545, 118, 563}},
      // One pixel wider takes the scaled formula, which lands one pixel further left.
      {"401 wide at 1.0", {0, 0, 401, 600}, 1.0f, {70, 220, 329, 305}, {50, 540, 108, 558}},
      // The operations window at 144 dpi: trunc(590 - 10 * 1.44) by trunc(879 - 11 * 1.44).
      // In single precision 288 - 216 comes out just below 72, and truncation gives 71.
      {"575 x 863 at 1.44", {0, 0, 575, 863}, 1.44f, {101, 316, 473, 438}, {71, 777, 154, 802}},
  };
  for (const Case& c : cases) {
    const OperationsLayout layout = LayOutOperations(c.client, c.scale);
    EXPECT_EQ(layout.start, c.start) << c.what;
    EXPECT_EQ(layout.moreTools, c.moreTools) << c.what;
  }
}

TEST(OperationsLayout, CornerButtonsAndLabelBand) {
  const OperationsLayout design = LayOutOperations({0, 0, 400, 600}, 1.0f);
  EXPECT_EQ(design.close, (LayoutRect{368, 0, 394, 34}));
  EXPECT_EQ(design.minimise, (LayoutRect{340, 0, 366, 34}));
  EXPECT_EQ(design.labelTop, 575);
  EXPECT_EQ(design.labelBottom, 595);

  const OperationsLayout scaled = LayOutOperations({0, 0, 575, 863}, 1.44f);
  EXPECT_EQ(scaled.close, (LayoutRect{543, 0, 569, 34}));  // the corner buttons are never scaled
  EXPECT_EQ(scaled.labelTop, 827);                          // trunc(863 - 36)
  EXPECT_EQ(scaled.labelBottom, 855);                       // trunc(827 + 28.8)

  EXPECT_EQ(VersionLabelWidth(100, 1.0f), 120);
  EXPECT_EQ(FeedbackLabelWidth(50, 1.44f), 63);
}

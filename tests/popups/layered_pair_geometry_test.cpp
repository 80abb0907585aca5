// Geometry of the outer-frame / inner-dialog pairs at the scales the program meets.
#include "popups/layered_pair_geometry.h"

#include <gtest/gtest.h>

#include <ostream>

#include "popups/dpi_scale.h"

static std::ostream& operator<<(std::ostream& out, const PairRect& r) {
  return out << "(" << r.left << ", " << r.top << ")-(" << r.right << ", " << r.bottom << ") " << r.Width()
             << "x" << r.Height();
}

static PairRect XYWH(int x, int y, int w, int h) { return {x, y, x + w, y + h}; }

TEST(DpiScale, AboveOneHundredDotsPerInchScalesByHundredths) {
  struct Case {
    int dpi;
    float scale;
  } cases[] = {{72, 1.0f}, {96, 1.0f}, {100, 1.0f}, {101, 1.01f}, {120, 1.2f}, {144, 1.44f}, {192, 1.92f}};
  for (const Case& c : cases) EXPECT_FLOAT_EQ(ScaleForLogPixels(c.dpi), c.scale) << c.dpi << " dpi";
  EXPECT_EQ(ScaleForLogPixels(120), 1.2f) << "the factor is the single-precision value";
}

struct GeometryCase {
  const char* name;
  ELayeredPair pair;
  float scale;
  PairRect outer;  // where the outer stands when the inner is created (and when it moved)
  PairSize frame;
  PairRect creation;
  std::optional<PairRect> follow;
  PairRect dragged;  // an inner rectangle the user dragged
  std::optional<PairRect> outerAroundDragged;
};

static void PrintTo(const GeometryCase& c, std::ostream* out) { *out << c.name; }

class LayeredPairGeometryTable : public ::testing::TestWithParam<GeometryCase> {};

TEST_P(LayeredPairGeometryTable, FrameInnerFollowAndDrag) {
  const GeometryCase& c = GetParam();
  CLayeredPairGeometry geometry(c.pair, c.scale);
  EXPECT_EQ(geometry.FrameSize(), c.frame);
  EXPECT_EQ(geometry.InnerCreation(c.outer), c.creation);
  EXPECT_EQ(geometry.InnerFollow(c.outer), c.follow);
  EXPECT_EQ(geometry.OuterAroundDragged(c.dragged), c.outerAroundDragged);
}

// Scale 1.2: 5s = 6, 3s = 3.6, 4s = 4.8, 7s = 8.4, 10s = 12, 11s = 13.2, 14s = 16.8, 16s = 19.2,
// 18s = 21.6. Scale 1.44: 5s = 7.2, 4s = 5.76, 7s = 10.08, 10s = 14.4, 11s = 15.84.
INSTANTIATE_TEST_SUITE_P(
    Pairs, LayeredPairGeometryTable,
    ::testing::Values(
        // Progress: 278x158; inner 244x124 at (x+16, y+14); 246x125 once the outer moved.
        GeometryCase{"ProgressAt1_2", ELayeredPair::Progress, 1.2f, XYWH(100, 200, 278, 158), {278, 158},
                     XYWH(116, 214, 244, 124), XYWH(116, 214, 246, 125), XYWH(0, 0, 10, 10), std::nullopt},
        GeometryCase{"ProgressAtOrigin", ELayeredPair::Progress, 1.2f, XYWH(0, 0, 278, 158), {278, 158},
                     XYWH(16, 14, 244, 124), XYWH(16, 14, 246, 125), XYWH(0, 0, 10, 10), std::nullopt},
        GeometryCase{"PromptAt1", ELayeredPair::Prompt, 1.0f, XYWH(10, 20, 336, 156), {336, 156},
                     XYWH(15, 23, 326, 146), PairRect{15, 23, 341, 169}, PairRect{50, 60, 376, 206},
                     PairRect{45, 57, 381, 213}},
        // trunc(10 + 3.6) = 13; 1.2f is a hair above 1.2, so trunc(403 - 12.0000005) = 390 and
        // trunc(187 - 12.0000005) = 174; follow 10 + 3 = 13, 197 - 8.
        GeometryCase{"PromptAt1_2", ELayeredPair::Prompt, 1.2f, XYWH(10, 10, 403, 187), {403, 187},
                     XYWH(16, 13, 390, 174), PairRect{16, 13, 407, 189}, PairRect{100, 100, 200, 200},
                     PairRect{94, 97, 206, 208}},
        // The creation size truncates the difference, trunc(483 - 14.4) = 468, where the follow
        // rectangle subtracts the truncated product: 484 - trunc(7.2) - 8 = 469 wide.
        GeometryCase{"PromptAt1_44", ELayeredPair::Prompt, 1.44f, XYWH(1, 1, 483, 224), {483, 224},
                     XYWH(8, 5, 468, 209), PairRect{8, 5, 477, 215}, PairRect{10, 10, 20, 20},
                     PairRect{3, 6, 27, 30}},
        GeometryCase{"FeedbackAt1", ELayeredPair::Feedback, 1.0f, XYWH(0, 0, 410, 479), {410, 479},
                     XYWH(5, 4, 400, 468), PairRect{5, 3, 405, 472}, PairRect{5, 4, 405, 472},
                     PairRect{0, 0, 410, 479}},
        GeometryCase{"FeedbackAt1_2", ELayeredPair::Feedback, 1.2f, XYWH(3, 3, 492, 574), {492, 574},
                     XYWH(9, 7, 479, 560), PairRect{9, 6, 489, 569}, PairRect{9, 7, 489, 567},
                     PairRect{3, 3, 495, 575}},
        GeometryCase{"FeedbackAt1_44", ELayeredPair::Feedback, 1.44f, XYWH(0, 0, 590, 689), {590, 689},
                     XYWH(7, 5, 575, 673), PairRect{7, 4, 583, 679}, PairRect{7, 5, 582, 678},
                     PairRect{0, 0, 589, 688}},
        GeometryCase{"StartPageAt1", ELayeredPair::StartPage, 1.0f, XYWH(495, 269, 610, 461), {610, 461},
                     XYWH(500, 273, 600, 450), std::nullopt, XYWH(500, 273, 600, 450),
                     PairRect{495, 269, 1105, 730}},
        // The start page's own example: a 719 x 539 client at 1.2.
        GeometryCase{"StartPageAt1_2", ELayeredPair::StartPage, 1.2f, XYWH(434, 224, 732, 553), {732, 553},
                     XYWH(440, 228, 719, 539), std::nullopt, XYWH(440, 228, 720, 539),
                     PairRect{434, 224, 1166, 775}},
        GeometryCase{"MainWindowAt1", ELayeredPair::MainWindow, 1.0f, XYWH(0, 0, 410, 611), {410, 611},
                     XYWH(5, 4, 400, 600), PairRect{5, 4, 405, 604}, XYWH(5, 4, 400, 600),
                     PairRect{0, 0, 410, 611}},
        GeometryCase{"MainWindowAt1_44", ELayeredPair::MainWindow, 1.44f, XYWH(0, 0, 590, 879), {590, 879},
                     XYWH(7, 5, 575, 863), PairRect{7, 5, 583, 869}, XYWH(7, 5, 575, 863),
                     PairRect{0, 0, 589, 878}},
        // Agreement text: fixed one-pixel insets, only the callout tail scales.
        GeometryCase{"AgreementAt1_2", ELayeredPair::Agreement, 1.2f, XYWH(50, 60, 604, 386), {604, 386},
                     XYWH(51, 61, 602, 364), PairRect{51, 61, 652, 425}, XYWH(0, 0, 1, 1), std::nullopt}),
    [](const ::testing::TestParamInfo<GeometryCase>& param) { return std::string(param.param.name); });

TEST(LayeredPairGeometry, ScreenCentredRectangle) {
  struct Case {
    ELayeredPair pair;
    float scale;
    PairRect centred;
  } cases[] = {
      {ELayeredPair::MainWindow, 1.0f, PairRect{595, 195, 1005, 806}},
      // 410 * 1.44 = 590.4, 611 * 1.44 = 879.84: halves 295.2 and 439.92.
      {ELayeredPair::MainWindow, 1.44f, PairRect{505, 61, 1095, 940}},
      {ELayeredPair::StartPage, 1.0f, PairRect{495, 270, 1105, 731}},
      {ELayeredPair::StartPage, 1.2f, PairRect{434, 224, 1166, 777}},
      {ELayeredPair::Prompt, 1.2f, PairRect{599, 407, 1002, 594}},
  };
  for (const Case& c : cases) {
    CLayeredPairGeometry geometry(c.pair, c.scale);
    EXPECT_EQ(geometry.ScreenCentred(1600, 1000), c.centred) << "scale " << c.scale;
  }
}

TEST(LayeredPairGeometry, NegativePositionsTruncateTowardZero) {
  // trunc(-20 + 16.8) = -3 (not -4), while the follow rectangle adds trunc(16.8) = 16.
  CLayeredPairGeometry progress(ELayeredPair::Progress, 1.2f);
  EXPECT_EQ(progress.InnerCreation(XYWH(-20, -30, 278, 158)), XYWH(-3, -15, 244, 124));
  EXPECT_EQ(progress.InnerFollow(XYWH(-20, -30, 278, 158)), (PairRect{-4, -16, 242, 109}));
}

TEST(LayeredPairGeometry, DragStripLeavesOutTheRightMarginAndEndsBelowTheTop) {
  struct Case {
    ELayeredPair pair;
    int x, y;
    bool drag;
  } cases[] = {
      // Prompt inner client 326 x 146 at (15, 23): strip (15, 23)-(315, 53).
      {ELayeredPair::Prompt, 15, 23, true},      {ELayeredPair::Prompt, 314, 52, true},
      {ELayeredPair::Prompt, 315, 30, false},    // the close button's 26 pixels
      {ELayeredPair::Prompt, 340, 30, false},    {ELayeredPair::Prompt, 100, 53, false},
      {ELayeredPair::Prompt, 14, 30, false},     {ELayeredPair::Feedback, 314, 52, true},
      {ELayeredPair::StartPage, 254, 72, true},  // 50 high, 86 margin: (15, 23)-(255, 73)
      {ELayeredPair::StartPage, 255, 30, false}, {ELayeredPair::MainWindow, 100, 73, false},
      {ELayeredPair::Progress, 100, 30, false},  // no strip: default hit testing
      {ELayeredPair::Agreement, 100, 30, false},
  };
  const PairRect client = XYWH(15, 23, 326, 146);
  for (const Case& c : cases) {
    // The strip is in unscaled pixels whatever the factor.
    for (float scale : {1.0f, 1.44f}) {
      CLayeredPairGeometry geometry(c.pair, scale);
      EXPECT_EQ(geometry.IsDragPoint(client, c.x, c.y), c.drag)
          << "pair " << static_cast<int>(c.pair) << " point (" << c.x << ", " << c.y << ")";
    }
  }
}

TEST(LayeredPairGeometry, FramePicturesAndDesignSizes) {
  struct Case {
    ELayeredPair pair;
    int image;
    PairSize design;
  } cases[] = {
      {ELayeredPair::Progress, 148, {232, 132}},  {ELayeredPair::Prompt, 154, {336, 156}},
      {ELayeredPair::StartPage, 131, {610, 461}}, {ELayeredPair::Agreement, 185, {504, 322}},
      {ELayeredPair::Feedback, 171, {410, 479}},  {ELayeredPair::MainWindow, 141, {410, 611}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LayoutOf(c.pair).frameImageId, c.image);
    EXPECT_EQ(LayoutOf(c.pair).design, c.design);
  }
}

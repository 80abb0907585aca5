// The agree box on real pixels: where the glyph and the caption land at two scales, which
// frame each check state shows, and that every change of state brings the face back.
#include <gtest/gtest.h>

#include <windows.h>
#include <gdiplus.h>

#include <string>

#include "framework/dialog.h"
#include "framework/gdi_object.h"
#include "res/resource.h"
#include "skin/check_box_btn.h"
#include "skin/png_resource.h"
#include "start_page_support.h"

namespace {

constexpr COLORREF kBack = CCheckBoxBtn::kBackColor;

class CBoxHost : public CDialog {
 public:
  CBoxHost() : CDialog(IDD_START_INNER) {}
  CCheckBoxBtn m_chk;

 protected:
  void DoDataExchange() override { BindControl(IDC_START_AGREE, m_chk); }
};

struct Extent {
  int left = INT_MAX, top = INT_MAX, right = -1, bottom = -1;  // inclusive
  void Add(int x, int y) {
    left = std::min(left, x);
    top = std::min(top, y);
    right = std::max(right, x);
    bottom = std::max(bottom, y);
  }
};

// Pixels that are not the background, in columns [fromX, toX).
Extent InkBetween(const Pixels& p, int fromX, int toX) {
  Extent e;
  for (int y = 0; y < p.height; ++y)
    for (int x = fromX; x < std::min(toX, p.width); ++x)
      if (!ColoursClose(p.At(x, y), kBack, 6)) e.Add(x, y);
  return e;
}

bool SameArea(const Pixels& a, const Pixels& b, int width, int height) {
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (!ColoursClose(a.At(x, y), b.At(x, y), 2)) return false;
  return true;
}

class CheckBoxBtnTest : public ::testing::Test {
 protected:
  void Open(float scale, int width, int height) {
    ASSERT_TRUE(m_host.Create(static_cast<CWnd*>(nullptr)));
    m_host.MoveWindow(120, 120, 400, 200);
    m_host.m_chk.m_fScale = scale;
    m_host.m_chk.InitFont();
    m_host.m_chk.MoveWindow(0, 0, width, height);
    m_host.ShowWindow(SW_SHOWNOACTIVATE);
    PumpFor(50);
  }
  void TearDown() override {
    if (m_host.IsWindow()) m_host.DestroyWindow();
  }
  CBoxHost m_host;
};

}  // namespace

struct GlyphCase {
  const char* name;
  float scale;
  int height;
  int glyphTop, glyphSize, captionLeft;
};

class CheckBoxBtnLayout : public CheckBoxBtnTest, public ::testing::WithParamInterface<GlyphCase> {};

TEST_P(CheckBoxBtnLayout, GlyphLeftAndCentredCaptionBesideIt) {
  const GlyphCase c = GetParam();
  Open(c.scale, 120, c.height);
  CPngImage glyphPicture;
  ASSERT_TRUE(LoadPngResource(CCheckBoxBtn::kGlyphPictureId, glyphPicture));
  for (int check : {BST_UNCHECKED, BST_CHECKED}) {
    m_host.m_chk.SetCheck(check);
    const Pixels p = PrintClient(m_host.m_chk.m_hWnd);
    ASSERT_EQ(p.height, c.height);
    // The frame of picture 143 drawn exactly where it belongs, and nothing else left of the caption.
    const Pixels expected = Render(120, c.height, [&](HDC hdc) {
      CBrush brush(::CreateSolidBrush(kBack));
      RECT all{0, 0, 120, c.height};
      ::FillRect(hdc, &all, brush.Get());
      Gdiplus::Graphics graphics(hdc);
      graphics.DrawImage(glyphPicture.Get(), Gdiplus::Rect(0, c.glyphTop, c.glyphSize, c.glyphSize),
                         check == BST_CHECKED ? 16 : 0, 0, 16, 16, Gdiplus::UnitPixel);
    });
    EXPECT_TRUE(SameArea(p, expected, c.captionLeft, c.height)) << "check " << check;
    const Extent caption = InkBetween(p, c.glyphSize, p.width);
    EXPECT_GE(caption.left, c.captionLeft);
    EXPECT_LE(caption.left, c.captionLeft + 3) << "the caption starts right after the gap";
    EXPECT_GT(caption.right, caption.left + 10) << "two characters are drawn";
    const int middle = (caption.top + caption.bottom) / 2;
    EXPECT_NEAR(middle, c.height / 2, 2) << "vertically centred";
  }
}

INSTANTIATE_TEST_SUITE_P(Scales, CheckBoxBtnLayout,
                         ::testing::Values(GlyphCase{"At1_0", 1.0f, 20, 2, 16, 18},
                                           GlyphCase{"At1_5", 1.5f, 30, 3, 24, 26},
                                           GlyphCase{"At1_2", 1.2f, 24, 3, 19, 21}),
                         [](const ::testing::TestParamInfo<GlyphCase>& p) { return std::string(p.param.name); });

TEST_F(CheckBoxBtnTest, OnlyAPlainTickShowsTheTickedFrame) {
  Open(1.0f, 120, 20);
  m_host.m_chk.SetButtonStyle(BS_AUTO3STATE);  // lets the control hold the third state
  m_host.m_chk.SetCheck(BST_UNCHECKED);
  const Pixels empty = PrintClient(m_host.m_chk.m_hWnd);
  m_host.m_chk.SetCheck(BST_CHECKED);
  const Pixels ticked = PrintClient(m_host.m_chk.m_hWnd);
  m_host.m_chk.SetCheck(BST_INDETERMINATE);
  ASSERT_EQ(m_host.m_chk.GetCheck(), BST_INDETERMINATE);
  const Pixels indeterminate = PrintClient(m_host.m_chk.m_hWnd);
  EXPECT_FALSE(SameArea(empty, ticked, 16, 20));
  EXPECT_TRUE(SameArea(indeterminate, empty, 16, 20)) << "the empty box, not the filled square";
}

TEST_F(CheckBoxBtnTest, MiddlePressRepaintsAllWithoutChangingTheState) {
  Open(1.0f, 120, 20);
  m_host.m_chk.SetCheck(BST_CHECKED);
  PumpFor(50);
  ::ValidateRect(m_host.m_chk.m_hWnd, nullptr);
  m_host.m_chk.SendMessage(WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(5, 5));
  RECT update{};
  EXPECT_TRUE(::GetUpdateRect(m_host.m_chk.m_hWnd, &update, FALSE));
  EXPECT_EQ(update.left, 0);
  EXPECT_EQ(update.top, 0);
  EXPECT_EQ(update.right, 120);
  EXPECT_EQ(update.bottom, 20);
  m_host.m_chk.SendMessage(WM_MBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(m_host.m_chk.GetCheck(), BST_CHECKED);
}

TEST_F(CheckBoxBtnTest, ClickTogglesAndTheFaceIsRepaintedOnScreen) {
  Open(1.0f, 120, 20);
  m_host.m_chk.SetCheck(BST_UNCHECKED);
  int clicks = 0;
  m_host.m_chk.SetCheck(BST_UNCHECKED);
  PumpFor(100);
  for (int expected : {BST_CHECKED, BST_UNCHECKED}) {
    ::ValidateRect(m_host.m_chk.m_hWnd, nullptr);
    m_host.m_chk.SendMessage(BM_CLICK);
    ++clicks;
    EXPECT_EQ(m_host.m_chk.GetCheck(), expected) << "click " << clicks;
    RECT update{};
    EXPECT_TRUE(::GetUpdateRect(m_host.m_chk.m_hWnd, &update, FALSE)) << "click " << clicks;
    EXPECT_EQ(update.right, 120);
    EXPECT_EQ(update.bottom, 20);
    m_host.m_chk.UpdateWindow();
    PumpFor(150);  // the window's surface reaches the X screen a little later
    // The screen now shows the control's own face, not the system's check box.
    const Pixels printed = PrintClient(m_host.m_chk.m_hWnd);
    HDC screen = ::GetDC(nullptr);
    RECT onScreen = m_host.m_chk.GetWindowRect();
    int differing = 0;
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 40; ++x)
        if (!ColoursClose(::GetPixel(screen, onScreen.left + x, onScreen.top + y), printed.At(x, y), 8)) ++differing;
    ::ReleaseDC(nullptr, screen);
    EXPECT_EQ(differing, 0) << "click " << clicks;
  }
}

TEST_F(CheckBoxBtnTest, TheMemoryBitmapKeepsItsFirstSize) {
  Open(1.0f, 60, 20);
  m_host.m_chk.UpdateWindow();
  (void)PrintClient(m_host.m_chk.m_hWnd);
  m_host.m_chk.MoveWindow(0, 0, 120, 20);
  const Pixels p = PrintClient(m_host.m_chk.m_hWnd);
  EXPECT_TRUE(ColoursClose(p.At(50, 1), kBack)) << "inside the first size";
  EXPECT_FALSE(ColoursClose(p.At(100, 1), kBack)) << "beyond it nothing of the face";
}

// The picture buttons on real windows: what they paint in each state, read back as pixels.
#include <windows.h>
#include <gdiplus.h>
#include <gtest/gtest.h>

#include "control_host.h"
#include "framework/client_dc.h"
#include "res/resource.h"
#include "skin/gdi_png_button.h"
#include "skin/png_button.h"
#include "skin/png_resource.h"

namespace {

constexpr COLORREF kHostColour = RGB(120, 130, 140);

CPngImage Picture(UINT id) {
  CPngImage image;
  LoadPngResource(id, image);
  return image;
}

POINT ScreenPoint(HWND hWnd, int x, int y) {
  POINT p{x, y};
  ::ClientToScreen(hWnd, &p);
  return p;
}

}  // namespace

class PngButtonWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    m_host.Bind(IDC_PROMPT_OK, m_button);
    ASSERT_TRUE(m_host.Open());
    ASSERT_TRUE(m_button.m_hWnd);
    // Four different faces so that every state can be told apart.
    m_button.SetImages(165, 166, 167, 164);
    m_button.MoveWindow(10, 10, 80, 40);
    m_host.ShowWindow(SW_SHOWNA);
    PumpFor(50);
  }
  void TearDown() override { m_button.ReleaseImages(); }

  // The face of `id` as the button draws it: own size or stretched, source one pixel short.
  Pixels Expected(UINT id, bool stretch) {
    CPngImage image = Picture(id);
    const int w = static_cast<int>(image.Width()), h = static_cast<int>(image.Height());
    return Reference(image.Get(), 80, 40, RGB(255, 255, 255), stretch ? 80 : w, stretch ? 40 : h, w - 1, h - 1);
  }
  void ExpectFace(UINT id, bool stretch, const char* what) {
    const Pixels shown = PrintClient(m_button.m_hWnd);
    EXPECT_LT(Mismatch(shown, Expected(id, stretch)), 0.01) << what << ": expected picture " << id;
    for (UINT other : {165u, 166u, 167u, 164u}) {
      if (other == id) continue;
      EXPECT_GT(Mismatch(shown, Expected(other, stretch)), 0.02) << what << ": looks like " << other;
    }
  }

  CControlHost m_host{IDD_PROMPT_INNER, kHostColour};
  CPngButton m_button;
};

TEST_F(PngButtonWindow, OwnSizeOrStretched) {
  ExpectFace(165, false, "normal at its own size");
  EXPECT_EQ(PrintClient(m_button.m_hWnd).At(70, 35), RGB(255, 255, 255)) << "outside the 55 x 24 picture";
  m_button.SetStretch(TRUE);
  ExpectFace(165, true, "normal stretched");
}

TEST_F(PngButtonWindow, PressReleaseOutsideResetAndDisable) {
  HWND button = m_button.m_hWnd;
  const POINT inside = ScreenPoint(button, 20, 10);
  const POINT outside = ScreenPoint(button, 200, 100);

  m_button.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(inside.x, inside.y));
  EXPECT_EQ(m_button.GetPngState(), EPngButtonState::Hover);
  ExpectFace(166, false, "hover");

  m_button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 10));
  EXPECT_EQ(m_button.GetPngState(), EPngButtonState::Pressed);
  m_button.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(200, 100));
  m_button.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(outside.x, outside.y));
  EXPECT_EQ(m_button.GetPngState(), EPngButtonState::Pressed) << "released outside: still pressed";
  ExpectFace(167, false, "pressed");

  m_button.ResetState(inside.x, inside.y);
  EXPECT_EQ(m_button.GetPngState(), EPngButtonState::Pressed);
  m_button.ResetState(outside.x, outside.y);
  EXPECT_EQ(m_button.GetPngState(), EPngButtonState::Normal);
  ExpectFace(165, false, "after the owner's reset");

  m_button.EnableWindow(FALSE);
  m_button.ResetState(inside.x, inside.y);
  EXPECT_EQ(m_button.GetPngState(), EPngButtonState::Disabled);
  ExpectFace(164, false, "disabled");
}

TEST_F(PngButtonWindow, ClicksStillReachTheOwner) {
  m_button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 10));
  m_button.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(20, 10));
  m_button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 10));
  m_button.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(200, 100));  // released outside: no click
  EXPECT_EQ(m_host.m_clicks, std::vector<UINT>{IDC_PROMPT_OK});
  EXPECT_EQ(m_button.GetPngState(), EPngButtonState::Pressed);
}

TEST_F(PngButtonWindow, MissingPictureLeavesTheFaceWhite) {
  m_button.ReleaseImages();
  m_button.SetImages(165, 166, 195, 164);  // 195 is a dialog, not a picture
  const Pixels shown = PrintClient(m_button.m_hWnd);
  for (POINT p : {POINT{3, 12}, POINT{27, 12}, POINT{70, 35}}) EXPECT_EQ(shown.At(p.x, p.y), RGB(255, 255, 255));
}

class GdiPngButtonWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    m_host.Bind(IDC_START_RUN, m_button);
    ASSERT_TRUE(m_host.Open());
    m_button.SetImages(137, 138, 139, 140);
    m_button.MoveWindow(20, 20, 260, 69);
    m_host.ShowWindow(SW_SHOWNA);
    m_host.UpdateWindow();
    PumpFor(50);
  }
  void TearDown() override { m_button.ReleaseImages(); }

  void Redraw() {
    m_button.Invalidate(TRUE);
    m_button.UpdateWindow();
  }
  COLORREF OnScreen(int x, int y) {
    CClientDC dc(m_button.m_hWnd);
    return ::GetPixel(dc.Get(), x, y);
  }
  // The face colour of the base picture with `overlay` drawn over it on the host colour.
  COLORREF Composite(UINT base, UINT overlay, int x, int y) {
    CPngImage first = Picture(base);
    Pixels pixels = Reference(first.Get(), 260, 69, kHostColour, 260, 69);
    if (overlay == 0) return pixels.At(x, y);
    CPngImage second = Picture(overlay);
    // Opaque faces: the overlay alone decides the colour where it is opaque.
    return Reference(second.Get(), 260, 69, kHostColour, 260, 69).At(x, y);
  }

  CControlHost m_host{IDD_START_INNER, kHostColour};
  CGDIPngButton m_button;
};

TEST_F(GdiPngButtonWindow, OverlaysAndDisabledLook) {
  EXPECT_TRUE(m_button.GetButtonStyle() == BS_OWNERDRAW);
  const int x = 130, y = 8;  // on the face, clear of the caption
  struct Step {
    const char* what;
    bool hover, pressed, disabledLook;
    UINT expected;
  } steps[] = {
      {"normal", false, false, false, 137},
      {"hover overlay", true, false, false, 139},
      {"pressed wins over hover", true, true, false, 138},
      {"pressed", false, true, false, 138},
      {"disabled look, pressed and hovered", true, true, true, 140},
      {"disabled look", false, false, true, 140},
      {"look off again", false, false, false, 137},
  };
  for (const Step& step : steps) {
    if (step.hover) {
      m_button.SendMessage(WM_MOUSEHOVER, 0, MAKELPARAM(x, y));
    } else {
      m_button.SendMessage(WM_MOUSELEAVE);
    }
    EXPECT_EQ(m_button.IsHovered(), step.hover);
    m_button.SendMessage(BM_SETSTATE, step.pressed ? TRUE : FALSE);
    m_button.SetDisabledLook(step.disabledLook);
    Redraw();
    const COLORREF expected = Composite(137, step.expected == 137 ? 0 : step.expected, x, y);
    EXPECT_TRUE(ColoursClose(OnScreen(x, y), expected, 4))
        << step.what << ": " << std::hex << OnScreen(x, y) << " expected " << expected;
  }
}

TEST_F(GdiPngButtonWindow, SoftEdgesStayTheSameOverManyRedraws) {
  // A pixel of the soft shadow under the face: about a third opaque.
  CPngImage normal = Picture(137);
  Gdiplus::Bitmap* bitmap = static_cast<Gdiplus::Bitmap*>(normal.Get());
  POINT soft{-1, -1};
  for (int y = 60; y < 69 && soft.x < 0; ++y) {
    for (int x = 100; x < 160; ++x) {
      Gdiplus::Color c;
      bitmap->GetPixel(x, y, &c);
      if (c.GetA() > 60 && c.GetA() < 140) {
        soft = {x, y};
        break;
      }
    }
  }
  ASSERT_GE(soft.x, 0);
  const COLORREF firstDraw = OnScreen(soft.x, soft.y);

  Redraw();  // the capture happens at this erase
  ASSERT_TRUE(m_button.HasCapturedBackground());
  const COLORREF settled = OnScreen(soft.x, soft.y);
  for (int i = 0; i < 25; ++i) Redraw();
  EXPECT_EQ(OnScreen(soft.x, soft.y), settled) << "the soft edge got darker with each redraw";
  // Hover and leave redraw too, from the same captured pixels.
  m_button.SendMessage(WM_MOUSEHOVER);
  m_button.UpdateWindow();
  m_button.SendMessage(WM_MOUSELEAVE);
  m_button.UpdateWindow();
  EXPECT_EQ(OnScreen(soft.x, soft.y), settled);
  EXPECT_FALSE(ColoursClose(settled, kHostColour, 2)) << "the shadow is drawn at all";
  // One layer of shadow over the parent, as at the very first draw.
  EXPECT_TRUE(ColoursClose(settled, Composite(137, 0, soft.x, soft.y), 3)) << std::hex << settled;
  EXPECT_TRUE(ColoursClose(settled, firstDraw, 3)) << std::hex << settled << " first " << firstDraw;
}

TEST_F(GdiPngButtonWindow, ClicksStillReachTheOwner) {
  m_button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 30));
  m_button.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(30, 30));
  EXPECT_EQ(m_host.m_clicks, std::vector<UINT>{IDC_START_RUN});
}

TEST_F(GdiPngButtonWindow, ReleasedButtonIgnoresLateNotices) {
  m_button.ReleaseImages();
  m_button.SendMessage(WM_MOUSEHOVER);
  EXPECT_FALSE(m_button.IsHovered());
  EXPECT_TRUE(m_button.SetDisabledLook(TRUE));
  Redraw();  // draws nothing, does not crash
}

TEST(SkinnedControlsLeak, PaintingAndReleasingLeaveNoGdiObjectsBehind) {
  auto round = [] {
    CControlHost host(IDD_PROMPT_INNER, kHostColour);
    CPngButton button;
    CGDIPngButton picture;
    host.Bind(IDC_PROMPT_OK, button);
    host.Bind(IDC_PROMPT_CANCEL, picture);
    ASSERT_TRUE(host.Open());
    button.SetImages(165, 166, 167, 167);
    picture.SetImages(137, 138, 139, 140);
    host.ShowWindow(SW_SHOWNA);
    for (int i = 0; i < 20; ++i) {
      PrintClient(button.m_hWnd);
      picture.Invalidate(TRUE);
      picture.UpdateWindow();
      button.Invalidate(TRUE);
      button.UpdateWindow();
    }
    button.ReleaseImages();
    picture.ReleaseImages();
    host.DestroyWindow();
  };
  round();  // caches of the platform and of GDI+ reach their size
  const int before = FreeGdiSlots();
  for (int i = 0; i < 10; ++i) round();
  EXPECT_LE(before - FreeGdiSlots(), 2) << "GDI objects left behind";
}

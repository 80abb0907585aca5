// The drawn statics on real windows: alignment and colours read back as pixels, the status
// line's repaint worker and its shutdown.
#include <windows.h>
#include <gdiplus.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <memory>

#include "control_host.h"
#include "res/resource.h"
#include "skin/draw_state_info_static.h"
#include "skin/draw_text_static.h"
#include "skin/png_resource.h"

namespace {

constexpr COLORREF kHostColour = RGB(120, 130, 140);

// Where pixels differ from the background colour.
struct InkBox {
  int left = INT_MAX, top = INT_MAX, right = -1, bottom = -1, count = 0;
  bool Empty() const { return count == 0; }
  int CentreX() const { return (left + right) / 2; }
  int CentreY() const { return (top + bottom) / 2; }
};

template <typename IsInk>
InkBox FindWhere(const Pixels& pixels, IsInk isInk) {
  InkBox box;
  for (int y = 0; y < pixels.height; ++y) {
    for (int x = 0; x < pixels.width; ++x) {
      if (!isInk(pixels.At(x, y))) continue;
      ++box.count;
      box.left = std::min(box.left, x);
      box.right = std::max(box.right, x);
      box.top = std::min(box.top, y);
      box.bottom = std::max(box.bottom, y);
    }
  }
  return box;
}

InkBox FindInk(const Pixels& pixels, COLORREF background) {
  return FindWhere(pixels, [&](COLORREF c) { return !ColoursClose(c, background, 10); });
}

InkBox FindColour(const Pixels& pixels, COLORREF colour, int tolerance) {
  return FindWhere(pixels, [&](COLORREF c) { return ColoursClose(c, colour, tolerance); });
}

int CountColour(const Pixels& pixels, COLORREF colour, int tolerance = 24) {
  int count = 0;
  for (int y = 0; y < pixels.height; ++y)
    for (int x = 0; x < pixels.width; ++x) count += ColoursClose(pixels.At(x, y), colour, tolerance);
  return count;
}

}  // namespace

class DrawTextStaticWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    m_host.Bind(IDC_PROMPT_TEXT, m_static);
    ASSERT_TRUE(m_host.Open());
    m_static.MoveWindow(10, 40, 240, 30);
    m_static.InitFont();
  }
  CControlHost m_host{IDD_PROMPT_INNER, kHostColour};
  CDrawTextStatic m_static;
};

TEST_F(DrawTextStaticWindow, AlignmentModesAndColours) {
  struct Case {
    int mode;
    int highlight;
    bool text;
    enum { Left, Centre, Right } horizontal;
    bool verticallyCentred;
  } cases[] = {
      {0, 0, true, Case::Left, false},  // word-wrapped from the top left
      {1, 0, true, Case::Left, true},   {2, 0, true, Case::Centre, true}, {3, 1, true, Case::Right, false},
      {4, 1, true, Case::Left, true},   {5, 0, false, Case::Left, false}, {-1, 0, false, Case::Left, false},
  };
  const COLORREF back = RGB(241, 242, 246), normal = RGB(92, 92, 255), highlight = RGB(200, 0, 0);
  m_static.SetBackColor(back);
  m_static.SetForeColors(normal, highlight);
  m_static.SetWindowText(L"\u540C\u610F\u534F\u8BAE");  // 同意协议
  for (const Case& c : cases) {
    m_static.SetAlignment(c.mode);
    m_static.SetHighlight(c.highlight);
    const Pixels shown = PrintClient(m_static.m_hWnd);
    EXPECT_EQ(shown.At(0, 0), back) << "mode " << c.mode;
    const InkBox ink = FindInk(shown, back);
    if (!c.text) {
      EXPECT_TRUE(ink.Empty()) << "mode " << c.mode << " draws no text";
      continue;
    }
    ASSERT_FALSE(ink.Empty()) << "mode " << c.mode;
    EXPECT_GT(CountColour(shown, c.highlight == 1 ? highlight : normal), 3) << "mode " << c.mode;
    EXPECT_EQ(CountColour(shown, c.highlight == 1 ? normal : highlight), 0) << "mode " << c.mode;
    switch (c.horizontal) {
      case Case::Left: EXPECT_LT(ink.left, 4) << "mode " << c.mode; break;
      case Case::Centre: EXPECT_NEAR(ink.CentreX(), 120, 3) << "mode " << c.mode; break;
      case Case::Right: EXPECT_GT(ink.right, 235) << "mode " << c.mode; break;
    }
    if (c.verticallyCentred) {
      EXPECT_NEAR(ink.CentreY(), 15, 3) << "mode " << c.mode;
    } else {
      EXPECT_LT(ink.top, 6) << "mode " << c.mode;
    }
  }
}

TEST_F(DrawTextStaticWindow, BackColourIsFixedAtTheFirstPaint) {
  m_static.SetBackColor(RGB(255, 255, 255));
  EXPECT_EQ(PrintClient(m_static.m_hWnd).At(1, 1), RGB(255, 255, 255));
  m_static.SetBackColor(RGB(241, 242, 246));
  m_static.Invalidate(TRUE);
  EXPECT_EQ(PrintClient(m_static.m_hWnd).At(1, 1), RGB(255, 255, 255));
}

TEST_F(DrawTextStaticWindow, PointInsideIsInScreenCoordinates) {
  RECT window = m_static.GetWindowRect();
  EXPECT_TRUE(m_static.IsPointInside(window.left, window.top));
  EXPECT_FALSE(m_static.IsPointInside(window.right, window.top));
}

namespace {

// Counts the status line's paints.
class CCountingStatic : public CDrawStateInfoStatic {
 public:
  int m_nPaints = 0;
  DWORD m_dwLastPaint = 0;
  std::wstring m_strLastPainted;

 protected:
  void OnPaint() override {
    ++m_nPaints;
    m_dwLastPaint = ::GetTickCount();
    m_strLastPainted = GetText();
    CDrawStateInfoStatic::OnPaint();
  }
};

// Pumps until `done` or `ms` passed; the time waited.
template <typename Done>
DWORD PumpUntil(DWORD ms, Done done) {
  const DWORD start = ::GetTickCount();
  while (!done() && ::GetTickCount() - start < ms) PumpFor(5);
  return ::GetTickCount() - start;
}

}  // namespace

class StateInfoStaticWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    m_host->Bind(IDC_PROGRESS_STATUS, *m_static);
    ASSERT_TRUE(m_host->Open());
    ASSERT_TRUE(LoadPngResource(149, m_background));
    m_static->SetAlignment(1);
    m_static->SetForeColor(RGB(255, 255, 255));
    m_static->SetBackImage(m_background.Get());
    m_static->SetBackSourceRect(10, 42, 194, 62);
    m_static->MoveWindow(30, 52, 204, 20);
    m_static->InitFont();
    m_host->ShowWindow(SW_SHOWNA);
    PumpFor(50);
  }
  void TearDown() override {
    if (m_static) m_static->StopAnimation();
    m_host.reset();
  }

  std::unique_ptr<CControlHost> m_host = std::make_unique<CControlHost>(IDD_PROGRESS_INNER, kHostColour);
  std::unique_ptr<CCountingStatic> m_static = std::make_unique<CCountingStatic>();
  CPngImage m_background;
};

TEST_F(StateInfoStaticWindow, DrawsItsTextInWhiteOverThePictureSlice) {
  m_static->SetText(L"\u6B63\u5728\u8FDB\u884C\u672C\u5730\u4FEE\u590D");  // 正在进行本地修复
  const Pixels shown = PrintClient(m_static->m_hWnd);
  // Away from the text the control shows the picture's slice (10, 42)-(194, 62) stretched.
  Gdiplus::Color corner;
  static_cast<Gdiplus::Bitmap*>(m_background.Get())->GetPixel(193, 61, &corner);
  EXPECT_TRUE(ColoursClose(shown.At(203, 19), RGB(corner.GetR(), corner.GetG(), corner.GetB()), 16))
      << std::hex << shown.At(203, 19);
  const InkBox text = FindColour(shown, RGB(255, 255, 255), 40);
  ASSERT_GT(text.count, 5) << "white text";
  EXPECT_LT(text.left, 4);
  EXPECT_NEAR(text.CentreY(), 10, 3);
  // Mode 0 is the same single left-aligned, vertically centred line as mode 1.
  m_static->SetAlignment(0);
  EXPECT_EQ(Mismatch(PrintClient(m_static->m_hWnd), shown, 0), 0.0);
  m_static->SetAlignment(3);
  EXPECT_GT(FindColour(PrintClient(m_static->m_hWnd), RGB(255, 255, 255), 40).right, 195) << "mode 3: right";
}

TEST_F(StateInfoStaticWindow, WorkerShowsNewTextWithinItsPeriodAndStopsForGood) {
  const DWORD started = ::GetTickCount();
  m_static->m_nPaints = 0;
  m_static->StartAnimation();
  ASSERT_TRUE(m_static->IsAnimating());
  PumpUntil(2000, [&] { return m_static->m_nPaints > 0; });
  const DWORD firstRepaint = m_static->m_dwLastPaint - started;
  EXPECT_GE(firstRepaint, 450u);
  EXPECT_LE(firstRepaint, 700u);

  for (const wchar_t* text : {L"\u672C\u5730\u4FEE\u590D", L"\u5728\u7EBF\u4FEE\u590D"}) {
    m_static->SetText(text);
    const DWORD changed = ::GetTickCount();
    PumpUntil(2000, [&] { return m_static->m_strLastPainted == text; });
    EXPECT_LE(m_static->m_dwLastPaint - changed, 600u + 60u) << "new text shown late";
  }

  m_static->StopAnimation();
  EXPECT_FALSE(m_static->IsAnimating());
  PumpFor(50);  // the stop's own repaint
  const int paints = m_static->m_nPaints;
  PumpFor(1500);
  EXPECT_EQ(m_static->m_nPaints, paints) << "repainted after the animation stopped";
  m_static->Invalidate(TRUE);
  PumpFor(50);
  EXPECT_EQ(m_static->m_nPaints, paints + 1) << "still paints when invalidated";
}

TEST_F(StateInfoStaticWindow, ClosingWhileTheWorkerSleepsIsImmediateAndSafe) {
  for (int round = 0; round < 5; ++round) {
    if (round > 0) SetUp();
    m_static->StartAnimation();
    PumpFor(round * 150);  // before the first repaint, and between repaints
    const auto before = std::chrono::steady_clock::now();
    // As the popup does: stop from the destroy handler, then the window and object go.
    m_static->StopAnimation();
    m_host->DestroyWindow();
    m_static.reset();
    const auto took = std::chrono::steady_clock::now() - before;
    EXPECT_LT(took, std::chrono::milliseconds(100)) << "round " << round;
    m_host.reset();
    m_host = std::make_unique<CControlHost>(IDD_PROGRESS_INNER, kHostColour);
    m_static = std::make_unique<CCountingStatic>();
  }
  // And without StopAnimation: the destructor ends the worker itself.
  SetUp();
  m_static->StartAnimation();
  PumpFor(100);
  const auto before = std::chrono::steady_clock::now();
  m_static.reset();
  EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(100));
  m_static = std::make_unique<CCountingStatic>();
}

TEST(DrawnStaticsLeak, PaintingLeavesNoGdiObjectsBehind) {
  auto round = [] {
    CControlHost host(IDD_PROMPT_INNER, kHostColour);
    CDrawTextStatic text;
    host.Bind(IDC_PROMPT_TEXT, text);
    ASSERT_TRUE(host.Open());
    text.InitFont();
    text.SetWindowText(L"\u4FEE\u590D");
    CDrawStateInfoStatic status;
    ASSERT_TRUE(status.SubclassWindow(host.GetDlgItem(IDC_PROMPT_CLOSE)));
    status.InitFont();
    status.SetText(L"\u4FEE\u590D");
    for (int i = 0; i < 20; ++i) {
      PrintClient(text.m_hWnd);
      PrintClient(status.m_hWnd);
    }
    status.UnsubclassWindow();
    host.DestroyWindow();
  };
  round();
  const int before = FreeGdiSlots();
  for (int i = 0; i < 10; ++i) round();
  EXPECT_LE(before - FreeGdiSlots(), 2) << "GDI objects left behind";
}

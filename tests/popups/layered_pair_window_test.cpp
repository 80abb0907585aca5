// Real outer/inner pairs under the platform: where the windows stand, following, dragging,
// ending and destruction, and whether the frame's per-pixel alpha reaches the screen.
#include <windows.h>
#include <gdiplus.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <iostream>
#include <memory>
#include <ostream>

#include "framework/client_dc.h"
#include "tests/skin/control_host.h"
#include "popups/layered_inner_dlg.h"
#include "popups/layered_outer_dlg.h"
#include "res/resource.h"
#include "skin/png_button.h"
#include "skin/png_resource.h"

namespace {

constexpr UINT kRunChecks = WM_APP + 1;

PairRect ToPair(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

PairRect WindowRectOf(HWND hWnd) {
  RECT r{};
  ::GetWindowRect(hWnd, &r);
  return ToPair(r);
}

class CTestInnerDlg : public CLayeredInnerDlg {
 public:
  using CLayeredInnerDlg::CLayeredInnerDlg;
  void LayoutControls() override {
    m_rcAtLayout = WindowRectOf(m_hWnd);
    m_rcOuterAtLayout = WindowRectOf(GetParent());
    if (m_btnOk.m_hWnd) {
      m_btnOk.SetImages(165, 166, 167, 167);
      m_btnOk.MoveWindow(150, 4, 55, 24);  // in the header strip, clear of the other controls
    }
  }
  void DoDataExchange() override {
    if (GetTemplateId() == IDD_PROMPT_INNER) BindControl(IDC_PROMPT_OK, m_btnOk);
  }
  void OnDestroy() override {
    m_btnOk.ReleaseImages();
    CLayeredInnerDlg::OnDestroy();
  }

  CPngButton m_btnOk;
  LRESULT HitTest(POINT screen) { return SendMessage(WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y)); }

  PairRect m_rcAtLayout, m_rcOuterAtLayout;
};

class CTestOuterDlg : public CLayeredOuterDlg {
 public:
  CTestOuterDlg(UINT outerTemplate, UINT innerTemplate, const LayeredPairLayout& layout, UINT backgroundId,
                float scale, CWnd* parent = nullptr, BOOL innerLeads = FALSE)
      : CLayeredOuterDlg(outerTemplate, layout, scale, parent),
        m_nInnerTemplate(innerTemplate),
        m_nBackground(backgroundId),
        m_bInnerLeads(innerLeads) {}

  CTestInnerDlg* Inner() const { return static_cast<CTestInnerDlg*>(m_pInnerDlg.get()); }

  std::function<void(CTestOuterDlg&)> m_onRunning;
  HWND m_hInnerWnd = nullptr;

 protected:
  std::unique_ptr<CLayeredInnerDlg> NewInnerDlg() override {
    return std::make_unique<CTestInnerDlg>(m_nInnerTemplate, m_layout, m_nBackground, m_bInnerLeads);
  }
  BOOL OnInitDialog() override {
    const BOOL result = CLayeredOuterDlg::OnInitDialog();
    if (m_pInnerDlg) m_hInnerWnd = m_pInnerDlg->m_hWnd;
    // The checks run once the modal loop has placed the pair.
    PostMessage(kRunChecks);
    return result;
  }
  bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (msg != kRunChecks) return CLayeredOuterDlg::OnMessage(msg, wParam, lParam, result);
    if (m_onRunning) m_onRunning(*this);
    result = 0;
    return true;
  }

  UINT m_nInnerTemplate;
  UINT m_nBackground;
  BOOL m_bInnerLeads;
};

// A plain visible window to own the modal pairs, away from the screen's centre.
class COwnerWindow : public CWnd {
 public:
  bool Open(const RECT& rect) {
    return CreateEx(0, nullptr, L"owner", WS_POPUP | WS_VISIBLE, rect, nullptr, 0) != FALSE;
  }
  BOOL OnEraseBkgnd(HDC hdc) override {
    RECT client = GetClientRect();
    ::FillRect(hdc, &client, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    return TRUE;
  }
};

PairRect Centred(const PairRect& around, PairSize size) {
  const int x = (around.left + around.right) / 2 - size.cx / 2;
  const int y = (around.top + around.bottom) / 2 - size.cy / 2;
  return {x, y, x + size.cx, y + size.cy};
}

}  // namespace

static std::ostream& operator<<(std::ostream& out, const PairRect& r) {
  return out << "(" << r.left << ", " << r.top << ")-(" << r.right << ", " << r.bottom << ")";
}

class LayeredPairWindow : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(m_owner.Open(RECT{100, 80, 900, 680})); }
  COwnerWindow m_owner;
};

TEST_F(LayeredPairWindow, ProgressPairOpensCentredWithTheInnerFollowing) {
  CTestOuterDlg outer(IDD_PROGRESS_OUTER, IDD_PROGRESS_INNER, LayoutOf(ELayeredPair::Progress), 149, 1.2f, &m_owner);
  PairRect centredOuter, innerAfterCentring, creation, creationOuter;
  outer.m_onRunning = [&](CTestOuterDlg& dlg) {
    creation = dlg.Inner()->m_rcAtLayout;
    creationOuter = dlg.Inner()->m_rcOuterAtLayout;
    centredOuter = WindowRectOf(dlg.m_hWnd);
    innerAfterCentring = WindowRectOf(dlg.m_hInnerWnd);
    dlg.SendMessage(WM_CLOSE);
  };
  EXPECT_EQ(outer.DoModal(), IDCANCEL);

  ASSERT_NE(outer.m_hInnerWnd, nullptr);
  // Created from the frame's first place: 244 x 124 at (x + 16, y + 14).
  EXPECT_EQ(creationOuter.Width(), 278);
  EXPECT_EQ(creationOuter.Height(), 158);
  EXPECT_EQ(creation, (PairRect{creationOuter.left + 16, creationOuter.top + 14, creationOuter.left + 16 + 244,
                                creationOuter.top + 14 + 124}));
  // After the move the follow rectangle gives 246 x 125 at (x + 16, y + 14).
  EXPECT_EQ(centredOuter, Centred(ToPair(RECT{100, 80, 900, 680}), {278, 158}));
  EXPECT_EQ(innerAfterCentring, (PairRect{centredOuter.left + 16, centredOuter.top + 14, centredOuter.left + 16 + 246,
                                          centredOuter.top + 14 + 125}));
  EXPECT_FALSE(::IsWindow(outer.m_hInnerWnd)) << "the inner window goes with the outer";
  EXPECT_EQ(outer.m_pInnerDlg, nullptr);
  EXPECT_FALSE(outer.m_pFrameImage);
}

TEST_F(LayeredPairWindow, PromptPairCreationDragAndFollow) {
  CTestOuterDlg outer(IDD_PROMPT_OUTER, IDD_PROMPT_INNER, LayoutOf(ELayeredPair::Prompt), 155, 1.2f, &m_owner);
  PairRect creation, creationOuter, centred, followed;
  LRESULT stripHit = 0, marginHit = 0;
  PairRect dragged, outerAfterDrag, innerAfterOuterMove;
  BOOL followAfterDrag = TRUE;
  outer.m_onRunning = [&](CTestOuterDlg& dlg) {
    CTestInnerDlg* inner = dlg.Inner();
    creation = inner->m_rcAtLayout;
    creationOuter = inner->m_rcOuterAtLayout;
    centred = WindowRectOf(dlg.m_hWnd);
    followed = WindowRectOf(inner->m_hWnd);

    RECT client = inner->GetClientRect();
    inner->ClientToScreen(&client);
    marginHit = inner->HitTest({client.right - 10, client.top + 5});
    EXPECT_FALSE(inner->m_bDragging);
    stripHit = inner->HitTest({client.left + 40, client.top + 5});
    EXPECT_TRUE(inner->m_bDragging);
    // What the system's drag does to the inner window.
    inner->MoveWindow(followed.left + 30, followed.top + 20, followed.Width(), followed.Height());
    dragged = WindowRectOf(inner->m_hWnd);
    outerAfterDrag = WindowRectOf(dlg.m_hWnd);
    followAfterDrag = dlg.m_bFollowInner;

    dlg.SetWindowPos(nullptr, outerAfterDrag.left + 50, outerAfterDrag.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    innerAfterOuterMove = WindowRectOf(inner->m_hWnd);
    dlg.SendMessage(WM_CLOSE);
  };
  EXPECT_EQ(outer.DoModal(), IDCANCEL);

  // Frame 403 x 187; inner trunc(L + 6), trunc(T + 3.6), trunc(403 - 12.0000005) = 390 by
  // trunc(187 - 12.0000005) = 174 (1.2f is a hair above 1.2).
  EXPECT_EQ(creationOuter.Width(), 403);
  EXPECT_EQ(creationOuter.Height(), 187);
  EXPECT_EQ(creation, (PairRect{creationOuter.left + 6, creationOuter.top + 3, creationOuter.left + 6 + 390,
                                creationOuter.top + 3 + 174}));
  EXPECT_EQ(centred, Centred(ToPair(RECT{100, 80, 900, 680}), {403, 187}));
  EXPECT_EQ(followed, (PairRect{centred.left + 6, centred.top + 3, centred.right - 6, centred.bottom - 8}));

  EXPECT_EQ(marginHit, HTCLIENT) << "the close button's corner is no drag point";
  EXPECT_EQ(stripHit, HTCAPTION);
  EXPECT_EQ(outerAfterDrag, (PairRect{dragged.left - 6, dragged.top - 3, dragged.right + 6, dragged.bottom + 8}));
  EXPECT_FALSE(followAfterDrag);
  EXPECT_EQ(innerAfterOuterMove, dragged) << "once dragged, the outer no longer carries the inner";
}

TEST_F(LayeredPairWindow, StartPageIsPlacedByItsInnerAtTheScreenCentre) {
  CTestOuterDlg outer(IDD_START_OUTER, IDD_START_INNER, LayoutOf(ELayeredPair::StartPage), 132, 1.0f, &m_owner, TRUE);
  PairRect outerRect, innerRect;
  BOOL follow = TRUE;
  outer.m_onRunning = [&](CTestOuterDlg& dlg) {
    outerRect = WindowRectOf(dlg.m_hWnd);
    innerRect = WindowRectOf(dlg.m_hInnerWnd);
    follow = dlg.m_bFollowInner;
    dlg.SendMessage(WM_CLOSE);
  };
  EXPECT_EQ(outer.DoModal(), IDCANCEL);
  const PairRect centred = CLayeredPairGeometry(ELayeredPair::StartPage, 1.0f)
                               .ScreenCentred(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
  EXPECT_EQ(innerRect, (PairRect{centred.left + 5, centred.top + 4, centred.left + 605, centred.top + 454}));
  // The inner's move at creation pulled the outer around it; no centring over the owner followed.
  EXPECT_EQ(outerRect, (PairRect{innerRect.left - 5, innerRect.top - 4, innerRect.right + 5, innerRect.bottom + 7}));
  EXPECT_FALSE(follow);
}

TEST_F(LayeredPairWindow, InnerDialogAndItsControlsShowOverTheFrame) {
  CTestOuterDlg outer(IDD_PROMPT_OUTER, IDD_PROMPT_INNER, LayoutOf(ELayeredPair::Prompt), 155, 1.0f, &m_owner);
  COLORREF onButton = 0, beside = 0;
  outer.m_onRunning = [&](CTestOuterDlg& dlg) {
    PumpFor(300);
    const PairRect inner = WindowRectOf(dlg.m_hInnerWnd);
    CClientDC screen(nullptr);
    onButton = ::GetPixel(screen.Get(), inner.left + 150 + 8, inner.top + 4 + 12);
    beside = ::GetPixel(screen.Get(), inner.left + 130, inner.top + 4 + 12);
    dlg.EndDialog(IDOK);
  };
  EXPECT_EQ(outer.DoModal(), IDOK);
  // The OK face is blue where the frame's header strip under it is light grey.
  EXPECT_LT(GetRValue(onButton), 100) << std::hex << onButton;
  EXPECT_GT(GetBValue(onButton), 200) << std::hex << onButton;
  EXPECT_GT(GetRValue(beside), 230) << std::hex << beside;
}

TEST_F(LayeredPairWindow, MissingFrameMeansNoInnerDialog) {
  LayeredPairLayout layout = LayoutOf(ELayeredPair::Prompt);
  layout.frameImageId = IDD_PROGRESS_INNER;  // a dialog id, not a picture
  CTestOuterDlg outer(IDD_PROMPT_OUTER, IDD_PROMPT_INNER, layout, 155, 1.0f, &m_owner);
  bool hadInner = true;
  outer.m_onRunning = [&](CTestOuterDlg& dlg) {
    hadInner = dlg.m_pInnerDlg != nullptr;
    dlg.EndDialog(IDOK);
  };
  EXPECT_EQ(outer.DoModal(), IDOK);
  EXPECT_FALSE(hadInner);
  EXPECT_EQ(outer.m_hInnerWnd, nullptr);
}

TEST_F(LayeredPairWindow, DestroyingTheOuterDestroysTheInnerWindow) {
  CTestOuterDlg outer(IDD_PROMPT_OUTER, IDD_PROMPT_INNER, LayoutOf(ELayeredPair::Prompt), 155, 1.0f);
  ASSERT_TRUE(outer.Create(static_cast<CWnd*>(nullptr)));
  PumpFor(50);
  HWND inner = outer.m_hInnerWnd;
  ASSERT_TRUE(::IsWindow(inner));
  EXPECT_EQ(::GetWindow(inner, GW_OWNER), outer.m_hWnd);
  EXPECT_TRUE(outer.m_pFrameImage);
  outer.DestroyWindow();
  EXPECT_FALSE(::IsWindow(inner));
  EXPECT_EQ(outer.m_pInnerDlg, nullptr);
  EXPECT_FALSE(outer.m_pFrameImage);
}

TEST_F(LayeredPairWindow, FrameAlphaShowsOnTheScreen) {
  // The progress frame at its own size over the white owner window; the inner is hidden so
  // the whole frame can be read back.
  LayeredPairLayout layout = LayoutOf(ELayeredPair::Progress);
  CTestOuterDlg outer(IDD_PROGRESS_OUTER, IDD_PROGRESS_INNER, layout, 149, 1.0f);
  ASSERT_TRUE(outer.Create(static_cast<CWnd*>(nullptr)));
  ASSERT_NE(outer.m_pInnerDlg, nullptr);
  outer.m_pInnerDlg->ShowWindow(SW_HIDE);
  outer.SetWindowPos(HWND_TOP, 300, 250, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
  PumpFor(300);

  // Pick a see-through, a half-transparent and an opaque pixel of the picture itself.
  CPngImage picture;
  ASSERT_TRUE(LoadPngResource(148, picture));
  Gdiplus::Bitmap* bitmap = static_cast<Gdiplus::Bitmap*>(picture.Get());
  POINT clear{-1, -1}, half{-1, -1}, opaque{-1, -1};
  Gdiplus::Color halfColor, opaqueColor;
  for (int y = 0; y < 132; ++y) {
    for (int x = 0; x < 232; ++x) {
      Gdiplus::Color c;
      bitmap->GetPixel(x, y, &c);
      if (c.GetA() == 0 && clear.x < 0) clear = {x, y};
      if (c.GetA() > 90 && c.GetA() < 160 && half.x < 0) {
        half = {x, y};
        halfColor = c;
      }
      if (c.GetA() == 255 && x > 100 && opaque.x < 0) {
        opaque = {x, y};
        opaqueColor = c;
      }
    }
  }
  ASSERT_GE(clear.x, 0);
  ASSERT_GE(half.x, 0);
  ASSERT_GE(opaque.x, 0);

  CClientDC screen(nullptr);
  auto at = [&](POINT p) { return ::GetPixel(screen.Get(), 300 + p.x, 250 + p.y); };
  const COLORREF clearOnScreen = at(clear), halfOnScreen = at(half), opaqueOnScreen = at(opaque);
  auto looksLike = [](COLORREF a, int r, int g, int b) {
    return std::abs(GetRValue(a) - r) <= 3 && std::abs(GetGValue(a) - g) <= 3 && std::abs(GetBValue(a) - b) <= 3;
  };
  EXPECT_TRUE(looksLike(clearOnScreen, 255, 255, 255)) << std::hex << clearOnScreen << ": the white owner shows through";
  EXPECT_TRUE(looksLike(opaqueOnScreen, opaqueColor.GetR(), opaqueColor.GetG(), opaqueColor.GetB()))
      << std::hex << opaqueOnScreen;
  EXPECT_FALSE(looksLike(halfOnScreen, 255, 255, 255)) << std::hex << halfOnScreen;
  EXPECT_FALSE(looksLike(halfOnScreen, halfColor.GetR(), halfColor.GetG(), halfColor.GetB())) << std::hex << halfOnScreen;
  std::cout << "half-transparent pixel: alpha " << int(halfColor.GetA()) << " colour " << int(halfColor.GetR()) << ","
            << int(halfColor.GetG()) << "," << int(halfColor.GetB()) << " on screen " << int(GetRValue(halfOnScreen))
            << "," << int(GetGValue(halfOnScreen)) << "," << int(GetBValue(halfOnScreen)) << "\n";
  outer.DestroyWindow();
}

TEST(LayeredPairLeak, OpeningAndClosingLeavesNoGdiObjectsBehind) {
  auto round = [] {
    CTestOuterDlg outer(IDD_PROMPT_OUTER, IDD_PROMPT_INNER, LayoutOf(ELayeredPair::Prompt), 155, 1.2f);
    ASSERT_TRUE(outer.Create(static_cast<CWnd*>(nullptr)));
    outer.ShowWindow(SW_SHOWNA);
    PumpFor(20);
    outer.DestroyWindow();
  };
  round();
  const int before = FreeGdiSlots();
  for (int i = 0; i < 10; ++i) round();
  EXPECT_LE(before - FreeGdiSlots(), 2) << "GDI objects left behind";
}

// A real skinned bar in a test window, driven with mouse messages; the parent records what
// the bar reports and moves it the way the frame does.
#include <gtest/gtest.h>

#include "scroll_test_support.h"
#include "skin_scroll_bar.h"

namespace {

constexpr int kCell = 13;
constexpr int kLength = 200;
// Skin columns of a vertical bar.
constexpr int kDownArrowX = 1 * kCell;
constexpr int kThumbX = 2 * kCell;
constexpr int kTrackX = 3 * kCell;

class SkinScrollBarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_hSkin = LoadTestSkin();
        ASSERT_NE(m_hSkin, nullptr) << "scrollbar_skin_test.bmp missing beside the test";
        m_parentRef.Attach(m_parent.Get());
    }

    void TearDown() override
    {
        m_bar.DestroyWindow();
        if (m_hSkin)
            ::DeleteObject(m_hSkin);
    }

    void CreateBar(bool vertical, int minimum, int maximum, unsigned page, int pos)
    {
        const RECT rect = vertical ? RECT{20, 20, 20 + kCell, 20 + kLength}
                                   : RECT{20, 20, 20 + kLength, 20 + kCell};
        ASSERT_TRUE(m_bar.Create(WS_CHILD | WS_VISIBLE | (vertical ? SBS_VERT : SBS_HORZ), rect,
                                 &m_parentRef, 101));
        m_bar.SetSkinBitmap(m_hSkin);
        SCROLLINFO si{sizeof(si), SIF_RANGE | SIF_PAGE | SIF_POS};
        si.nMin = minimum;
        si.nMax = maximum;
        si.nPage = page;
        si.nPos = pos;
        m_bar.SetScrollInfo(si, TRUE);
        ::UpdateWindow(m_bar.m_hWnd);
        PumpFor(30);
    }

    SCROLLINFO BarInfo() const
    {
        SCROLLINFO si{};
        m_bar.GetScrollInfo(&si, SIF_ALL);
        return si;
    }

    HWND Bar() const { return m_bar.m_hWnd; }
    std::vector<ScrollNotice>& Notices() { return m_parent.notices; }

    // The two skin rows differ where the test looks, or the look checks would prove nothing.
    void ExpectRowsDiffer(int x, int y, int rowA, int rowB)
    {
        ASSERT_NE(SkinPixel(m_hSkin, x, y + rowA * kCell), SkinPixel(m_hSkin, x, y + rowB * kCell));
    }

    CRecordingParent m_parent;
    CWnd m_parentRef;
    CSkinScrollBar m_bar;
    HBITMAP m_hSkin = nullptr;
};

TEST_F(SkinScrollBarTest, AnswersScrollInformationFromItsOwnCopy)
{
    CreateBar(true, 0, 99, 10, 0);
    SCROLLINFO set{sizeof(set), SIF_POS};
    set.nPos = 42;
    set.nPage = 77;    // not in the mask
    set.nTrackPos = 5;  // never taken from a caller
    EXPECT_EQ(::SendMessageW(Bar(), SBM_SETSCROLLINFO, FALSE, reinterpret_cast<LPARAM>(&set)), 1);
    SCROLLINFO got{sizeof(got), SIF_ALL};
    EXPECT_EQ(::SendMessageW(Bar(), SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(&got)), 1);
    EXPECT_EQ(got.nMin, 0);
    EXPECT_EQ(got.nMax, 99);
    EXPECT_EQ(got.nPage, 10u);
    EXPECT_EQ(got.nPos, 42);
    EXPECT_EQ(got.nTrackPos, -1);

    // Only what the mask asks for is filled in.
    SCROLLINFO partial{sizeof(partial), SIF_PAGE};
    partial.nPos = -7;
    ::SendMessageW(Bar(), SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(&partial));
    EXPECT_EQ(partial.nPage, 10u);
    EXPECT_EQ(partial.nPos, -7);

    EXPECT_EQ(::SendMessageW(Bar(), SBM_SETSCROLLINFO, TRUE, 0), 0);
    EXPECT_EQ(::SendMessageW(Bar(), SBM_GETSCROLLINFO, 0, 0), 0);
}

// Renders the bar through WM_PRINTCLIENT into a memory bitmap.
class CRendering {
public:
    CRendering(HWND hWnd, int width, int height)
    {
        HDC screen = ::GetDC(nullptr);
        m_hDC = ::CreateCompatibleDC(screen);
        m_hBitmap = ::CreateCompatibleBitmap(screen, width, height);
        ::ReleaseDC(nullptr, screen);
        m_hOld = ::SelectObject(m_hDC, m_hBitmap);
        ::SendMessageW(hWnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(m_hDC), PRF_CLIENT);
    }
    ~CRendering()
    {
        ::SelectObject(m_hDC, m_hOld);
        ::DeleteObject(m_hBitmap);
        ::DeleteDC(m_hDC);
    }
    COLORREF At(int x, int y) const { return ::GetPixel(m_hDC, x, y); }

private:
    HDC m_hDC;
    HBITMAP m_hBitmap;
    HGDIOBJ m_hOld;
};

struct PixelCase {
    const char* what;
    int x, y;          // in the bar
    int skinX, skinY;  // in the skin
};

TEST_F(SkinScrollBarTest, PaintsArrowsThumbCapsAndTiledTrackFromTheSkin)
{
    CreateBar(true, 0, 99, 10, 0);  // thumb [13, 30), page-down track [30, 187)
    const PixelCase cases[] = {
        {"up arrow", 6, 6, 6, 6},
        {"down arrow", 6, 193, kDownArrowX + 6, 6},
        {"thumb top cap corner", 0, 13, kThumbX, 0},
        {"thumb top cap", 6, 14, kThumbX + 6, 1},
        {"thumb middle, first tile", 6, 16, kThumbX + 6, 3},
        {"thumb middle, second tile", 6, 23, kThumbX + 6, 3},
        {"thumb bottom cap", 6, 29, kThumbX + 6, 12},
        {"track first tile", 6, 30, kTrackX + 6, 0},
        {"track later tile", 6, 100, kTrackX + 6, (100 - 30) % kCell},
        {"track last, cut tile", 6, 186, kTrackX + 6, (186 - 30) % kCell},
    };
    const CRendering r(Bar(), kCell, kLength);
    for (const PixelCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(r.At(c.x, c.y), SkinPixel(m_hSkin, c.skinX, c.skinY));
    }
    EXPECT_NE(r.At(0, 13), r.At(6, 20)) << "thumb corner and body look alike: no thumb drawn";
}

TEST_F(SkinScrollBarTest, HorizontalBarUsesTheRightHalfOfTheSkin)
{
    CreateBar(false, 0, 99, 10, 90);  // thumb [170, 187)
    const PixelCase cases[] = {
        {"left arrow", 6, 6, 4 * kCell + 6, 6},
        {"right arrow", 193, 6, 5 * kCell + 6, 6},
        {"thumb left cap", 171, 6, 6 * kCell + 1, 6},
        {"thumb right cap", 186, 6, 6 * kCell + 12, 6},
        {"track", 100, 6, 7 * kCell + (100 - 13) % kCell, 6},
    };
    const CRendering r(Bar(), kLength, kCell);
    for (const PixelCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(r.At(c.x, c.y), SkinPixel(m_hSkin, c.skinX, c.skinY));
    }
}

TEST_F(SkinScrollBarTest, HoldingTheDownArrowRepeatsAfterTheDelayUntilTheEnd)
{
    ExpectRowsDiffer(kDownArrowX, 0, kSkinRowNormal, kSkinRowPressed);
    CreateBar(true, 0, 99, 10, 85);
    const POINT arrow{6, 193};
    MouseDown(Bar(), arrow);
    EXPECT_EQ(ScreenPixel(Bar(), 0, 187), SkinPixel(m_hSkin, kDownArrowX, 2 * kCell))
        << "the held arrow looks pressed";
    PumpFor(1300);
    MouseUp(Bar(), arrow);
    PumpFor(50);
    // Released under the mouse: no longer pressed, hot again.
    EXPECT_EQ(ScreenPixel(Bar(), 0, 187), SkinPixel(m_hSkin, kDownArrowX, kCell));

    const auto& n = Notices();
    // 85 -> 90: at the press, after the delay, then every 100 ms, none at the end.
    RecordProperty("timeline", Describe(n));
    ASSERT_EQ(n.size(), 5u) << Describe(n);
    for (const ScrollNotice& notice : n) {
        EXPECT_EQ(notice.msg, static_cast<UINT>(WM_VSCROLL));
        EXPECT_EQ(notice.code, SB_LINEDOWN);
    }
    const double delay = n[1].atMs - n[0].atMs;
    EXPECT_GE(delay, 450.0) << Describe(n);
    EXPECT_LE(delay, 1000.0) << Describe(n);
    for (size_t i = 2; i < n.size(); ++i) {
        const double gap = n[i].atMs - n[i - 1].atMs;
        EXPECT_GE(gap, 50.0) << Describe(n);
        // Timer messages wait for an idle queue: generous for a busy machine.
        EXPECT_LE(gap, 400.0) << Describe(n);
    }
    EXPECT_EQ(BarInfo().nPos, 90);
}

TEST_F(SkinScrollBarTest, LeavingTheHeldArrowPausesAndComingBackResumes)
{
    CreateBar(true, 0, 99, 10, 0);
    const POINT arrow{6, 193};
    MouseDown(Bar(), arrow);
    PumpFor(750);
    const size_t beforeLeaving = Notices().size();
    EXPECT_GE(beforeLeaving, 3u) << Describe(Notices());

    MouseMove(Bar(), {6, 120});
    EXPECT_EQ(ScreenPixel(Bar(), 0, 187), SkinPixel(m_hSkin, kDownArrowX, 0))
        << "outside its part the arrow looks normal";
    PumpFor(500);
    EXPECT_EQ(Notices().size(), beforeLeaving) << Describe(Notices());

    MouseMove(Bar(), arrow);
    EXPECT_EQ(ScreenPixel(Bar(), 0, 187), SkinPixel(m_hSkin, kDownArrowX, 2 * kCell));
    PumpFor(500);
    const size_t afterReturn = Notices().size();
    EXPECT_GE(afterReturn, beforeLeaving + 2) << Describe(Notices());

    MouseUp(Bar(), arrow);
    PumpFor(400);
    EXPECT_EQ(Notices().size(), afterReturn) << "repeat goes on after the release";
}

TEST_F(SkinScrollBarTest, HoldingTheTrackPagesUntilTheThumbReachesTheCursor)
{
    CreateBar(true, 0, 99, 10, 0);
    const POINT track{6, 150};
    MouseDown(Bar(), track);
    PumpFor(2000);
    MouseUp(Bar(), track);
    const auto& n = Notices();
    // Page 10 moves the 17-pixel thumb 17 pixels: at position 70 it covers y 150.
    ASSERT_EQ(n.size(), 7u) << Describe(n);
    for (const ScrollNotice& notice : n)
        EXPECT_EQ(notice.code, SB_PAGEDOWN);
    EXPECT_EQ(BarInfo().nPos, 70);
    const ScrollExtent thumb = m_bar.Geometry().PartExtent(kScrollPartThumb);
    EXPECT_TRUE(thumb.Contains(track.y)) << "[" << thumb.start << ", " << thumb.end << ")";
}

TEST_F(SkinScrollBarTest, DraggingTheThumbReportsEachNewPositionAndTheFinalOne)
{
    ExpectRowsDiffer(kThumbX + 6, 8, kSkinRowPressed, kSkinRowHot);
    CreateBar(true, 0, 99, 10, 0);  // free track 157 pixels for 90 positions
    MouseDown(Bar(), {6, 20});
    EXPECT_TRUE(Notices().empty()) << "pressing the thumb reports nothing";
    const int moves[] = {36, 37, 70, 500, 70};
    for (int y : moves)
        MouseMove(Bar(), {6, y});
    EXPECT_EQ(BarInfo().nTrackPos, 28);
    EXPECT_EQ(BarInfo().nPos, 0) << "the bar never moves its own position";
    // Thumb at 28: offset 48, [61, 78); its middle is tiled from cell row 3 on at y 64.
    EXPECT_EQ(ScreenPixel(Bar(), 6, 69), SkinPixel(m_hSkin, kThumbX + 6, 2 * kCell + 8))
        << "the dragged thumb looks pressed";
    MouseUp(Bar(), {6, 70});
    PumpFor(30);

    const std::pair<int, int> expected[] = {{SB_THUMBTRACK, 9}, {SB_THUMBTRACK, 28},
                                            {SB_THUMBTRACK, 90}, {SB_THUMBTRACK, 28},
                                            {SB_THUMBPOSITION, 28}};
    const auto& n = Notices();
    ASSERT_EQ(n.size(), std::size(expected)) << Describe(n);
    for (size_t i = 0; i < n.size(); ++i) {
        EXPECT_EQ(n[i].code, expected[i].first) << i << "\n" << Describe(n);
        EXPECT_EQ(n[i].pos, expected[i].second) << i << "\n" << Describe(n);
    }
    EXPECT_EQ(BarInfo().nTrackPos, -1);
    EXPECT_EQ(BarInfo().nPos, 28);
    EXPECT_EQ(ScreenPixel(Bar(), 6, 69), SkinPixel(m_hSkin, kThumbX + 6, kCell + 8))
        << "released over the thumb, it looks hot";
}

TEST_F(SkinScrollBarTest, DoubleClickActsAsOnePress)
{
    CreateBar(true, 0, 99, 10, 0);
    const POINT arrow{6, 193};
    MouseDown(Bar(), arrow);
    MouseUp(Bar(), arrow);
    EXPECT_EQ(::SendMessageW(Bar(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(arrow.x, arrow.y)), 1);
    MouseUp(Bar(), arrow);
    PumpFor(700);
    ASSERT_EQ(Notices().size(), 1u) << Describe(Notices());
    EXPECT_EQ(Notices()[0].code, SB_LINEDOWN);
    EXPECT_EQ(BarInfo().nPos, 1);
}

TEST_F(SkinScrollBarTest, HotLookFollowsTheMouseAndLeavesWithIt)
{
    ExpectRowsDiffer(kThumbX + 6, 6, kSkinRowNormal, kSkinRowHot);
    ExpectRowsDiffer(0, 0, kSkinRowNormal, kSkinRowHot);
    CreateBar(true, 0, 99, 10, 0);
    const COLORREF thumbNormal = SkinPixel(m_hSkin, kThumbX + 6, 6);
    const COLORREF thumbHot = SkinPixel(m_hSkin, kThumbX + 6, kCell + 6);

    MouseMove(Bar(), {6, 20});
    EXPECT_EQ(ScreenPixel(Bar(), 6, 19), thumbHot);
    MouseMove(Bar(), {6, 6});
    EXPECT_EQ(ScreenPixel(Bar(), 6, 19), thumbNormal);
    EXPECT_EQ(ScreenPixel(Bar(), 0, 0), SkinPixel(m_hSkin, 0, kCell));
    // Over the track there is no hot look; the arrow goes back to normal.
    MouseMove(Bar(), {6, 100});
    EXPECT_EQ(ScreenPixel(Bar(), 0, 0), SkinPixel(m_hSkin, 0, 0));
    MouseMove(Bar(), {6, 20});
    ::SendMessageW(Bar(), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(ScreenPixel(Bar(), 6, 19), thumbNormal);
    EXPECT_TRUE(Notices().empty());
}

TEST_F(SkinScrollBarTest, LosingTheCaptureEndsAPressAndADrag)
{
    CreateBar(true, 0, 99, 10, 0);
    MouseDown(Bar(), {6, 193});
    PumpFor(100);
    ::SetCapture(m_parent.Get());
    ::ReleaseCapture();
    PumpFor(800);
    EXPECT_EQ(Notices().size(), 1u) << "repeat outlived the capture\n" << Describe(Notices());

    // The one line down moved the bar to 1.
    Notices().clear();
    MouseDown(Bar(), {6, 20});
    MouseMove(Bar(), {6, 36});
    ::SetCapture(m_parent.Get());
    ::ReleaseCapture();
    ASSERT_EQ(Notices().size(), 2u) << Describe(Notices());
    EXPECT_EQ(Notices()[1].code, SB_THUMBPOSITION);
    EXPECT_EQ(Notices()[1].pos, 1 + 9);
    EXPECT_FALSE(m_bar.IsDragging());
    EXPECT_EQ(BarInfo().nTrackPos, -1);
}

}  // namespace

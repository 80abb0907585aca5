// The skin scroll frame around real controls (the rich edit of the agreement window, plain
// edits) in a visible test window.
#include <gtest/gtest.h>

#include <cstdio>

#include "agreement_text.h"
#include "framework/rich_edit_ctrl.h"
#include "scroll_test_support.h"
#include "skin_scroll_wnd.h"

namespace {

constexpr int kCell = 13;
constexpr UINT kControlId = 1009;
// The agreement window's rich edit: child, visible, border, vertical scroll bar, tab stop,
// multi-line, read-only, scroll bar kept when not needed.
constexpr DWORD kAgreementEditStyle = 0x50A12804;
const RECT kControlRect{20, 20, 320, 220};

RECT ChildRect(HWND hChild)
{
    RECT r{};
    ::GetWindowRect(hChild, &r);
    ::MapWindowPoints(nullptr, ::GetParent(hChild), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::string Text(const RECT& r)
{
    char text[64];
    std::snprintf(text, sizeof(text), "(%ld, %ld, %ld, %ld)", r.left, r.top, r.right, r.bottom);
    return text;
}

void ExpectRect(const RECT& actual, const RECT& expected, const char* what)
{
    EXPECT_TRUE(::EqualRect(&actual, &expected))
        << what << ": " << Text(actual) << ", expected " << Text(expected);
}

std::wstring WindowText(HWND hWnd)
{
    wchar_t text[64] = {};
    ::GetWindowTextW(hWnd, text, 64);
    return text;
}

SCROLLINFO ControlInfo(HWND hControl, int bar)
{
    SCROLLINFO si{sizeof(si), SIF_ALL};
    ::GetScrollInfo(hControl, bar, &si);
    return si;
}

SCROLLINFO BarInfo(HWND hBar)
{
    SCROLLINFO si{sizeof(si), SIF_ALL};
    ::SendMessageW(hBar, SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(&si));
    return si;
}

// What the control's own procedure sees when its destroy message arrives.
struct DestroyRecord {
    WNDPROC ownProc = nullptr;
    WNDPROC procAtDestroy = nullptr;
    HWND parentAtDestroy = nullptr;
    bool destroyed = false;
};
DestroyRecord g_destroy;

LRESULT CALLBACK RecordingControlProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_DESTROY) {
        g_destroy.destroyed = true;
        g_destroy.procAtDestroy =
            reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hWnd, GWLP_WNDPROC));
        g_destroy.parentAtDestroy = ::GetParent(hWnd);
    }
    return ::CallWindowProcW(g_destroy.ownProc, hWnd, msg, wParam, lParam);
}

class SkinScrollWndTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(CRichEditCtrl::InitRichEdit()); }

    void SetUp() override
    {
        m_hSkin = LoadTestSkin();
        ASSERT_NE(m_hSkin, nullptr);
        g_destroy = {};
    }

    void TearDown() override
    {
        if (::IsWindow(m_parent.Get()))
            ::DestroyWindow(m_parent.Get());
        if (m_hSkin)
            ::DeleteObject(m_hSkin);
    }

    HWND CreateControl(const wchar_t* className, DWORD style, DWORD exStyle = 0)
    {
        m_hControl = ::CreateWindowExW(exStyle, className, L"", style, kControlRect.left,
                                       kControlRect.top, kControlRect.right - kControlRect.left,
                                       kControlRect.bottom - kControlRect.top, m_parent.Get(),
                                       reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kControlId)),
                                       ::GetModuleHandleW(nullptr), nullptr);
        return m_hControl;
    }

    // The agreement window's control with the agreement in it, wrapped.
    void CreateAgreementEdit()
    {
        ASSERT_NE(CreateControl(CRichEditCtrl::kClassName, kAgreementEditStyle), nullptr);
        ::SetWindowTextW(m_hControl, BuildAgreementText().c_str());
        Wrap();
    }

    void Wrap(float scale = 1.0f)
    {
        m_pFrame = AttachSkinScrollBars(m_hControl, m_hSkin, scale, 0);
        ASSERT_NE(m_pFrame, nullptr);
        m_hFrame = m_pFrame->m_hWnd;
        PumpFor(100);
    }

    // Polls until the skin bar shows the control's vertical state, at most `ms`.
    double WaitForBarInStep(DWORD ms)
    {
        const double start = NowMs();
        while (NowMs() - start < ms) {
            const SCROLLINFO c = ControlInfo(m_hControl, SB_VERT);
            const SCROLLINFO b = BarInfo(VertBar());
            if (c.nPos == b.nPos && c.nMax == b.nMax && c.nPage == b.nPage)
                return NowMs() - start;
            PumpFor(10);
        }
        return -1;
    }

    HWND VertBar() const { return ::GetDlgItem(m_hFrame, CSkinScrollWnd::kVertBarId); }
    HWND HorzBar() const { return ::GetDlgItem(m_hFrame, CSkinScrollWnd::kHorzBarId); }
    RECT FrameClient() const
    {
        RECT r{};
        ::GetClientRect(m_hFrame, &r);
        return r;
    }

    CRecordingParent m_parent{400, 300};
    HBITMAP m_hSkin = nullptr;
    HWND m_hControl = nullptr;
    CSkinScrollWnd* m_pFrame = nullptr;
    HWND m_hFrame = nullptr;
};

TEST_F(SkinScrollWndTest, FrameTakesTheControlsPlaceWithTheBarAtItsRightEdge)
{
    CreateAgreementEdit();
    EXPECT_EQ(::GetDlgItem(m_parent.Get(), kControlId), m_hFrame);
    EXPECT_EQ(WindowText(m_hFrame), L"SkinScrollBarFrame");
    const HWND hLimit = m_pFrame->LimitWindow();
    EXPECT_EQ(::GetParent(m_hControl), hLimit);
    EXPECT_EQ(WindowText(hLimit), L"LIMIT");
    EXPECT_EQ(::GetDlgCtrlID(hLimit), static_cast<int>(CSkinScrollWnd::kLimitId));

    // The frame carries the border now.
    ExpectRect(ChildRect(m_hFrame), kControlRect, "frame");
    EXPECT_TRUE(::GetWindowLongPtrW(m_hFrame, GWL_STYLE) & WS_BORDER);
    EXPECT_FALSE(::GetWindowLongPtrW(m_hControl, GWL_STYLE) & WS_BORDER);

    const RECT client = FrameClient();
    ASSERT_EQ(client.right, 300 - 2 * ::GetSystemMetrics(SM_CXBORDER));
    EXPECT_TRUE(::IsWindowVisible(VertBar()));
    EXPECT_FALSE(::IsWindowVisible(HorzBar()));
    ExpectRect(ChildRect(VertBar()), {client.right - kCell, 0, client.right, client.bottom},
               "vertical bar");
    ExpectRect(ChildRect(hLimit), {0, 0, client.right - kCell, client.bottom}, "clip window");
    ExpectRect(ChildRect(m_hControl), client, "control in the clip window");
    RECT controlClient{};
    ::GetClientRect(m_hControl, &controlClient);
    EXPECT_EQ(controlClient.right, client.right - kCell) << "the control's own bar room";
    EXPECT_EQ(m_pFrame->CornerMode(), CSkinScrollWnd::kCornerNone);

    // The long text needs scrolling: the bar shows the control's state and takes the mouse.
    EXPECT_GE(WaitForBarInStep(600), 0.0);
    EXPECT_GT(BarInfo(VertBar()).nMax, static_cast<int>(BarInfo(VertBar()).nPage));
    EXPECT_TRUE(::IsWindowEnabled(VertBar()));
}

TEST_F(SkinScrollWndTest, ScaleWidensTheBarsToTheScaledCell)
{
    ASSERT_NE(CreateControl(CRichEditCtrl::kClassName, kAgreementEditStyle), nullptr);
    ::SetWindowTextW(m_hControl, BuildAgreementText().c_str());
    Wrap(1.5f);
    const int thickness = static_cast<int>(kCell * 1.5f);
    EXPECT_EQ(m_pFrame->Thickness(), thickness);
    const RECT client = FrameClient();
    ExpectRect(ChildRect(VertBar()), {client.right - thickness, 0, client.right, client.bottom},
               "vertical bar");
    ExpectRect(ChildRect(m_pFrame->LimitWindow()), {0, 0, client.right - thickness, client.bottom},
               "clip window");
    EXPECT_EQ(m_pFrame->VertBar().Geometry().Thickness(), thickness);
}

TEST_F(SkinScrollWndTest, ScrollingTheControlItselfReachesTheSkinBar)
{
    CreateAgreementEdit();
    ASSERT_GE(WaitForBarInStep(600), 0.0);
    struct Way {
        const char* name;
        UINT msg;
        WPARAM wParam;
    };
    const Way ways[] = {
        {"mouse wheel", WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA))},
        {"page down key", WM_KEYDOWN, VK_NEXT},
        {"programmatic", EM_SCROLL, SB_PAGEDOWN},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        const int before = ControlInfo(m_hControl, SB_VERT).nPos;
        ::SetFocus(m_hControl);
        POINT centre{100, 100};
        ::ClientToScreen(m_hControl, &centre);
        const LPARAM lParam = way.msg == WM_MOUSEWHEEL ? MAKELPARAM(centre.x, centre.y) : 1;
        ::SendMessageW(m_hControl, way.msg, way.wParam, lParam);
        ASSERT_GT(ControlInfo(m_hControl, SB_VERT).nPos, before) << "the control did not scroll";
        const double took = WaitForBarInStep(600);
        EXPECT_GE(took, 0.0) << "the skin bar never caught up";
        EXPECT_LE(took, 600.0);
    }
}

TEST_F(SkinScrollWndTest, SkinBarScrollsTheControlAndDragsItLive)
{
    CreateAgreementEdit();
    ASSERT_GE(WaitForBarInStep(600), 0.0);
    const HWND hBar = VertBar();
    const int length = FrameClient().bottom;

    MouseDown(hBar, {6, length - 6});
    MouseUp(hBar, {6, length - 6});
    const int afterLine = ControlInfo(m_hControl, SB_VERT).nPos;
    EXPECT_GT(afterLine, 0);
    EXPECT_EQ(BarInfo(hBar).nPos, afterLine) << "the bar got the control's new state at once";

    const ScrollExtent thumb = m_pFrame->VertBar().Geometry().PartExtent(kScrollPartThumb);
    const int grab = (thumb.start + thumb.end) / 2;
    MouseDown(hBar, {6, grab});
    MouseMove(hBar, {6, grab + 40});
    const int firstLine = static_cast<int>(::SendMessageW(m_hControl, EM_GETFIRSTVISIBLELINE, 0, 0));
    EXPECT_GT(firstLine, 0) << "the drag does not scroll the control live";
    const int track = BarInfo(hBar).nTrackPos;
    EXPECT_NE(track, -1);
    PumpFor(700);
    EXPECT_EQ(BarInfo(hBar).nTrackPos, track) << "the timer touched the dragged bar";
    EXPECT_TRUE(m_pFrame->VertBar().IsDragging());

    MouseUp(hBar, {6, grab + 40});
    const SCROLLINFO control = ControlInfo(m_hControl, SB_VERT);
    const SCROLLINFO bar = BarInfo(hBar);
    EXPECT_EQ(bar.nPos, control.nPos);
    EXPECT_EQ(bar.nTrackPos, -1);
    EXPECT_GT(control.nPos, afterLine);
}

TEST_F(SkinScrollWndTest, ResizingTheFrameRelaysTheControlTheClipWindowAndTheBar)
{
    CreateAgreementEdit();
    ::MoveWindow(m_hFrame, 10, 10, 250, 150, TRUE);
    PumpFor(100);
    const RECT client = FrameClient();
    ExpectRect(ChildRect(VertBar()), {client.right - kCell, 0, client.right, client.bottom},
               "vertical bar");
    ExpectRect(ChildRect(m_pFrame->LimitWindow()), {0, 0, client.right - kCell, client.bottom},
               "clip window");
    ExpectRect(ChildRect(m_hControl), client, "control");
}

TEST_F(SkinScrollWndTest, BothBarsMeetAtTheSizeBoxCorner)
{
    ASSERT_NE(CreateControl(L"EDIT", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE |
                                         ES_AUTOHSCROLL | ES_AUTOVSCROLL | ES_WANTRETURN),
              nullptr);
    Wrap();
    const RECT client = FrameClient();
    EXPECT_EQ(m_pFrame->CornerMode(), CSkinScrollWnd::kCornerBottomRight);
    ExpectRect(ChildRect(VertBar()), {client.right - kCell, 0, client.right, client.bottom - kCell},
               "vertical bar");
    ExpectRect(ChildRect(HorzBar()), {0, client.bottom - kCell, client.right - kCell, client.bottom},
               "horizontal bar");
    ExpectRect(ChildRect(m_pFrame->LimitWindow()),
               {0, 0, client.right - kCell, client.bottom - kCell}, "clip window");
    ::RedrawWindow(m_hFrame, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(ScreenPixel(m_hFrame, client.right - kCell + 9, client.bottom - kCell + 9),
              SkinPixel(m_hSkin, 8 * kCell + 9, 9));
}

TEST_F(SkinScrollWndTest, LeftScrollBarPutsTheBarAndTheCornerOnTheLeft)
{
    ASSERT_NE(CreateControl(L"EDIT", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE,
                            WS_EX_LEFTSCROLLBAR),
              nullptr);
    Wrap();
    const RECT client = FrameClient();
    EXPECT_EQ(m_pFrame->CornerMode(), CSkinScrollWnd::kCornerBottomLeft);
    ExpectRect(ChildRect(m_pFrame->LimitWindow()),
               {kCell, 0, client.right, client.bottom - kCell}, "clip window");
    EXPECT_EQ(ChildRect(VertBar()).right, kCell) << Text(ChildRect(VertBar()));
}

TEST_F(SkinScrollWndTest, ControlWithoutScrollStylesGetsNoBars)
{
    ASSERT_NE(CreateControl(L"EDIT", WS_CHILD | WS_VISIBLE | ES_MULTILINE), nullptr);
    Wrap();
    EXPECT_FALSE(::IsWindowVisible(VertBar()));
    EXPECT_FALSE(::IsWindowVisible(HorzBar()));
    ExpectRect(ChildRect(m_pFrame->LimitWindow()), FrameClient(), "clip window");
}

TEST_F(SkinScrollWndTest, ContentThatFitsDisablesTheBarAndMoreTextEnablesIt)
{
    // Wine's rich edit reports a range of 0 to 1 without a page for short text and leaves its
    // own bar enabled, so the plain edit stands in for a control with nothing to scroll.
    ASSERT_NE(CreateControl(L"EDIT", WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE), nullptr);
    ::SetWindowTextW(m_hControl, L"短");
    Wrap();
    ::InvalidateRect(m_hControl, nullptr, TRUE);
    PumpFor(600);
    const SCROLLINFO c = ControlInfo(m_hControl, SB_VERT);
    ASSERT_LT(c.nMax, static_cast<int>(c.nPage));
    EXPECT_TRUE(::IsWindowVisible(VertBar()));
    EXPECT_FALSE(::IsWindowEnabled(VertBar()));

    std::wstring lines;
    for (int i = 0; i < 60; ++i)
        lines += L"第" + std::to_wstring(i) + L"行\r\n";
    ::SetWindowTextW(m_hControl, lines.c_str());
    ::InvalidateRect(m_hControl, nullptr, TRUE);
    PumpFor(600);
    EXPECT_TRUE(::IsWindowEnabled(VertBar()));
}

TEST_F(SkinScrollWndTest, WithoutASkinTheControlKeepsItsSystemBars)
{
    ASSERT_NE(CreateControl(CRichEditCtrl::kClassName, kAgreementEditStyle), nullptr);
    EXPECT_EQ(AttachSkinScrollBars(m_hControl, nullptr, 1.0f, 0), nullptr);
    EXPECT_EQ(::GetParent(m_hControl), m_parent.Get());
    EXPECT_EQ(DetachSkinScrollBars(m_hControl), 1) << "a control without a frame is left alone";
    EXPECT_EQ(::GetParent(m_hControl), m_parent.Get());
}

TEST_F(SkinScrollWndTest, DestroyingTheControlRestoresItFirstAndRemovesTheFrame)
{
    ASSERT_NE(CreateControl(CRichEditCtrl::kClassName, kAgreementEditStyle), nullptr);
    g_destroy.ownProc = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(
        m_hControl, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordingControlProc)));
    Wrap();
    ASSERT_NE(reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(m_hControl, GWLP_WNDPROC)),
              &RecordingControlProc);
    ::DestroyWindow(m_hControl);
    EXPECT_TRUE(g_destroy.destroyed);
    EXPECT_EQ(g_destroy.procAtDestroy, &RecordingControlProc);
    EXPECT_EQ(g_destroy.parentAtDestroy, m_parent.Get());
    EXPECT_FALSE(::IsWindow(m_hFrame));
    EXPECT_EQ(::GetDlgItem(m_parent.Get(), kControlId), nullptr);
}

TEST_F(SkinScrollWndTest, DestroyingTheWindowThatHoldsTheControlLeavesNoFrame)
{
    ASSERT_NE(CreateControl(CRichEditCtrl::kClassName, kAgreementEditStyle), nullptr);
    g_destroy.ownProc = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(
        m_hControl, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordingControlProc)));
    Wrap();
    const HWND hLimit = m_pFrame->LimitWindow();
    const HWND hBar = VertBar();
    ::DestroyWindow(m_parent.Get());
    EXPECT_TRUE(g_destroy.destroyed);
    EXPECT_EQ(g_destroy.procAtDestroy, &RecordingControlProc);
    EXPECT_EQ(g_destroy.parentAtDestroy, m_parent.Get());
    for (HWND hWnd : {m_hFrame, hLimit, hBar, m_hControl})
        EXPECT_FALSE(::IsWindow(hWnd));
    // The message queue still works (no dangling frame is reached).
    PumpFor(600);
}

}  // namespace

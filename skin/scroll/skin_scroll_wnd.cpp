#include "skin_scroll_wnd.h"

#include "framework/memory_dc.h"
#include "framework/paint_dc.h"
#include "framework/select_object.h"

namespace {

constexpr wchar_t kFrameClassName[] = L"ZsrSkinScrollBarFrame";
constexpr wchar_t kFrameWindowName[] = L"SkinScrollBarFrame";
constexpr wchar_t kLimitWindowName[] = L"LIMIT";
// Range, page, position and track position.
constexpr UINT kSyncMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
// A style bit of the frame carried over from the original design; it has no meaning for
// the frame's own class.
constexpr DWORD kFrameExtraStyle = 0x100;
constexpr DWORD kToolFrameExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;

int SkinCell(HBITMAP hSkin)
{
    BITMAP bm{};
    if (!hSkin || !::GetObjectW(hSkin, sizeof(bm), &bm))
        return 0;
    return bm.bmWidth / kSkinColumns;
}

RECT WindowRectInParent(HWND hWnd)
{
    RECT rect{};
    ::GetWindowRect(hWnd, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(hWnd), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

bool HasVisibleStyle(const CWnd& wnd)
{
    return wnd.m_hWnd && (wnd.GetStyle() & WS_VISIBLE) != 0;
}

bool ScrollStateDiffers(const SCROLLINFO& a, const SCROLLINFO& b)
{
    return a.nMax != b.nMax || a.nMin != b.nMin || a.nPos != b.nPos || a.nPage != b.nPage;
}

// A control that keeps its bar when nothing needs scrolling (ES_DISABLENOSCROLL) disables
// that bar and may report a range of 0 to 1 with no page at all.
bool ControlBarDisabled(HWND hControl, int bar)
{
    SCROLLBARINFO info{};
    info.cbSize = sizeof(info);
    const LONG object = bar == SB_VERT ? OBJID_VSCROLL : OBJID_HSCROLL;
    return ::GetScrollBarInfo(hControl, object, &info) &&
           (info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE) != 0;
}

// The control's state goes into the skin bar; content that fits one page leaves nothing to
// scroll, and the bar then ignores the mouse.
void ApplyControlState(HWND hControl, int bar, CSkinScrollBar& skinBar, const SCROLLINFO& control)
{
    SCROLLINFO own{};
    skinBar.GetScrollInfo(&own, SIF_ALL);
    if (ScrollStateDiffers(control, own))
        skinBar.SetScrollInfo(control, TRUE);
    const BOOL enable =
        control.nMax >= static_cast<int>(control.nPage) && !ControlBarDisabled(hControl, bar);
    if (!skinBar.IsWindowEnabled() != !enable)
        skinBar.EnableWindow(enable);
}

bool ReadControlState(HWND hControl, int bar, SCROLLINFO& info)
{
    info = {};
    info.cbSize = sizeof(info);
    info.fMask = kSyncMask;
    return ::GetScrollInfo(hControl, bar, &info) != FALSE;
}

CSkinScrollWnd* FrameOf(HWND hControl)
{
    return reinterpret_cast<CSkinScrollWnd*>(::GetWindowLongPtrW(hControl, GWLP_USERDATA));
}

}  // namespace

CSkinScrollWnd* AttachSkinScrollBars(HWND hControl, HBITMAP hSkin, float scale, int thumbBorder)
{
    if (!::IsWindow(hControl) || SkinCell(hSkin) <= 0)
        return nullptr;
    // Wrapping twice would lose the first frame's procedure chain.
    if (reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hControl, GWLP_WNDPROC)) ==
        &CSkinScrollWnd::ControlProc)
        return FrameOf(hControl);
    auto* frame = new CSkinScrollWnd;
    frame->m_fScale = scale;
    frame->m_nThumbBorder = thumbBorder;
    if (!frame->Wrap(hControl, hSkin)) {
        delete frame;
        return nullptr;
    }
    return frame;
}

int DetachSkinScrollBars(HWND hControl)
{
    CSkinScrollWnd* frame = FrameOf(hControl);
    if (!frame || reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hControl, GWLP_WNDPROC)) !=
                      &CSkinScrollWnd::ControlProc)
        return 1;
    const HWND hFrame = frame->m_hWnd;
    const HWND hFrameParent = ::GetParent(hFrame);
    const RECT rect = WindowRectInParent(hFrame);
    ::SetWindowLongPtrW(hControl, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(frame->m_pfnOldProc));
    ::SetWindowLongPtrW(hControl, GWLP_USERDATA, 0);
    ::SetParent(hControl, hFrameParent);
    ::MoveWindow(hControl, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                 TRUE);
    frame->DestroyWindow();
    delete frame;
    return 1;
}

bool CSkinScrollWnd::Wrap(HWND hControl, HBITMAP hSkin)
{
    m_hSkin = hSkin;
    m_nThickness = static_cast<int>(static_cast<float>(SkinCell(hSkin)) * m_fScale);

    const HWND hParent = ::GetParent(hControl);
    const RECT frameRect = WindowRectInParent(hControl);
    int width = frameRect.right - frameRect.left;
    int height = frameRect.bottom - frameRect.top;
    const UINT id = static_cast<UINT>(::GetDlgCtrlID(hControl));
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(hControl, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(::GetWindowLongPtrW(hControl, GWL_EXSTYLE));

    // The frame carries the control's border; the control itself goes bare.
    DWORD frameStyle = WS_CHILD | kFrameExtraStyle | (style & WS_VISIBLE);
    if (style & WS_BORDER) {
        frameStyle |= WS_BORDER;
        width -= 2 * ::GetSystemMetrics(SM_CXBORDER);
        height -= 2 * ::GetSystemMetrics(SM_CXBORDER);
    }
    if (exStyle & WS_EX_CLIENTEDGE) {
        const int edge = static_cast<int>(2.0f * static_cast<float>(::GetSystemMetrics(SM_CXEDGE)) * m_fScale);
        width -= edge;
        height -= edge;
    }
    const DWORD frameExStyle = (exStyle & WS_EX_TOOLWINDOW) ? kToolFrameExStyle : 0;

    if (!RegisterWindowClass(kFrameClassName))
        return false;
    if (!CreateEx(frameExStyle, kFrameClassName, kFrameWindowName, frameStyle, frameRect, hParent, id))
        return false;
    if (!m_wndLimit.CreateEx(0, nullptr, kLimitWindowName, WS_CHILD | WS_VISIBLE, RECT{}, m_hWnd, kLimitId))
        return false;
    for (CSkinScrollBar* bar : {&m_sbHorz, &m_sbVert}) {
        bar->SetScale(m_fScale);
        bar->SetThumbBorder(m_nThumbBorder);
    }
    if (!m_sbHorz.Create(WS_CHILD, RECT{}, this, kHorzBarId) ||
        !m_sbVert.Create(WS_CHILD | SBS_VERT, RECT{}, this, kVertBarId))
        return false;
    m_sbHorz.SetSkinBitmap(hSkin);
    m_sbVert.SetSkinBitmap(hSkin);

    // Everything exists: only now is the control changed.
    if (style & WS_BORDER)
        ::SetWindowLongPtrW(hControl, GWL_STYLE, static_cast<LONG_PTR>(style & ~WS_BORDER));
    if (exStyle & WS_EX_CLIENTEDGE)
        ::SetWindowLongPtrW(hControl, GWL_EXSTYLE, static_cast<LONG_PTR>(exStyle & ~WS_EX_CLIENTEDGE));
    ::SetParent(hControl, m_wndLimit.m_hWnd);
    ::SetWindowLongPtrW(hControl, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_pfnOldProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hControl, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ControlProc)));
    // The frame change makes the control recompute its frame through the subclass, which
    // places the skin bars and asks for the layout.
    ::SetWindowPos(hControl, nullptr, 0, 0, width, height,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    SetTimer(kSyncTimer, kSyncMs);
    return true;
}

HWND CSkinScrollWnd::Control() const
{
    return m_wndLimit.m_hWnd ? ::GetWindow(m_wndLimit.m_hWnd, GW_CHILD) : nullptr;
}

LRESULT CALLBACK CSkinScrollWnd::ControlProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CSkinScrollWnd* frame = FrameOf(hWnd);
    if (!frame)
        return ::DefWindowProcW(hWnd, msg, wParam, lParam);
    const WNDPROC previous = frame->m_pfnOldProc;
    if (msg == WM_DESTROY) {
        // Procedure and parent go back before the control's own destroy handling runs.
        DetachSkinScrollBars(hWnd);
        return ::CallWindowProcW(previous, hWnd, msg, wParam, lParam);
    }
    const LRESULT result = ::CallWindowProcW(previous, hWnd, msg, wParam, lParam);
    // The message may have destroyed the control, and with it the frame.
    if (FrameOf(hWnd) != frame || frame->m_bBusy)
        return result;
    frame->AfterControlMessage(hWnd, msg, wParam, lParam);
    return result;
}

void CSkinScrollWnd::AfterControlMessage(HWND hControl, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_ERASEBKGND)
        SyncFromControl(hControl);
    else if (msg == WM_NCCALCSIZE && wParam)
        FitSystemBarRoom(hControl, reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam));
}

void CSkinScrollWnd::SyncFromControl(HWND hControl)
{
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(hControl, GWL_STYLE));
    SCROLLINFO info{};
    if ((style & WS_VSCROLL) && ReadControlState(hControl, SB_VERT, info))
        ApplyControlState(hControl, SB_VERT, m_sbVert, info);
    if ((style & WS_HSCROLL) && ReadControlState(hControl, SB_HORZ, info))
        ApplyControlState(hControl, SB_HORZ, m_sbHorz, info);
}

void CSkinScrollWnd::FitSystemBarRoom(HWND hControl, NCCALCSIZE_PARAMS* params)
{
    if (!params)
        return;
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(hControl, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(::GetWindowLongPtrW(hControl, GWL_EXSTYLE));
    const bool vertical = (style & WS_VSCROLL) != 0;
    const bool horizontal = (style & WS_HSCROLL) != 0;
    const bool leftBar = (exStyle & WS_EX_LEFTSCROLLBAR) != 0;
    const int t = m_nThickness;
    RECT& r = params->rgrc[0];
    // The system made room for its own bars; the skin bars need only their thickness.
    if (vertical) {
        const int v = ::GetSystemMetrics(SM_CXVSCROLL);
        if (leftBar)
            r.left += t - v;
        else
            r.right += v - t;
    }
    if (horizontal)
        r.bottom += ::GetSystemMetrics(SM_CYHSCROLL) - t;

    const RECT vertRect = leftBar ? RECT{r.left - t, 0, r.left, r.bottom}
                                  : RECT{r.right, 0, r.right + t, r.bottom};
    const RECT horzRect = leftBar ? RECT{r.left, r.bottom, r.right, r.bottom + t}
                                  : RECT{0, r.bottom, r.right, r.bottom + t};
    m_nCornerMode = vertical && horizontal ? (leftBar ? kCornerBottomLeft : kCornerBottomRight)
                                           : kCornerNone;
    m_sbVert.MoveWindow(vertRect, TRUE);
    m_sbVert.ShowWindow(vertical ? SW_SHOW : SW_HIDE);
    m_sbHorz.MoveWindow(horzRect, TRUE);
    m_sbHorz.ShowWindow(horizontal ? SW_SHOW : SW_HIDE);
    PostMessage(kLayoutMessage, style & WS_VSCROLL, exStyle & WS_EX_LEFTSCROLLBAR);
}

bool CSkinScrollWnd::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (msg == kLayoutMessage) {
        result = OnLayout(wParam != 0, lParam != 0);
        return true;
    }
    return CWnd::OnMessage(msg, wParam, lParam, result);
}

LRESULT CSkinScrollWnd::OnLayout(bool vertical, bool leftScrollBar)
{
    m_bBusy = 1;
    RECT control = GetClientRect();
    RECT clip = control;
    if (HasVisibleStyle(m_sbHorz))
        clip.bottom -= m_nThickness;
    if (vertical && leftScrollBar) {
        clip.left += m_nThickness;
        ::OffsetRect(&control, -m_nThickness, 0);
    } else if (vertical) {
        clip.right -= m_nThickness;
    }
    // The control keeps the frame's size; the clip window hides its own scroll-bar room.
    m_wndLimit.MoveWindow(clip, TRUE);
    if (const HWND hControl = Control())
        ::SetWindowPos(hControl, nullptr, control.left, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_bBusy = 0;
    return 0;
}

void CSkinScrollWnd::OnSize(UINT type, int cx, int cy)
{
    CWnd::OnSize(type, cx, cy);
    if (cx == 0 || cy == 0 || !m_wndLimit.m_hWnd)
        return;
    if (const HWND hControl = Control())
        ::SetWindowPos(hControl, nullptr, 0, 0, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CSkinScrollWnd::OnVScroll(UINT code, UINT pos, HWND hScrollBar)
{
    if (hScrollBar && hScrollBar == m_sbVert.m_hWnd)
        ForwardScroll(WM_VSCROLL, SB_VERT, m_sbVert, code, pos);
    else
        CWnd::OnVScroll(code, pos, hScrollBar);
}

void CSkinScrollWnd::OnHScroll(UINT code, UINT pos, HWND hScrollBar)
{
    if (hScrollBar && hScrollBar == m_sbHorz.m_hWnd)
        ForwardScroll(WM_HSCROLL, SB_HORZ, m_sbHorz, code, pos);
    else
        CWnd::OnHScroll(code, pos, hScrollBar);
}

void CSkinScrollWnd::ForwardScroll(UINT msg, int bar, CSkinScrollBar& skinBar, UINT code, UINT pos)
{
    const HWND hControl = Control();
    if (!hControl)
        return;
    // As if from the control's own bar; meanwhile the control's repaints must not copy a
    // half-done state back.
    m_bBusy = 1;
    ::SendMessageW(hControl, msg, MAKEWPARAM(code, pos), 0);
    m_bBusy = 0;
    if (code == SB_THUMBTRACK)
        return;
    SCROLLINFO info{};
    if (ReadControlState(hControl, bar, info))
        skinBar.SetScrollInfo(info, TRUE);
}

void CSkinScrollWnd::OnTimer(UINT_PTR id)
{
    if (id != kSyncTimer) {
        CWnd::OnTimer(id);
        return;
    }
    const HWND hControl = Control();
    if (!hControl)
        return;
    SyncBarOnTimer(hControl, SB_VERT, m_sbVert);
    SyncBarOnTimer(hControl, SB_HORZ, m_sbHorz);
}

void CSkinScrollWnd::SyncBarOnTimer(HWND hControl, int bar, CSkinScrollBar& skinBar)
{
    // A dragged bar shows the drag, not the control.
    if (!HasVisibleStyle(skinBar) || skinBar.IsDragging())
        return;
    SCROLLINFO info{};
    if (ReadControlState(hControl, bar, info))
        ApplyControlState(hControl, bar, skinBar, info);
}

void CSkinScrollWnd::OnPaint()
{
    CPaintDC dc(m_hWnd);
    const int cell = SkinCell(m_hSkin);
    if (m_nCornerMode == kCornerNone || cell <= 0)
        return;
    CMemoryDC skinDC(dc);
    CSelectObject select(skinDC, m_hSkin);
    if (!select)
        return;
    const RECT client = GetClientRect();
    const int t = m_nThickness;
    const int row = m_nCornerMode == kCornerBottomRight ? 0 : 1;
    const int x = m_nCornerMode == kCornerBottomRight ? client.right - t : 0;
    const int previousMode = ::SetStretchBltMode(dc, COLORONCOLOR);
    ::StretchBlt(dc, x, client.bottom - t, t, t, skinDC, kSkinSizeBoxColumn * cell, row * cell,
                 cell, cell, SRCCOPY);
    if (previousMode)
        ::SetStretchBltMode(dc, previousMode);
}

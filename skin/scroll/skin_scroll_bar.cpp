#include "skin_scroll_bar.h"

#include <commctrl.h>

#include "framework/client_dc.h"
#include "framework/memory_dc.h"
#include "framework/paint_dc.h"
#include "framework/select_object.h"

namespace {

bool IsArrow(int part)
{
    return part == kScrollPartLineUp || part == kScrollPartLineDown;
}

// The skin selected into a memory context compatible with the target, for one drawing pass.
class CSkinSource {
public:
    CSkinSource(HDC hTarget, HBITMAP hSkin) noexcept : m_dc(hTarget), m_select(m_dc, hSkin) {}
    explicit operator bool() const noexcept { return static_cast<bool>(m_select); }
    HDC Get() const noexcept { return m_dc.Get(); }

private:
    CMemoryDC m_dc;
    CSelectObject m_select;
};

// Stretched copies look best without the default's pixel merging; the target gets its own
// mode back afterwards.
class CStretchMode {
public:
    explicit CStretchMode(HDC hdc) noexcept : m_hDC(hdc), m_nPrevious(::SetStretchBltMode(hdc, COLORONCOLOR)) {}
    ~CStretchMode()
    {
        if (m_nPrevious)
            ::SetStretchBltMode(m_hDC, m_nPrevious);
    }
    CStretchMode(const CStretchMode&) = delete;
    CStretchMode& operator=(const CStretchMode&) = delete;

private:
    HDC m_hDC;
    int m_nPrevious;
};

}  // namespace

CSkinScrollBar::CSkinScrollBar() noexcept
{
    m_si.cbSize = sizeof(m_si);
    m_si.nTrackPos = -1;
}

void CSkinScrollBar::SetSkinBitmap(HBITMAP hSkin)
{
    m_hSkin = hSkin;
    BITMAP bm{};
    m_nCell = hSkin && ::GetObjectW(hSkin, sizeof(bm), &bm) ? bm.bmWidth / kSkinColumns : 0;
    if (!m_hWnd)
        return;
    RECT rect = GetWindowRect();
    ::MapWindowPoints(nullptr, GetParent(), reinterpret_cast<POINT*>(&rect), 2);
    if (Vertical())
        rect.right = rect.left + m_nCell;
    else
        rect.bottom = rect.top + m_nCell;
    MoveWindow(rect, TRUE);
}

CScrollBarGeometry CSkinScrollBar::Geometry() const
{
    ScrollBarMetrics metrics;
    metrics.cell = m_hSkin ? m_nCell : 0;
    metrics.length = m_nLength;
    metrics.scale = m_fScale;
    metrics.thumbBorder = m_nThumbBorder;
    metrics.minimum = m_si.nMin;
    metrics.maximum = m_si.nMax;
    metrics.page = m_si.nPage;
    metrics.position = m_si.nPos;
    metrics.trackPosition = m_si.nTrackPos;
    return CScrollBarGeometry(metrics);
}

void CSkinScrollBar::PreSubclassWindow()
{
    CScrollBar::PreSubclassWindow();
    // Created before it was hooked: the first size change went by unseen.
    const RECT client = GetClientRect();
    m_nLength = Vertical() ? client.bottom : client.right;
}

bool CSkinScrollBar::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (msg) {
    // The system's bar procedure would draw and track itself: it never sees these.
    case SBM_SETSCROLLINFO:
        result = SetInfo(static_cast<BOOL>(wParam), reinterpret_cast<const SCROLLINFO*>(lParam));
        return true;
    case SBM_GETSCROLLINFO:
        result = GetInfo(reinterpret_cast<SCROLLINFO*>(lParam));
        return true;
    // The first click already pressed the part; the second press of a double click is dropped.
    case WM_LBUTTONDBLCLK:
        result = 1;
        return true;
    case WM_ENABLE:
        Invalidate(FALSE);
        result = 0;
        return true;
    case WM_CAPTURECHANGED:
        if (!m_bReleasing && reinterpret_cast<HWND>(lParam) != m_hWnd &&
            (m_bDragging || m_nPressedPart != kScrollPartNone)) {
            EndPress({-1, -1});
        }
        result = 0;
        return true;
    default:
        return CScrollBar::OnMessage(msg, wParam, lParam, result);
    }
}

LRESULT CSkinScrollBar::SetInfo(BOOL redraw, const SCROLLINFO* info)
{
    if (!info)
        return 0;
    if (info->fMask & SIF_PAGE)
        m_si.nPage = info->nPage;
    if (info->fMask & SIF_POS)
        m_si.nPos = info->nPos;
    if (info->fMask & SIF_RANGE) {
        m_si.nMin = info->nMin;
        m_si.nMax = info->nMax;
    }
    if (redraw && m_hSkin && m_hWnd) {
        CClientDC dc(m_hWnd);
        CSkinSource skin(dc, m_hSkin);
        if (dc && skin) {
            const CScrollBarGeometry g = Geometry();
            const bool vertical = Vertical();
            TileTrack(dc, skin.Get(), g.PartRect(kScrollPartPageUp, vertical));
            DrawThumb(dc, skin.Get(), g.PartRect(kScrollPartThumb, vertical), kSkinRowNormal);
            TileTrack(dc, skin.Get(), g.PartRect(kScrollPartPageDown, vertical));
        }
    }
    return 1;
}

LRESULT CSkinScrollBar::GetInfo(SCROLLINFO* info) const
{
    if (!info)
        return 0;
    if (info->fMask & SIF_PAGE)
        info->nPage = m_si.nPage;
    if (info->fMask & SIF_POS)
        info->nPos = m_si.nPos;
    if (info->fMask & SIF_TRACKPOS)
        info->nTrackPos = m_si.nTrackPos;
    if (info->fMask & SIF_RANGE) {
        info->nMin = m_si.nMin;
        info->nMax = m_si.nMax;
    }
    return 1;
}

void CSkinScrollBar::Notify(int code, int position)
{
    const UINT msg = Vertical() ? WM_VSCROLL : WM_HSCROLL;
    const WPARAM wParam = MAKEWPARAM(static_cast<WORD>(code), static_cast<WORD>(position & 0xFFFF));
    ::SendMessageW(GetParent(), msg, wParam, reinterpret_cast<LPARAM>(m_hWnd));
}

void CSkinScrollBar::OnPaint()
{
    CPaintDC dc(m_hWnd);
    Paint(dc);
}

void CSkinScrollBar::OnPrintClient(HDC hdc, UINT)
{
    Paint(hdc);
}

BOOL CSkinScrollBar::OnEraseBkgnd(HDC hdc)
{
    // The skin covers the whole bar; without one the system erases as usual.
    if (m_hSkin)
        return TRUE;
    return CScrollBar::OnEraseBkgnd(hdc);
}

void CSkinScrollBar::OnSize(UINT type, int cx, int cy)
{
    CScrollBar::OnSize(type, cx, cy);
    m_nLength = Vertical() ? cy : cx;
}

void CSkinScrollBar::OnLButtonDown(UINT, POINT point)
{
    ::SetCapture(m_hWnd);
    const int part = Geometry().HitTest(Along(point));
    if (part == kScrollPartThumb) {
        m_bDragging = 1;
        m_ptDragOrigin = point;
        m_si.nTrackPos = m_si.nPos;
        m_nDragStartPos = m_si.nPos;
        return;
    }
    if (part == kScrollPartNone)
        return;
    m_nPressedPart = part;
    Notify(part);
    SetTimer(kDelayTimer, kDelayMs);
    m_bOutside = 0;
    if (IsArrow(part))
        RedrawPart(part, kSkinRowPressed);
}

void CSkinScrollBar::OnMouseMove(UINT, POINT point)
{
    HandleMouseMove(point, false);
}

void CSkinScrollBar::HandleMouseMove(POINT point, bool fromLeave)
{
    if (!m_bTrackingLeave && !fromLeave) {
        TRACKMOUSEEVENT tme{};
        tme.cbSize = sizeof(tme);
        tme.dwFlags = TME_LEAVE;
        tme.hwndTrack = m_hWnd;
        tme.dwHoverTime = 1;
        m_bTrackingLeave = ::_TrackMouseEvent(&tme) ? 1 : 0;
    }
    if (m_bDragging) {
        // The captured moves drive the drag; a leave notice carries no position to follow.
        if (!fromLeave)
            DragTo(point);
        return;
    }
    if (m_nPressedPart == kScrollPartNone)
        TrackHot(point);
    else
        TrackPressed(point);
}

void CSkinScrollBar::DragTo(POINT point)
{
    const bool vertical = Vertical();
    const CScrollBarGeometry before = Geometry();
    const int delta = vertical ? point.y - m_ptDragOrigin.y : point.x - m_ptDragOrigin.x;
    const int position = before.DragPosition(m_nDragStartPos, delta);
    if (position == m_si.nTrackPos)
        return;
    const SkinRect oldThumb = before.PartRect(kScrollPartThumb, vertical);
    m_si.nTrackPos = position;
    const CScrollBarGeometry after = Geometry();
    const SkinRect newThumb = after.PartRect(kScrollPartThumb, vertical);
    if (m_hSkin) {
        CClientDC dc(m_hWnd);
        CSkinSource skin(dc, m_hSkin);
        if (dc && skin) {
            // Only the strip the thumb has left needs the track again.
            const int oldStart = vertical ? oldThumb.y : oldThumb.x;
            const int oldEnd = oldStart + (vertical ? oldThumb.height : oldThumb.width);
            const int newStart = vertical ? newThumb.y : newThumb.x;
            const int newEnd = newStart + (vertical ? newThumb.height : newThumb.width);
            const int from = newStart > oldStart ? oldStart : newEnd;
            const int to = newStart > oldStart ? newStart : oldEnd;
            const int thickness = after.Thickness();
            const SkinRect strip = vertical ? SkinRect{0, from, thickness, to - from}
                                            : SkinRect{from, 0, to - from, thickness};
            TileTrack(dc, skin.Get(), strip);
            DrawThumb(dc, skin.Get(), newThumb, kSkinRowPressed);
        }
    }
    Notify(kScrollPartThumb, position);
}

void CSkinScrollBar::TrackHot(POINT point)
{
    const int part = Geometry().HitTest(Along(point));
    if (part == m_nHotPart)
        return;
    RedrawPart(m_nHotPart, kSkinRowNormal);
    RedrawPart(part, kSkinRowHot);
    m_nHotPart = part;
}

void CSkinScrollBar::TrackPressed(POINT point)
{
    const SkinRect rect = Geometry().PartRect(m_nPressedPart, Vertical());
    const int outside = rect.Contains(point.x, point.y) ? 0 : 1;
    if (outside == m_bOutside)
        return;
    m_bOutside = outside;
    if (IsArrow(m_nPressedPart))
        RedrawPart(m_nPressedPart, outside ? kSkinRowNormal : kSkinRowPressed);
}

void CSkinScrollBar::OnLButtonUp(UINT, POINT point)
{
    m_bReleasing = true;
    ::ReleaseCapture();
    m_bReleasing = false;
    EndPress(point);
}

void CSkinScrollBar::EndPress(POINT point)
{
    if (!m_bDragging) {
        if (m_nPressedPart == kScrollPartNone)
            return;
        StopTimers();
        const int part = m_nPressedPart;
        m_nPressedPart = kScrollPartNone;
        RedrawPart(part, kSkinRowNormal);
        // The next move shows the hot look afresh.
        m_nHotPart = kScrollPartNone;
        return;
    }
    m_bDragging = 0;
    Notify(kScrollPartThumbPosition, m_si.nTrackPos);
    const bool vertical = Vertical();
    CClientDC dc(m_hWnd);
    CSkinSource skin(dc, m_hSkin);
    const bool canDraw = m_hSkin && dc && skin;
    if (canDraw && m_si.nTrackPos != m_si.nPos)
        TileTrack(dc, skin.Get(), Geometry().PartRect(kScrollPartThumb, vertical));
    m_si.nTrackPos = -1;
    const SkinRect thumb = Geometry().PartRect(kScrollPartThumb, vertical);
    const bool hot = thumb.Contains(point.x, point.y);
    m_nHotPart = hot ? kScrollPartThumb : kScrollPartNone;
    if (canDraw)
        DrawThumb(dc, skin.Get(), thumb, hot ? kSkinRowHot : kSkinRowNormal);
}

void CSkinScrollBar::StopTimers()
{
    if (m_bRepeating) {
        KillTimer(kRepeatTimer);
        m_bRepeating = 0;
    } else {
        KillTimer(kDelayTimer);
    }
}

void CSkinScrollBar::OnMouseLeave()
{
    m_bTrackingLeave = 0;
    HandleMouseMove({-1, -1}, true);
}

void CSkinScrollBar::OnTimer(UINT_PTR id)
{
    if (id == kDelayTimer) {
        m_bRepeating = 1;
        KillTimer(kDelayTimer);
        SetTimer(kRepeatTimer, kRepeatMs);
        RepeatTick();
    } else if (id == kRepeatTimer) {
        RepeatTick();
    }
}

void CSkinScrollBar::RepeatTick()
{
    if (m_bOutside || m_nPressedPart < kScrollPartLineUp || m_nPressedPart > kScrollPartPageDown)
        return;
    const CScrollBarGeometry g = Geometry();
    switch (m_nPressedPart) {
    case kScrollPartLineUp:
        if (m_si.nPos <= m_si.nMin)
            KillTimer(kRepeatTimer);
        else
            Notify(kScrollPartLineUp);
        break;
    case kScrollPartLineDown:
        if (m_si.nPos >= g.LargestPosition())
            KillTimer(kRepeatTimer);
        else
            Notify(kScrollPartLineDown);
        break;
    default: {
        POINT cursor{};
        ::GetCursorPos(&cursor);
        ScreenToClient(&cursor);
        // Paging ends once the thumb has reached the cursor, also when its last step went
        // past it.
        const ScrollExtent thumb = g.PartExtent(kScrollPartThumb);
        const int along = Along(cursor);
        const bool reached = m_nPressedPart == kScrollPartPageDown ? along < thumb.end
                                                                   : along >= thumb.start;
        if (reached)
            KillTimer(kRepeatTimer);
        else
            Notify(m_nPressedPart);
        break;
    }
    }
}

void CSkinScrollBar::Paint(HDC hdc) const
{
    if (!m_hSkin)
        return;
    CSkinSource skin(hdc, m_hSkin);
    if (!skin)
        return;
    const CScrollBarGeometry g = Geometry();
    const bool vertical = Vertical();
    DrawPart(hdc, skin.Get(), g, kScrollPartLineUp, kSkinRowNormal);
    DrawPart(hdc, skin.Get(), g, kScrollPartLineDown, kSkinRowNormal);
    DrawThumb(hdc, skin.Get(), g.PartRect(kScrollPartThumb, vertical), kSkinRowNormal);
    TileTrack(hdc, skin.Get(), g.PartRect(kScrollPartPageUp, vertical));
    TileTrack(hdc, skin.Get(), g.PartRect(kScrollPartPageDown, vertical));
}

void CSkinScrollBar::Blit(HDC hdc, HDC hSkinDC, const SkinBlit& blit) const
{
    const SkinRect& d = blit.dest;
    const SkinRect& s = blit.source;
    if (d.Empty() || s.Empty())
        return;
    if (d.width == s.width && d.height == s.height) {
        ::BitBlt(hdc, d.x, d.y, d.width, d.height, hSkinDC, s.x, s.y, SRCCOPY);
        return;
    }
    CStretchMode mode(hdc);
    ::StretchBlt(hdc, d.x, d.y, d.width, d.height, hSkinDC, s.x, s.y, s.width, s.height, SRCCOPY);
}

void CSkinScrollBar::DrawPart(HDC hdc, HDC hSkinDC, const CScrollBarGeometry& g, int part,
                              int row) const
{
    const bool vertical = Vertical();
    Blit(hdc, hSkinDC,
         {g.PartRect(part, vertical), CScrollBarGeometry::SkinCell(part, row, vertical, m_nCell)});
}

void CSkinScrollBar::DrawThumb(HDC hdc, HDC hSkinDC, const SkinRect& rect, int row) const
{
    const bool vertical = Vertical();
    const SkinRect cell = CScrollBarGeometry::SkinCell(kScrollPartThumb, row, vertical, m_nCell);
    for (const SkinBlit& piece :
         CScrollBarGeometry::ThumbPieces(rect, cell, vertical, m_nThumbBorder, m_fScale))
        Blit(hdc, hSkinDC, piece);
}

void CSkinScrollBar::TileTrack(HDC hdc, HDC hSkinDC, const SkinRect& rect) const
{
    const SkinRect cell =
        CScrollBarGeometry::SkinCell(kScrollPartPageUp, kSkinRowNormal, Vertical(), m_nCell);
    for (const SkinBlit& tile : CScrollBarGeometry::Tile(rect, cell, m_fScale))
        Blit(hdc, hSkinDC, tile);
}

void CSkinScrollBar::RedrawPart(int part, int row)
{
    if (!m_hSkin || !(IsArrow(part) || part == kScrollPartThumb))
        return;
    CClientDC dc(m_hWnd);
    CSkinSource skin(dc, m_hSkin);
    if (!dc || !skin)
        return;
    const CScrollBarGeometry g = Geometry();
    if (part == kScrollPartThumb)
        DrawThumb(dc, skin.Get(), g.PartRect(kScrollPartThumb, Vertical()), row);
    else
        DrawPart(dc, skin.Get(), g, part, row);
}

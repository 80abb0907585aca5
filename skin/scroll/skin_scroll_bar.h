#pragma once
// A scroll bar drawn entirely from a 9 x 3 skin grid that also does all of its own mouse
// handling (arrows with auto-repeat, track paging, a draggable proportional thumb, hot and
// pressed looks). It notifies its parent with WM_VSCROLL / WM_HSCROLL like a system bar and
// keeps its own copy of the scroll information (SBM_SETSCROLLINFO / SBM_GETSCROLLINFO).
#include "framework/scroll_bar.h"
#include "scroll_bar_geometry.h"

class CSkinScrollBar : public CScrollBar {
public:
    // Timer ids and periods of the auto-repeat.
    static constexpr UINT_PTR kDelayTimer = 200;
    static constexpr UINT_PTR kRepeatTimer = 100;
    static constexpr UINT kDelayMs = 500;
    static constexpr UINT kRepeatMs = 100;

    CSkinScrollBar() noexcept;

    // Borrowed: the bar never deletes it. Resizes the bar to one cell across its axis.
    void SetSkinBitmap(HBITMAP hSkin);
    // Set before the window is created.
    void SetScale(float scale) noexcept { m_fScale = scale; }
    void SetThumbBorder(int border) noexcept { m_nThumbBorder = border; }

    bool IsDragging() const noexcept { return m_bDragging != 0; }
    // The geometry of the bar as it stands (orientation read from the style).
    CScrollBarGeometry Geometry() const;

protected:
    void PreSubclassWindow() override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnPaint() override;
    void OnPrintClient(HDC hdc, UINT flags) override;
    BOOL OnEraseBkgnd(HDC hdc) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnLButtonDown(UINT flags, POINT point) override;
    void OnMouseMove(UINT flags, POINT point) override;
    void OnLButtonUp(UINT flags, POINT point) override;
    void OnMouseLeave() override;
    void OnTimer(UINT_PTR id) override;

private:
    LRESULT SetInfo(BOOL redraw, const SCROLLINFO* info);
    LRESULT GetInfo(SCROLLINFO* info) const;

    bool Vertical() const { return IsVertical(); }
    int Along(POINT point) const { return Vertical() ? point.y : point.x; }
    void Notify(int code, int position = 0);

    void HandleMouseMove(POINT point, bool fromLeave);
    void DragTo(POINT point);
    void TrackHot(POINT point);
    void TrackPressed(POINT point);
    // Ends a press or a drag: at the button's release, or when the capture is taken away.
    void EndPress(POINT point);
    void StopTimers();
    void RepeatTick();

    // Drawing, straight from the skin onto a target context.
    void Paint(HDC hdc) const;
    void Blit(HDC hdc, HDC hSkinDC, const SkinBlit& blit) const;
    void DrawPart(HDC hdc, HDC hSkinDC, const CScrollBarGeometry& g, int part, int row) const;
    void DrawThumb(HDC hdc, HDC hSkinDC, const SkinRect& rect, int row) const;
    void TileTrack(HDC hdc, HDC hSkinDC, const SkinRect& rect) const;
    // Redraws one arrow, or the thumb, on a window context.
    void RedrawPart(int part, int row);

    HBITMAP m_hSkin = nullptr;
    int m_nCell = 0;
    int m_nLength = 0;
    SCROLLINFO m_si{};
    int m_bDragging = 0;
    POINT m_ptDragOrigin{};
    int m_nDragStartPos = 0;
    int m_nPressedPart = kScrollPartNone;
    int m_bRepeating = 0;
    int m_nHotPart = kScrollPartNone;
    int m_bOutside = 0;
    int m_bTrackingLeave = 0;
    float m_fScale = 1.0f;
    int m_nThumbBorder = 0;
    // Set while the bar itself releases the capture, so that only a capture taken away
    // by someone else ends the press early.
    bool m_bReleasing = false;
};

#pragma once
// Gives a scrollable control skinned scroll bars without touching its code: a frame window
// takes the control's place, the control moves into a clip window inside it so that its own
// system bars fall outside the visible area, and two CSkinScrollBar stand where those bars
// would be. The control is subclassed to keep the skin bars in step with its scroll state;
// the whole arrangement removes itself when the control is destroyed.
#include "framework/wnd.h"
#include "skin_scroll_bar.h"

class CSkinScrollWnd;

// Wraps `hControl`; returns the frame, which belongs to the control from then on (it is
// deleted when the control is destroyed). Null when there is no skin or the frame could not
// be built: the control then keeps its system bars.
CSkinScrollWnd* AttachSkinScrollBars(HWND hControl, HBITMAP hSkin, float scale, int thumbBorder);
// Undoes the wrapping; does nothing for a control without a frame. Always 1.
int DetachSkinScrollBars(HWND hControl);

class CSkinScrollWnd : public CWnd {
public:
    // Posted by the control's subclass procedure after each frame-size calculation.
    static constexpr UINT kLayoutMessage = 1124;
    static constexpr UINT kHorzBarId = 100;
    static constexpr UINT kVertBarId = 101;
    static constexpr UINT kLimitId = 200;
    static constexpr UINT_PTR kSyncTimer = 100;
    static constexpr UINT kSyncMs = 500;

    // Corner modes: where the size-box cell is drawn.
    static constexpr int kCornerNone = 0;
    static constexpr int kCornerBottomLeft = 1;
    static constexpr int kCornerBottomRight = 2;

    CSkinScrollWnd() noexcept = default;

    CSkinScrollBar& HorzBar() noexcept { return m_sbHorz; }
    CSkinScrollBar& VertBar() noexcept { return m_sbVert; }
    HWND LimitWindow() const noexcept { return m_wndLimit.m_hWnd; }
    int Thickness() const noexcept { return m_nThickness; }
    int CornerMode() const noexcept { return m_nCornerMode; }

protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnVScroll(UINT code, UINT pos, HWND hScrollBar) override;
    void OnHScroll(UINT code, UINT pos, HWND hScrollBar) override;
    void OnPaint() override;
    void OnTimer(UINT_PTR id) override;

private:
    friend CSkinScrollWnd* AttachSkinScrollBars(HWND, HBITMAP, float, int);
    friend int DetachSkinScrollBars(HWND);

    bool Wrap(HWND hControl, HBITMAP hSkin);
    HWND Control() const;
    static LRESULT CALLBACK ControlProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void AfterControlMessage(HWND hControl, UINT msg, WPARAM wParam, LPARAM lParam);
    void SyncFromControl(HWND hControl);
    void FitSystemBarRoom(HWND hControl, NCCALCSIZE_PARAMS* params);
    LRESULT OnLayout(bool vertical, bool leftScrollBar);
    void ForwardScroll(UINT msg, int bar, CSkinScrollBar& skinBar, UINT code, UINT pos);
    void SyncBarOnTimer(HWND hControl, int bar, CSkinScrollBar& skinBar);

    int m_nThickness = 16;
    CSkinScrollBar m_sbHorz;
    CSkinScrollBar m_sbVert;
    CWnd m_wndLimit;
    HBITMAP m_hSkin = nullptr;
    int m_bBusy = 0;
    int m_nCornerMode = kCornerNone;
    float m_fScale = 1.0f;
    int m_nThumbBorder = 0;
    WNDPROC m_pfnOldProc = nullptr;
};

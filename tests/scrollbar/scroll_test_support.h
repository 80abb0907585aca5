#pragma once
// Test helpers for the skinned scroll bars: a millisecond clock, the skin from disk, a parent
// window that records scroll notifications and moves the bar like the frame would.
#include <windows.h>

#include <string>
#include <vector>

#include "support/message_pump.h"

double NowMs();

// The skin bitmap 130 as the program carries it, loaded from a copy beside the tests.
HBITMAP LoadTestSkin();
// One pixel of the skin bitmap.
COLORREF SkinPixel(HBITMAP hSkin, int x, int y);
// One pixel of a window as it is on screen.
COLORREF ScreenPixel(HWND hWnd, int x, int y);

// Moves the real cursor there and tells the window, so the system's own leave tracking
// agrees with the synthetic mouse.
void MouseMove(HWND hWnd, POINT client);
void MouseDown(HWND hWnd, POINT client);
void MouseUp(HWND hWnd, POINT client);

std::string MessageName(UINT msg);
std::string ScrollCodeName(int code);

struct ScrollNotice {
    UINT msg;
    int code;
    int pos;
    double atMs;
};

// A visible top-level window that records every WM_VSCROLL / WM_HSCROLL from its bars and,
// when `followBar` is set, applies the code to the sending bar's scroll information the
// way the frame does for a control (line 1, page = page size, thumb position).
class CRecordingParent {
public:
    CRecordingParent(int width = 300, int height = 300);
    ~CRecordingParent();
    CRecordingParent(const CRecordingParent&) = delete;
    CRecordingParent& operator=(const CRecordingParent&) = delete;

    HWND Get() const { return m_hWnd; }
    std::vector<ScrollNotice> notices;
    bool followBar = true;

private:
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void OnScroll(UINT msg, WPARAM wParam, HWND hBar);

    HWND m_hWnd = nullptr;
};

std::string Describe(const std::vector<ScrollNotice>& notices);

#pragma once
// Helpers for driving the popups under a real modal loop: pumping, pixel captures of a
// window's own painting or of the screen, and finding a thread's windows.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "support/message_pump.h"

constexpr UINT kRunChecksMessage = WM_APP + 7;

struct CPixels {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> bgra;  // top-down rows
  COLORREF At(int x, int y) const {
    const std::uint32_t p = bgra[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
  bool operator==(const CPixels&) const = default;
};

// What the window paints for WM_PRINTCLIENT over a canvas filled with `marker`.
CPixels PrintClient(HWND hWnd, COLORREF marker);
// The screen's pixels in `rect` (screen coordinates).
CPixels CaptureScreen(const RECT& rect);


// The visible top-level windows of a thread whose dialog template id is unknown to us: found
// by their window rectangle's size.
HWND FindThreadWindowOfSize(DWORD threadId, int width, int height);

RECT WindowRectOf(HWND hWnd);
RECT ScreenRectOfChild(HWND dialog, int id);
// A child's rectangle in its dialog's client coordinates.
RECT ClientRectOfChild(HWND dialog, int id);

// A modal dialog class that runs `m_onRunning` once its modal loop is running, and again
// (with the next stage number) each time kRunChecksMessage is posted to it.
template <class Base>
class CRunningDlg : public Base {
 public:
  using Base::Base;
  std::function<void()> m_onRunning;
  int m_nStage = -1;

 protected:
  BOOL OnInitDialog() override {
    const BOOL result = Base::OnInitDialog();
    this->PostMessage(kRunChecksMessage);
    return result;
  }
  bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (msg != kRunChecksMessage) return Base::OnMessage(msg, wParam, lParam, result);
    ++m_nStage;
    if (m_onRunning) m_onRunning();
    result = 0;
    return true;
  }
};

#pragma once
// The progress popup's status line: draws a text member of its own over a slice of its
// owner's background picture. A new text becomes the window's text as well (other programs,
// screen readers among them, read the line there) and is repainted at once; besides, a worker
// thread invalidates the control every 600 ms while the animation runs.
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "framework/gdi_object.h"
#include "framework/static.h"

namespace Gdiplus {
class Image;
}

class CDrawStateInfoStatic : public CStatic {
 public:
  CDrawStateInfoStatic() noexcept;
  // Ends the worker before the control's memory goes.
  ~CDrawStateInfoStatic() override;

  void InitFont();
  void SetAlignment(int mode) { m_nMode = mode; }
  void SetForeColor(COLORREF color);
  // Not owned: the owner's own picture, which outlives the control's painting.
  void SetBackImage(Gdiplus::Image* image) { m_pBackImage = image; }
  void SetBackSourceRect(int left, int top, int right, int bottom) { m_rcBackSource = {left, top, right, bottom}; }
  void SetText(const std::wstring& text);
  const std::wstring& GetText() const { return m_strText; }

  void StartAnimation();
  // Wakes the worker at once and waits for it to end; then invalidates once more.
  void StopAnimation();
  bool IsAnimating() const { return m_worker.joinable(); }

  void Paint(HDC hdc);

  static constexpr unsigned kFirstRepaintMs = 500;
  static constexpr unsigned kRepaintPeriodMs = 600;

 protected:
  void DrawContent(HDC hdc);
  void RepaintLoop(HWND hWnd);
  bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void OnPaint() override;
  void OnPrintClient(HDC hdc, UINT flags) override;

  CBrush m_backBrush;
  RECT m_rcClient{};
  CFont m_font;
  COLORREF m_crText = RGB(0, 0, 0);
  int m_nMode = 0;
  Gdiplus::Image* m_pBackImage = nullptr;
  RECT m_rcBackSource{};
  std::wstring m_strText;

  // The stop signal: set under the lock and announced, so a sleeping worker wakes at once.
  std::mutex m_stopLock;
  std::condition_variable m_stopSignal;
  bool m_bStop = false;
  std::thread m_worker;
};

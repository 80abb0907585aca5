#pragma once
// The paint context of a WM_PAINT handler (BeginPaint / EndPaint). Scoped, not movable:
// the paint must end in the handler that began it.
#include <windows.h>

class CPaintDC {
 public:
  explicit CPaintDC(HWND hWnd) noexcept : m_hWnd(hWnd) { m_hDC = ::BeginPaint(hWnd, &m_ps); }
  ~CPaintDC() { ::EndPaint(m_hWnd, &m_ps); }
  CPaintDC(const CPaintDC&) = delete;
  CPaintDC& operator=(const CPaintDC&) = delete;

  HDC Get() const noexcept { return m_hDC; }
  operator HDC() const noexcept { return m_hDC; }
  const RECT& PaintRect() const noexcept { return m_ps.rcPaint; }
  PAINTSTRUCT m_ps{};

 private:
  HWND m_hWnd;
  HDC m_hDC = nullptr;
};

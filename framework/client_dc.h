#pragma once
// Move-only owner of a window's device context (GetDC / ReleaseDC). A null window gives the
// screen's context.
#include <windows.h>

#include <utility>

class CClientDC {
 public:
  CClientDC() noexcept = default;
  explicit CClientDC(HWND hWnd) noexcept : m_hWnd(hWnd), m_hDC(::GetDC(hWnd)) {}
  ~CClientDC() { Reset(); }
  CClientDC(CClientDC&& other) noexcept
      : m_hWnd(std::exchange(other.m_hWnd, nullptr)), m_hDC(std::exchange(other.m_hDC, nullptr)) {}
  CClientDC& operator=(CClientDC&& other) noexcept {
    if (this != &other) {
      Reset();
      m_hWnd = std::exchange(other.m_hWnd, nullptr);
      m_hDC = std::exchange(other.m_hDC, nullptr);
    }
    return *this;
  }
  CClientDC(const CClientDC&) = delete;
  CClientDC& operator=(const CClientDC&) = delete;

  HDC Get() const noexcept { return m_hDC; }
  operator HDC() const noexcept { return m_hDC; }
  explicit operator bool() const noexcept { return m_hDC != nullptr; }
  void Reset() noexcept {
    if (m_hDC) ::ReleaseDC(m_hWnd, std::exchange(m_hDC, nullptr));
    m_hWnd = nullptr;
  }

 private:
  HWND m_hWnd = nullptr;
  HDC m_hDC = nullptr;
};

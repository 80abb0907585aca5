#pragma once
// Move-only owner of a memory device context (CreateCompatibleDC / DeleteDC).
#include <windows.h>

#include <utility>

class CMemoryDC {
 public:
  CMemoryDC() noexcept = default;
  // Compatible with `hdc` (null: with the screen).
  explicit CMemoryDC(HDC hdc) noexcept : m_hDC(::CreateCompatibleDC(hdc)) {}
  ~CMemoryDC() { Reset(); }
  CMemoryDC(CMemoryDC&& other) noexcept : m_hDC(std::exchange(other.m_hDC, nullptr)) {}
  CMemoryDC& operator=(CMemoryDC&& other) noexcept {
    if (this != &other) {
      Reset();
      m_hDC = std::exchange(other.m_hDC, nullptr);
    }
    return *this;
  }
  CMemoryDC(const CMemoryDC&) = delete;
  CMemoryDC& operator=(const CMemoryDC&) = delete;

  HDC Get() const noexcept { return m_hDC; }
  operator HDC() const noexcept { return m_hDC; }
  explicit operator bool() const noexcept { return m_hDC != nullptr; }
  void Reset() noexcept {
    if (m_hDC) ::DeleteDC(std::exchange(m_hDC, nullptr));
  }

 private:
  HDC m_hDC = nullptr;
};

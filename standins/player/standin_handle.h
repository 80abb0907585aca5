// Owns a kernel handle; closes it once.
#pragma once

#include <windows.h>

#include <utility>

class CStandinHandle {
public:
  CStandinHandle() = default;
  explicit CStandinHandle(HANDLE handle) : m_hHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
  ~CStandinHandle() { Reset(); }
  CStandinHandle(CStandinHandle&& other) noexcept : m_hHandle(std::exchange(other.m_hHandle, nullptr)) {}
  CStandinHandle& operator=(CStandinHandle&& other) noexcept {
    if (this != &other) {
      Reset();
      m_hHandle = std::exchange(other.m_hHandle, nullptr);
    }
    return *this;
  }
  CStandinHandle(const CStandinHandle&) = delete;
  CStandinHandle& operator=(const CStandinHandle&) = delete;

  HANDLE Get() const { return m_hHandle; }
  explicit operator bool() const { return m_hHandle != nullptr; }
  HANDLE Release() { return std::exchange(m_hHandle, nullptr); }
  void Reset(HANDLE handle = nullptr) {
    if (m_hHandle) CloseHandle(m_hHandle);
    m_hHandle = handle == INVALID_HANDLE_VALUE ? nullptr : handle;
  }

private:
  HANDLE m_hHandle = nullptr;
};

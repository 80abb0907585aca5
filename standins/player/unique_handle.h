// Owns a kernel handle; closes it once.
#pragma once

#include <windows.h>

#include <utility>

class CUniqueHandle {
public:
  CUniqueHandle() = default;
  explicit CUniqueHandle(HANDLE handle) : m_hHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
  ~CUniqueHandle() { Reset(); }
  CUniqueHandle(CUniqueHandle&& other) noexcept : m_hHandle(std::exchange(other.m_hHandle, nullptr)) {}
  CUniqueHandle& operator=(CUniqueHandle&& other) noexcept {
    if (this != &other) {
      Reset();
      m_hHandle = std::exchange(other.m_hHandle, nullptr);
    }
    return *this;
  }
  CUniqueHandle(const CUniqueHandle&) = delete;
  CUniqueHandle& operator=(const CUniqueHandle&) = delete;

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

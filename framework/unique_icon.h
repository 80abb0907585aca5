#pragma once
// Move-only owner of an icon made for this program alone (LoadImage without LR_SHARED,
// CreateIconIndirect): DestroyIcon on destruction. Shared icons (LoadIcon) are borrowed:
// keep those as plain HICON.
#include <windows.h>

#include <utility>

class CUniqueIcon {
 public:
  CUniqueIcon() noexcept = default;
  explicit CUniqueIcon(HICON hIcon) noexcept : m_hIcon(hIcon) {}
  ~CUniqueIcon() { Reset(); }
  CUniqueIcon(CUniqueIcon&& other) noexcept : m_hIcon(other.Release()) {}
  CUniqueIcon& operator=(CUniqueIcon&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  CUniqueIcon(const CUniqueIcon&) = delete;
  CUniqueIcon& operator=(const CUniqueIcon&) = delete;

  HICON Get() const noexcept { return m_hIcon; }
  explicit operator bool() const noexcept { return m_hIcon != nullptr; }
  HICON Release() noexcept { return std::exchange(m_hIcon, nullptr); }
  void Reset(HICON hIcon = nullptr) noexcept {
    HICON old = std::exchange(m_hIcon, hIcon);
    if (old) ::DestroyIcon(old);
  }

 private:
  HICON m_hIcon = nullptr;
};

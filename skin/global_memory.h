#pragma once
#include <windows.h>

#include <utility>

// A movable global memory block, freed unless ownership was handed on (for example to a
// stream created with delete-on-release).
class CGlobalMemory {
 public:
  CGlobalMemory() = default;
  explicit CGlobalMemory(SIZE_T size) : m_hBlock(GlobalAlloc(GMEM_MOVEABLE, size)) {}
  ~CGlobalMemory() {
    if (m_hBlock) GlobalFree(m_hBlock);
  }
  CGlobalMemory(CGlobalMemory&& other) noexcept : m_hBlock(other.Release()) {}
  CGlobalMemory& operator=(CGlobalMemory&& other) noexcept {
    if (this != &other) {
      if (m_hBlock) GlobalFree(m_hBlock);
      m_hBlock = other.Release();
    }
    return *this;
  }
  CGlobalMemory(const CGlobalMemory&) = delete;
  CGlobalMemory& operator=(const CGlobalMemory&) = delete;

  HGLOBAL Get() const { return m_hBlock; }
  explicit operator bool() const { return m_hBlock != nullptr; }
  HGLOBAL Release() noexcept { return std::exchange(m_hBlock, nullptr); }

  // Copies bytes in; false when the block is missing or cannot be locked.
  bool Fill(const void* bytes, SIZE_T size);

 private:
  HGLOBAL m_hBlock = nullptr;
};

#pragma once
#include <windows.h>

namespace Gdiplus {
class Image;
}

// Owns one decoded picture. The image keeps its own reference on the stream it was made
// from, and that stream owns the copied resource bytes, so deleting the image frees all of it.
class CPngImage {
 public:
  CPngImage() = default;
  explicit CPngImage(Gdiplus::Image* image) noexcept : m_pImage(image) {}
  ~CPngImage();
  CPngImage(CPngImage&& other) noexcept : m_pImage(other.Release()) {}
  CPngImage& operator=(CPngImage&& other) noexcept;
  CPngImage(const CPngImage&) = delete;
  CPngImage& operator=(const CPngImage&) = delete;

  Gdiplus::Image* Get() const { return m_pImage; }
  explicit operator bool() const { return m_pImage != nullptr; }
  UINT Width() const;
  UINT Height() const;

  void Reset(Gdiplus::Image* image = nullptr) noexcept;
  Gdiplus::Image* Release() noexcept;

 private:
  Gdiplus::Image* m_pImage = nullptr;
};

#include "skin/png_image.h"

#include <gdiplus.h>

#include <utility>

CPngImage::~CPngImage() { Reset(); }

CPngImage& CPngImage::operator=(CPngImage&& other) noexcept {
  if (this != &other) Reset(other.Release());
  return *this;
}

UINT CPngImage::Width() const { return m_pImage ? m_pImage->GetWidth() : 0; }

UINT CPngImage::Height() const { return m_pImage ? m_pImage->GetHeight() : 0; }

void CPngImage::Reset(Gdiplus::Image* image) noexcept {
  Gdiplus::Image* old = std::exchange(m_pImage, image);
  delete old;
}

Gdiplus::Image* CPngImage::Release() noexcept { return std::exchange(m_pImage, nullptr); }

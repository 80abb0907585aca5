#include "framework/buffered_paint.h"

CBufferedPaint::CBufferedPaint(HDC target, const RECT& area) noexcept : m_hTarget(target), m_area(area) {
  const int width = Width();
  const int height = Height();
  if (!target || width <= 0 || height <= 0) return;
  m_bitmap.Reset(::CreateCompatibleBitmap(target, width, height));
  if (!m_bitmap) return;
  m_dc = CMemoryDC(target);
  if (!m_dc) return;
  m_selection.emplace(m_dc.Get(), m_bitmap.Get());
}

BOOL CBufferedPaint::Blit() const noexcept {
  if (!*this) return FALSE;
  return ::BitBlt(m_hTarget, m_area.left, m_area.top, Width(), Height(), m_dc.Get(), 0, 0, SRCCOPY);
}

#pragma once
// Double-buffered drawing: a memory context with a compatible bitmap of the target area's
// size selected into it. Draw into Get() at (0, 0) and Blit() the result to the target.
// Teardown is in the required order: bitmap deselected, context deleted, bitmap deleted.
#include <windows.h>

#include <optional>

#include "framework/gdi_object.h"
#include "framework/memory_dc.h"
#include "framework/select_object.h"

class CBufferedPaint {
 public:
  // `area`: the target rectangle, in the target context's coordinates.
  CBufferedPaint(HDC target, const RECT& area) noexcept;
  CBufferedPaint(const CBufferedPaint&) = delete;
  CBufferedPaint& operator=(const CBufferedPaint&) = delete;

  explicit operator bool() const noexcept { return m_selection.has_value() && static_cast<bool>(*m_selection); }
  HDC Get() const noexcept { return m_dc.Get(); }
  int Width() const noexcept { return m_area.right - m_area.left; }
  int Height() const noexcept { return m_area.bottom - m_area.top; }
  HBITMAP Bitmap() const noexcept { return m_bitmap.Get(); }
  // Plain copy (SRCCOPY) of the whole buffer onto the target area.
  BOOL Blit() const noexcept;

 private:
  HDC m_hTarget;
  RECT m_area;
  CBitmap m_bitmap;
  CMemoryDC m_dc;
  std::optional<CSelectObject> m_selection;
};

#pragma once
// Selects a GDI object into a context for a scope and puts the previous one back. Declare it
// after the owners of the context and the object, so it is undone before they are deleted.
#include <windows.h>

class CSelectObject {
 public:
  CSelectObject(HDC hdc, HGDIOBJ object) noexcept : m_hDC(hdc), m_hPrevious(hdc && object ? ::SelectObject(hdc, object) : nullptr) {}
  ~CSelectObject() {
    if (m_hPrevious && m_hPrevious != HGDI_ERROR) ::SelectObject(m_hDC, m_hPrevious);
  }
  CSelectObject(const CSelectObject&) = delete;
  CSelectObject& operator=(const CSelectObject&) = delete;

  // False when nothing was selected (no context, no object, or the selection failed).
  explicit operator bool() const noexcept { return m_hPrevious && m_hPrevious != HGDI_ERROR; }

 private:
  HDC m_hDC;
  HGDIOBJ m_hPrevious;
};

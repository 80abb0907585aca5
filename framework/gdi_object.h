#pragma once
// Move-only owner of one GDI object (bitmap, font, brush, pen, region): DeleteObject on
// destruction. Borrowed GDI handles stay plain handles (HBITMAP, HFONT, ...): whoever holds a
// raw handle never deletes it. Deselect an object (CSelectObject) before its owner dies.
#include <windows.h>

#include <utility>

template <typename T>
class CGdiObject {
 public:
  CGdiObject() noexcept = default;
  explicit CGdiObject(T handle) noexcept : m_handle(handle) {}
  ~CGdiObject() { Reset(); }
  CGdiObject(CGdiObject&& other) noexcept : m_handle(other.Release()) {}
  CGdiObject& operator=(CGdiObject&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  CGdiObject(const CGdiObject&) = delete;
  CGdiObject& operator=(const CGdiObject&) = delete;

  T Get() const noexcept { return m_handle; }
  explicit operator bool() const noexcept { return m_handle != nullptr; }
  T Release() noexcept { return std::exchange(m_handle, nullptr); }
  void Reset(T handle = nullptr) noexcept {
    T old = std::exchange(m_handle, handle);
    if (old) ::DeleteObject(old);
  }

 private:
  T m_handle = nullptr;
};

using CBitmap = CGdiObject<HBITMAP>;
using CFont = CGdiObject<HFONT>;
using CBrush = CGdiObject<HBRUSH>;
using CPen = CGdiObject<HPEN>;
using CRgn = CGdiObject<HRGN>;

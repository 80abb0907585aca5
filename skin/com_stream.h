#pragma once
#include <objidl.h>

#include <utility>

// Holds one reference on a COM stream and releases it when it goes.
class CComStream {
 public:
  CComStream() = default;
  explicit CComStream(IStream* stream) noexcept : m_pStream(stream) {}
  ~CComStream() { Reset(); }
  CComStream(CComStream&& other) noexcept : m_pStream(std::exchange(other.m_pStream, nullptr)) {}
  CComStream& operator=(CComStream&& other) noexcept {
    if (this != &other) {
      Reset();
      m_pStream = std::exchange(other.m_pStream, nullptr);
    }
    return *this;
  }
  CComStream(const CComStream&) = delete;
  CComStream& operator=(const CComStream&) = delete;

  IStream* Get() const { return m_pStream; }
  // For out-parameters of creation functions: drops the current reference first.
  IStream** Receive() {
    Reset();
    return &m_pStream;
  }
  void Reset() {
    if (m_pStream) std::exchange(m_pStream, nullptr)->Release();
  }

 private:
  IStream* m_pStream = nullptr;
};

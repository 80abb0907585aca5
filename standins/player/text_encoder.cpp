#include "text_encoder.h"

#include <windows.h>

std::wstring CTextEncoder::Widen(const std::string& utf8) {
  if (utf8.empty()) return {};
  int count = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                  nullptr, 0);
  std::wstring wide(static_cast<size_t>(count), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), count);
  return wide;
}

std::string CTextEncoder::Narrow(const std::wstring& wide) {
  if (wide.empty()) return {};
  int count = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                  nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(count), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(),
                      count, nullptr, nullptr);
  return utf8;
}

std::string CTextEncoder::Encode(const std::string& utf8, TextEncoding encoding) {
  if (encoding == TextEncoding::Utf8) return utf8;
  std::wstring wide = Widen(utf8);
  if (encoding == TextEncoding::Utf16Le) {
    std::string bytes;
    for (wchar_t unit : wide) {
      bytes += static_cast<char>(unit & 0xFF);
      bytes += static_cast<char>((unit >> 8) & 0xFF);
    }
    return bytes;
  }
  if (encoding == TextEncoding::Ascii) {
    std::string bytes;
    for (wchar_t unit : wide) bytes += unit < 0x80 ? static_cast<char>(unit) : '?';
    return bytes;
  }
  if (wide.empty()) return {};
  int count = WideCharToMultiByte(936, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                  nullptr, nullptr);
  std::string bytes(static_cast<size_t>(count), '\0');
  WideCharToMultiByte(936, 0, wide.data(), static_cast<int>(wide.size()), bytes.data(), count,
                      nullptr, nullptr);
  return bytes;
}

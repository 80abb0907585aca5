#include "journal_line.h"

namespace {

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

CJournalLine::CJournalLine(std::string_view callName) : m_strText(callName) {}

CJournalLine& CJournalLine::Add(const wchar_t* text) {
  m_strText += ' ';
  if (text == nullptr) {
    m_strText += "\\0";
  } else {
    AppendEscaped(text);
  }
  return *this;
}

CJournalLine& CJournalLine::Add(std::wstring_view text) {
  m_strText += ' ';
  AppendEscaped(text);
  return *this;
}

CJournalLine& CJournalLine::Add(int value) {
  m_strText += ' ';
  m_strText += std::to_string(value);
  return *this;
}

void CJournalLine::AppendEscaped(std::wstring_view text) {
  // An empty argument would otherwise vanish between two separators.
  if (text.empty()) {
    m_strText += "\\e";
    return;
  }
  for (std::size_t i = 0; i < text.size(); ++i) {
    const wchar_t c = text[i];
    if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      const char32_t high = c - 0xD800u;
      const char32_t low = text[i + 1] - 0xDC00u;
      AppendCodePoint(0x10000u + (high << 10) + low);
      ++i;
    } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
      // A lone surrogate has no UTF-8 form; keep its value visible instead of losing it.
      AppendHexEscape('u', c, 4);
    } else if (c == L'\\') {
      m_strText += "\\\\";
    } else if (c == L' ') {
      m_strText += "\\s";
    } else if (c < 0x20 || c == 0x7F) {
      AppendHexEscape('x', c, 2);
    } else {
      AppendCodePoint(c);
    }
  }
}

void CJournalLine::AppendCodePoint(char32_t codePoint) {
  if (codePoint < 0x80) {
    m_strText += static_cast<char>(codePoint);
  } else if (codePoint < 0x800) {
    m_strText += static_cast<char>(0xC0 | (codePoint >> 6));
    m_strText += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else if (codePoint < 0x10000) {
    m_strText += static_cast<char>(0xE0 | (codePoint >> 12));
    m_strText += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    m_strText += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else {
    m_strText += static_cast<char>(0xF0 | (codePoint >> 18));
    m_strText += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
    m_strText += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    m_strText += static_cast<char>(0x80 | (codePoint & 0x3F));
  }
}

void CJournalLine::AppendHexEscape(char kind, unsigned value, int digits) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  m_strText += '\\';
  m_strText += kind;
  for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) m_strText += kHex[(value >> shift) & 0xF];
}

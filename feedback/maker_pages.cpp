#include "maker_pages.h"

#include "maker_site.h"

namespace {

// A tool id is short; anything longer is not a tool id we know.
constexpr std::size_t kMaxToolIdLength = 16;

bool IsUnreserved(wchar_t c) {
  return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') || c == L'-' ||
         c == L'.' || c == L'_' || c == L'~';
}

void AppendPercentByte(std::wstring& out, unsigned byte) {
  static constexpr wchar_t kHex[] = L"0123456789ABCDEF";
  out += L'%';
  out += kHex[(byte >> 4) & 0xF];
  out += kHex[byte & 0xF];
}

void AppendPercentCodePoint(std::wstring& out, char32_t cp) {
  if (cp < 0x80) {
    AppendPercentByte(out, cp);
  } else if (cp < 0x800) {
    AppendPercentByte(out, 0xC0 | (cp >> 6));
    AppendPercentByte(out, 0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    AppendPercentByte(out, 0xE0 | (cp >> 12));
    AppendPercentByte(out, 0x80 | ((cp >> 6) & 0x3F));
    AppendPercentByte(out, 0x80 | (cp & 0x3F));
  } else {
    AppendPercentByte(out, 0xF0 | (cp >> 18));
    AppendPercentByte(out, 0x80 | ((cp >> 12) & 0x3F));
    AppendPercentByte(out, 0x80 | ((cp >> 6) & 0x3F));
    AppendPercentByte(out, 0x80 | (cp & 0x3F));
  }
}

}  // namespace

std::wstring CMakerPages::DownloadPage(std::wstring_view toolId) {
  if (!IsPlainNumber(toolId)) return zsr::maker_site::kDownloadPage;
  std::wstring page = zsr::maker_site::kDownloadPagePrefix;
  page += toolId;
  page += zsr::maker_site::kDownloadPageSuffix;
  return page;
}

std::wstring CMakerPages::FeedbackPage(const wchar_t* toolId, const wchar_t* toolVersion) {
  std::wstring page = zsr::maker_site::kFeedbackPage;
  wchar_t separator = L'?';
  auto addQuery = [&](const wchar_t* name, const wchar_t* value) {
    if (value == nullptr || *value == L'\0') return;
    page += separator;
    page += name;
    page += L'=';
    page += PercentEncode(value);
    separator = L'&';
  };
  addQuery(L"tool", toolId);
  addQuery(L"version", toolVersion);
  return page;
}

std::wstring CMakerPages::PercentEncode(std::wstring_view text) {
  std::wstring out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const wchar_t c = text[i];
    if (IsUnreserved(c)) {
      out += c;
      continue;
    }
    char32_t cp = c;
    const bool high = c >= 0xD800 && c <= 0xDBFF;
    if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      cp = 0x10000u + ((c - 0xD800u) << 10) + (text[i + 1] - 0xDC00u);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      cp = 0xFFFD;  // a lone surrogate has no UTF-8 form
    }
    AppendPercentCodePoint(out, cp);
  }
  return out;
}

bool CMakerPages::IsPlainNumber(std::wstring_view text) {
  if (text.empty() || text.size() > kMaxToolIdLength) return false;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') return false;
  }
  return true;
}

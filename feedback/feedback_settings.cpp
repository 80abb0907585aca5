#include "feedback_settings.h"

#include <windows.h>

#include <cstdint>

std::wstring CFeedbackSettings::JournalPath() { return Read(L"ZSR_FEEDBACK_JOURNAL").value_or(std::wstring()); }

int CFeedbackSettings::InitAnswer() { return ReadInt32(L"ZSR_FEEDBACK_INIT", 1); }

int CFeedbackSettings::VersionAnswer() { return ReadInt32(L"ZSR_FEEDBACK_VERSION", 0); }

bool CFeedbackSettings::OpensPages() { return ReadInt32(L"ZSR_FEEDBACK_OPEN", 1) != 0; }

std::optional<int> CFeedbackSettings::ParseInt32(std::wstring_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == L'-' || text.front() == L'+')) {
    negative = text.front() == L'-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  std::int64_t magnitude = 0;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') return std::nullopt;
    magnitude = magnitude * 10 + (c - L'0');
    if (magnitude > std::int64_t{INT32_MAX} + 1) return std::nullopt;
  }
  const std::int64_t value = negative ? -magnitude : magnitude;
  if (value > INT32_MAX) return std::nullopt;
  return static_cast<int>(value);
}

std::optional<std::wstring> CFeedbackSettings::Read(const wchar_t* name) {
  std::wstring value(64, L'\0');
  for (;;) {
    SetLastError(ERROR_SUCCESS);
    const DWORD length = GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
    if (length == 0) {
      if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
      return std::wstring();
    }
    if (length < value.size()) {
      value.resize(length);
      return value;
    }
    // Too small: length is the size needed, terminator included. The variable may change
    // between the two calls, hence the loop.
    value.resize(length);
  }
}

int CFeedbackSettings::ReadInt32(const wchar_t* name, int fallback) {
  const std::optional<std::wstring> text = Read(name);
  if (!text) return fallback;
  return ParseInt32(*text).value_or(fallback);
}

// One line of the call journal: the call's name and its arguments, separated by single
// spaces, as UTF-8. Arguments are escaped so that every line splits back into exactly the
// arguments that were passed (see README.md for the rules).
#pragma once

#include <string>
#include <string_view>

class CJournalLine {
 public:
  explicit CJournalLine(std::string_view callName);

  CJournalLine& Add(const wchar_t* text);
  CJournalLine& Add(std::wstring_view text);
  CJournalLine& Add(int value);

  // The line without its line end.
  const std::string& Text() const { return m_strText; }

 private:
  void AppendEscaped(std::wstring_view text);
  void AppendCodePoint(char32_t codePoint);
  void AppendHexEscape(char kind, unsigned value, int digits);

  std::string m_strText;
};

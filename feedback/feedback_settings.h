// What tests may steer through the environment. Each value is read again at every call,
// so a test can change it between calls; the program itself sets none of them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

class CFeedbackSettings {
 public:
  // ZSR_FEEDBACK_JOURNAL: file that receives a record of every call; empty: no journal.
  static std::wstring JournalPath();
  // ZSR_FEEDBACK_INIT: the answer of InitFreedbackDll (1 when unset or not a number).
  static int InitAnswer();
  // ZSR_FEEDBACK_VERSION: the answer of GetToolIsNewVersion (0, "no newer version", when
  // unset or not a number).
  static int VersionAnswer();
  // ZSR_FEEDBACK_OPEN=0: pages are recorded but not handed to the shell.
  static bool OpensPages();

  // A whole decimal number that fits in 32 bits, optionally signed; nothing else.
  static std::optional<int> ParseInt32(std::wstring_view text);

 private:
  static std::optional<std::wstring> Read(const wchar_t* name);
  static int ReadInt32(const wchar_t* name, int fallback);
};

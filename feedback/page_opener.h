// Shows one of the maker's pages in the user's browser.
#pragma once

#include <string>

class CPageOpener {
 public:
  // Records the address in the journal, then hands it to the shell's "open" verb.
  // Returns 1 when the shell accepted it, 0 otherwise.
  static int Open(const std::wstring& address);
};

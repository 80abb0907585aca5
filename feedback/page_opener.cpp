#include "page_opener.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdint>

#include "feedback_journal.h"
#include "feedback_settings.h"

int CPageOpener::Open(const std::wstring& address) {
  CFeedbackJournal::Append(CJournalLine("OpenUrl").Add(address));
  if (!CFeedbackSettings::OpensPages()) return 1;
  const HINSTANCE result = ShellExecuteW(nullptr, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  // Values above 32 mean success; anything else is an error code.
  return reinterpret_cast<std::intptr_t>(result) > 32 ? 1 : 0;
}

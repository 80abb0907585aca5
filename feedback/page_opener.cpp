#include "page_opener.h"

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include <cstdint>

#include "feedback_journal.h"
#include "feedback_settings.h"

namespace {

// The shell may hand an address to a handler it reaches through COM (a browser registered
// by DelegateExecute), which fails on a thread without COM. A thread that already has COM
// keeps it as it is.
class CComForShell {
 public:
  CComForShell() {
    const HRESULT result = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    m_bOwned = SUCCEEDED(result);  // S_FALSE too: each success is matched by one uninitialise
  }
  CComForShell(const CComForShell&) = delete;
  CComForShell& operator=(const CComForShell&) = delete;
  ~CComForShell() {
    if (m_bOwned) CoUninitialize();
  }

 private:
  bool m_bOwned = false;
};

}  // namespace

int CPageOpener::Open(const std::wstring& address) {
  CFeedbackJournal::Append(CJournalLine("OpenUrl").Add(address));
  if (!CFeedbackSettings::OpensPages()) return 1;
  CComForShell com;
  const HINSTANCE result = ShellExecuteW(nullptr, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  // Values above 32 mean success; anything else is an error code.
  return reinterpret_cast<std::intptr_t>(result) > 32 ? 1 : 0;
}

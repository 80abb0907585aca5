// Registered as the handler of http and https addresses in the test prefix: instead of
// opening a browser it appends the address and CR LF (UTF-8) to %ZSR_URL_JOURNAL%.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "env_path.h"
#include "text_encoder.h"
#include "standin_handle.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  std::wstring journal = CEnvPath::Read(L"ZSR_URL_JOURNAL");
  if (journal.empty()) return 2;

  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv) return 3;
  std::wstring address;
  for (int i = 1; i < argc; ++i) address += (i > 1 ? L" " : L"") + std::wstring(argv[i]);
  LocalFree(argv);

  CStandinHandle file(CreateFileW(journal.c_str(), FILE_APPEND_DATA,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return 4;
  // One write per address keeps lines whole when several recorders run at once.
  std::string line = CTextEncoder::Narrow(address) + "\r\n";
  DWORD written = 0;
  return WriteFile(file.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr) ? 0 : 5;
}

// The application object's entry path, run as its own process.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

DWORD RunProbe(const wchar_t* argument) {
  std::wstring command = L"framework_app_probe.exe ";
  command += argument;
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    return 0xFFFFFFFF;
  }
  DWORD code = 0xFFFFFFFE;
  if (::WaitForSingleObject(pi.hProcess, 30000) == WAIT_OBJECT_0) ::GetExitCodeProcess(pi.hProcess, &code);
  ::CloseHandle(pi.hThread);
  ::CloseHandle(pi.hProcess);
  return code;
}

TEST(Application, DeclinedInitInstanceGoesStraightToExitInstance) { EXPECT_EQ(RunProbe(L"stop"), 37u); }

TEST(Application, AcceptedInitInstanceRunsTheLoopUntilQuit) {
  EXPECT_EQ(RunProbe(L"run"), 105u) << "WM_QUIT's code (5) through the base ExitInstance";
}

}  // namespace

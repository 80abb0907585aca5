// The tool closed from outside while a run's progress popup is up and sfc still works: the
// program ends by itself, takes its repair processes with it and releases the feedback service.
#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "running_program.h"

#include <tlhelp32.h>

using namespace std::chrono_literals;

namespace {

std::vector<std::wstring> ChildrenOf(DWORD processId) {
  std::vector<std::wstring> names;
  HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return names;
  PROCESSENTRY32W entry{sizeof(entry)};
  for (BOOL more = ::Process32FirstW(snapshot, &entry); more; more = ::Process32NextW(snapshot, &entry))
    if (entry.th32ParentProcessID == processId) names.emplace_back(entry.szExeFile);
  ::CloseHandle(snapshot);
  return names;
}

bool WaitForProcess(const wchar_t* exeName, std::chrono::seconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!IsProcessRunning(exeName)) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(100ms);
  }
  return true;
}

// The program's children and their children (the interpreter and the tool it started).
std::vector<DWORD> DescendantsOf(DWORD processId) {
  std::vector<DWORD> found{processId};
  HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return {};
  for (int generation = 0; generation < 2; ++generation) {
    PROCESSENTRY32W entry{sizeof(entry)};
    for (BOOL more = ::Process32FirstW(snapshot, &entry); more; more = ::Process32NextW(snapshot, &entry))
      if (std::find(found.begin(), found.end(), entry.th32ParentProcessID) != found.end() &&
          std::find(found.begin(), found.end(), entry.th32ProcessID) == found.end())
        found.push_back(entry.th32ProcessID);
  }
  ::CloseHandle(snapshot);
  found.erase(found.begin());
  return found;
}

std::string Narrow(const std::vector<std::wstring>& names) {
  std::string text;
  for (const std::wstring& name : names) text += std::string(name.begin(), name.end()) + " ";
  return text;
}

// sfc that writes nothing and never ends: the run stays in its local phase with the popup up.
class ProgramWithHangingSfc : public RunningProgram {
 protected:
  void SetUp() override {
    m_scenario.Set(L"sfc", "hang\n");
    RunningProgram::SetUp();
  }
  // A hanging sfc left behind by a failed case must not outlive it.
  void TearDown() override {
    RunningProgram::TearDown();
    for (DWORD id : m_started) {
      HANDLE process = ::OpenProcess(PROCESS_TERMINATE, FALSE, id);
      if (!process) continue;
      ::TerminateProcess(process, 1);
      ::CloseHandle(process);
    }
  }

  // Start pressed, popup open, sfc running.
  void StartARun(HWND& main, HWND& popup) {
    HWND operations = nullptr;
    ASSERT_NO_FATAL_FAILURE(OpenOperationsWindow(main, operations));
    ASSERT_NO_FATAL_FAILURE(StartRun(main, operations, popup));
    ASSERT_TRUE(WaitForProcess(L"sfc.exe", 15s)) << m_scenario.Calls();
    m_started = DescendantsOf(m_process.dwProcessId);
    std::this_thread::sleep_for(1000ms);
    ASSERT_TRUE(::IsWindowVisible(popup)) << "the run ended by itself";
  }

  void ExpectCleanEnd(std::chrono::steady_clock::time_point closed) {
    const DWORD code = WaitForExit(10000);
    EXPECT_EQ(code, 0u) << "still running: " << (code == STILL_ACTIVE) << "; children: " << Narrow(ChildrenOf(m_process.dwProcessId));
    EXPECT_LT(std::chrono::steady_clock::now() - closed, 6s);
    if (code == STILL_ACTIVE) return;
    std::this_thread::sleep_for(500ms);
    EXPECT_FALSE(IsProcessRunning(L"sfc.exe"));
    EXPECT_FALSE(IsProcessRunning(L"Dism.exe"));
    EXPECT_EQ(Narrow(ChildrenOf(m_process.dwProcessId)), "") << "left behind by the program";
    const std::string journal = Journal();
    const std::string last = "ReleaseFreedbackRes\n";
    ASSERT_GE(journal.size(), last.size()) << journal;
    EXPECT_EQ(journal.substr(journal.size() - last.size()), last) << journal;
  }

  std::vector<DWORD> m_started;
};

}  // namespace

TEST_F(ProgramWithHangingSfc, CloseMessageToTheMainWindowEndsTheRunAndTheProgram) {
  HWND main = nullptr;
  HWND popup = nullptr;
  ASSERT_NO_FATAL_FAILURE(StartARun(main, popup));
  const auto closed = std::chrono::steady_clock::now();
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  ExpectCleanEnd(closed);
}

// The system menu's Close of a window that the popup has disabled is not carried out (the
// platform ignores commands to a disabled window); the run and the tool go on, and a close
// message afterwards still ends both cleanly.
TEST_F(ProgramWithHangingSfc, SystemMenuCloseWhileDisabledIsIgnored) {
  HWND main = nullptr;
  HWND popup = nullptr;
  ASSERT_NO_FATAL_FAILURE(StartARun(main, popup));
  EXPECT_FALSE(::IsWindowEnabled(main));
  ::PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(WaitForExit(3000), static_cast<DWORD>(STILL_ACTIVE));
  EXPECT_TRUE(::IsWindowVisible(popup));
  EXPECT_TRUE(IsProcessRunning(L"sfc.exe"));
  const auto closed = std::chrono::steady_clock::now();
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  ExpectCleanEnd(closed);
}

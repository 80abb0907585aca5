// The real program started under the stand-ins and driven from outside, shared by the program
// tests: the start page is accepted, then the main window and the operations window are found.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "scenario_folder.h"
#include "standin_path_scope.h"
#include "tools/driver/program_windows.h"

inline constexpr UINT kStartAccepted = WM_USER + 534;  // what the start page's start button sends

std::wstring BinFolder();
bool IsProcessRunning(const wchar_t* exeName);

template <typename Predicate>
HWND WaitForWindow(DWORD processId, Predicate matches, std::chrono::seconds limit = std::chrono::seconds(30)) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < end) {
    for (HWND hwnd : VisibleTopLevelWindowsOf(processId))
      if (matches(hwnd)) return hwnd;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return nullptr;
}

// The program started from the build's folder (which holds far more than the tool's files,
// so nothing is removed when it ends), with the stand-ins first on its PATH.
class RunningProgram : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  bool Launch(const std::wstring& folder);
  std::wstring JournalPath() const;
  std::string Journal() const;
  bool WaitForJournal(const std::string& line) const;
  HWND AcceptStartPage();
  HWND WaitForMainWindow();
  HWND WaitForOperationsWindow(HWND main);
  // The start page accepted, the main window and its operations window found (fatal otherwise).
  void OpenOperationsWindow(HWND& main, HWND& operations);
  // Waits until the probe's output has enabled the start button, presses it and returns the
  // progress popup that opens (fatal when either does not happen).
  void StartRun(HWND main, HWND operations, HWND& popup);
  DWORD WaitForExit(DWORD ms);

  CStandinPathScope m_standinsFirst;
  CScenarioFolder m_scenario;
  PROCESS_INFORMATION m_process{};
  bool m_bLaunchFromBuild = true;
};

// The program on a display of other dots per inch: the user's setting is changed before the
// start and put back afterwards. The test launches the program itself.
class ProgramAtDpi : public RunningProgram {
 protected:
  explicit ProgramAtDpi(DWORD dpi) : m_dpi(dpi) { m_bLaunchFromBuild = false; }
  void SetUp() override;
  void TearDown() override;

  DWORD m_dpi;
  HKEY m_desktop = nullptr;
  DWORD m_previous = 0;
  bool m_hadPrevious = false;
};

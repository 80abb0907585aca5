#include "running_program.h"

#include <tlhelp32.h>

#include <filesystem>
#include <fstream>
#include <iterator>

using namespace std::chrono_literals;

std::wstring BinFolder() {
  wchar_t path[MAX_PATH]{};
  const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  return folder.substr(0, folder.rfind(L'\\'));
}

bool IsProcessRunning(const wchar_t* exeName) {
  HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return false;
  PROCESSENTRY32W entry{sizeof(entry)};
  bool found = false;
  for (BOOL more = ::Process32FirstW(snapshot, &entry); more && !found; more = ::Process32NextW(snapshot, &entry))
    found = _wcsicmp(entry.szExeFile, exeName) == 0;
  ::CloseHandle(snapshot);
  return found;
}

void RunningProgram::SetUp() {
  ::SetEnvironmentVariableW(L"ZSR_FEEDBACK_OPEN", L"0");
  ::SetEnvironmentVariableW(L"ZSR_FEEDBACK_JOURNAL", JournalPath().c_str());
  if (!m_bLaunchFromBuild) return;
  ASSERT_TRUE(Launch(BinFolder()));
}

bool RunningProgram::Launch(const std::wstring& folder) {
  const std::wstring program = folder + L"\\MendoraZorvexSfcRepair.exe";
  std::wstring commandLine = L"\"" + program + L"\"";
  STARTUPINFOW startup{sizeof(startup)};
  return ::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                          &startup, &m_process) != FALSE;
}

void RunningProgram::TearDown() {
  if (m_process.hProcess) {
    if (::WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT) ::TerminateProcess(m_process.hProcess, 1);
    ::CloseHandle(m_process.hThread);
    ::CloseHandle(m_process.hProcess);
  }
  ::SetEnvironmentVariableW(L"ZSR_FEEDBACK_OPEN", nullptr);
  ::SetEnvironmentVariableW(L"ZSR_FEEDBACK_JOURNAL", nullptr);
}

std::wstring RunningProgram::JournalPath() const { return m_scenario.Path() + L"\\feedback.txt"; }

std::string RunningProgram::Journal() const {
  std::ifstream file(std::filesystem::path(JournalPath()), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

bool RunningProgram::WaitForJournal(const std::string& line) const {
  const auto end = std::chrono::steady_clock::now() + 10s;
  while (Journal().find(line) == std::string::npos) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(100ms);
  }
  return true;
}

HWND RunningProgram::AcceptStartPage() {
  HWND startPage = WaitForWindow(m_process.dwProcessId,
                                 [](HWND hwnd) { return IsLayeredWindow(hwnd) && WindowTextOf(hwnd) == L"系统文件修复工具"; });
  if (startPage) ::SendMessageW(startPage, kStartAccepted, 0, 0);
  return startPage;
}

HWND RunningProgram::WaitForMainWindow() {
  return WaitForWindow(m_process.dwProcessId, [](HWND hwnd) {
    return IsLayeredWindow(hwnd) && (::GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_APPWINDOW) != 0;
  });
}

HWND RunningProgram::WaitForOperationsWindow(HWND main) {
  return WaitForWindow(m_process.dwProcessId,
                       [main](HWND hwnd) { return ::GetWindow(hwnd, GW_OWNER) == main && !IsLayeredWindow(hwnd); });
}

void RunningProgram::OpenOperationsWindow(HWND& main, HWND& operations) {
  ASSERT_TRUE(AcceptStartPage());
  main = WaitForMainWindow();
  ASSERT_TRUE(main);
  operations = WaitForOperationsWindow(main);
  ASSERT_TRUE(operations);
}

void RunningProgram::StartRun(HWND main, HWND operations, HWND& popup) {
  using namespace std::chrono_literals;
  HWND start = ::GetDlgItem(operations, 1004);
  const auto enabledBy = std::chrono::steady_clock::now() + 20s;
  while (!::IsWindowEnabled(start) && std::chrono::steady_clock::now() < enabledBy) std::this_thread::sleep_for(100ms);
  ASSERT_TRUE(::IsWindowEnabled(start)) << "the probe's output did not enable the start button";
  ::PostMessageW(operations, WM_COMMAND, MAKEWPARAM(1004, BN_CLICKED), reinterpret_cast<LPARAM>(start));
  popup = WaitForWindow(m_process.dwProcessId, [main](HWND hwnd) { return IsLayeredWindow(hwnd) && hwnd != main; }, 15s);
  ASSERT_TRUE(popup) << "no progress popup";
}

DWORD RunningProgram::WaitForExit(DWORD ms) {
  if (::WaitForSingleObject(m_process.hProcess, ms) != WAIT_OBJECT_0) return STILL_ACTIVE;
  DWORD code = 0;
  ::GetExitCodeProcess(m_process.hProcess, &code);
  return code;
}

void ProgramAtDpi::SetUp() {
  ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_READ | KEY_WRITE,
                              nullptr, &m_desktop, nullptr),
            ERROR_SUCCESS);
  DWORD size = sizeof(m_previous);
  m_hadPrevious = ::RegQueryValueExW(m_desktop, L"LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&m_previous),
                                     &size) == ERROR_SUCCESS;
  ::RegSetValueExW(m_desktop, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&m_dpi), sizeof(m_dpi));
  RunningProgram::SetUp();
}

void ProgramAtDpi::TearDown() {
  RunningProgram::TearDown();
  if (m_hadPrevious) {
    ::RegSetValueExW(m_desktop, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&m_previous),
                     sizeof(m_previous));
  } else {
    ::RegDeleteValueW(m_desktop, L"LogPixels");
  }
  ::RegCloseKey(m_desktop);
}

// The real removal: a copy of a helper that does what the main window's destroy handler does
// is started under the program's name from a prepared folder; the command interpreter then
// waits (the stand-in timeout) and removes that folder, or nothing.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "scenario_folder.h"
#include "standin_path_scope.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

fs::path BinFolder() {
  wchar_t path[MAX_PATH]{};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  return fs::path(path).parent_path();
}

void WriteFile(const fs::path& file, const std::string& text) { std::ofstream(file, std::ios::binary) << text; }

// Starts `program` in its own folder (as a double click does) and waits until it has ended.
bool RunFromItsFolder(const fs::path& program) {
  STARTUPINFOW startup{sizeof(startup)};
  PROCESS_INFORMATION process{};
  std::wstring commandLine = L"\"" + program.wstring() + L"\"";
  if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        program.parent_path().c_str(), &startup, &process)) {
    return false;
  }
  const bool ended = ::WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0;
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return ended;
}

bool WaitUntilGone(const fs::path& folder, std::chrono::seconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < end) {
    if (!fs::exists(folder)) return true;
    std::this_thread::sleep_for(100ms);
  }
  return !fs::exists(folder);
}

// A fresh folder under the temporary folder, removed with everything in it afterwards.
class ToolFolderRemoval : public testing::Test {
 protected:
  void SetUp() override {
    m_root = fs::temp_directory_path() /
             (L"zsr-app-" + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(::GetTickCount()));
    fs::create_directories(m_root);
    ASSERT_TRUE(fs::exists(BinFolder() / L"tool_folder_remover.exe"));
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(m_root, ignored);
  }

  // The tool's folder with the helper under the program's name.
  fs::path MakeToolFolder(const std::wstring& name) {
    const fs::path folder = m_root / name;
    fs::create_directories(folder);
    fs::copy_file(BinFolder() / L"tool_folder_remover.exe", folder / L"MendoraZorvexSfcRepair.exe");
    WriteFile(folder / L"ZorvexSfcRepair.dll", "engine");
    WriteFile(folder / L"使用说明.txt", "read me");
    return folder;
  }

  fs::path m_root;
  CStandinPathScope m_standinsFirst;  // the interpreter finds the stand-in timeout.exe
  CScenarioFolder m_scenario;         // and the stand-in records that it ran
};

}  // namespace

TEST_F(ToolFolderRemoval, RemovesExactlyItsFolderAboutThreeSecondsLater) {
  // '&' would end the command, a blank would split the path, '^' would escape, parentheses
  // would group: each has a decoy that a misread path would hit.
  const fs::path tool = MakeToolFolder(L"zsr kit & 100% ^x (1)");
  const fs::path decoys[] = {m_root / L"zsr", m_root / L"zsr kit & 100% x (1)",
                             m_root / L"zsr kit & 100%"};
  for (const fs::path& decoy : decoys) {
    fs::create_directories(decoy);
    WriteFile(decoy / L"keep.txt", "user data");
  }
  WriteFile(m_root / L"beside.txt", "user data");

  ASSERT_TRUE(RunFromItsFolder(tool / L"MendoraZorvexSfcRepair.exe"));
  const auto ended = std::chrono::steady_clock::now();
  std::this_thread::sleep_for(1500ms);
  EXPECT_TRUE(fs::exists(tool / L"使用说明.txt")) << "removed before the wait was over";

  ASSERT_TRUE(WaitUntilGone(tool, 20s));
  EXPECT_GE(std::chrono::steady_clock::now() - ended, 2500ms);
  for (const fs::path& decoy : decoys) EXPECT_TRUE(fs::exists(decoy / L"keep.txt")) << decoy.string();
  EXPECT_TRUE(fs::exists(m_root / L"beside.txt"));
  EXPECT_NE(m_scenario.Calls().find("timeout\t/t 3 /nobreak"), std::string::npos) << m_scenario.Calls();
}

// Folders that must stay: one holds a user's file; the other a name in which the interpreter
// would expand a variable (the decoy is where the expanded path leads).
TEST_F(ToolFolderRemoval, FoldersThatMustStayAreLeftWhole) {
  const fs::path withUserFile = MakeToolFolder(L"Repair Kit");
  WriteFile(withUserFile / L"my notes.txt", "user data");
  ASSERT_TRUE(::SetEnvironmentVariableW(L"ZSRX", L"evil"));
  const fs::path withVariable = MakeToolFolder(L"kit %ZSRX% (2)");
  const fs::path decoy = m_root / L"kit evil (2)";
  fs::create_directories(decoy);
  WriteFile(decoy / L"keep.txt", "user data");

  ASSERT_TRUE(RunFromItsFolder(withUserFile / L"MendoraZorvexSfcRepair.exe"));
  ASSERT_TRUE(RunFromItsFolder(withVariable / L"MendoraZorvexSfcRepair.exe"));
  std::this_thread::sleep_for(4500ms);
  ::SetEnvironmentVariableW(L"ZSRX", nullptr);
  EXPECT_TRUE(fs::exists(withUserFile / L"MendoraZorvexSfcRepair.exe"));
  EXPECT_TRUE(fs::exists(withUserFile / L"my notes.txt"));
  EXPECT_TRUE(fs::exists(withVariable / L"MendoraZorvexSfcRepair.exe"));
  EXPECT_TRUE(fs::exists(decoy / L"keep.txt"));
  EXPECT_EQ(m_scenario.Calls(), "") << "the interpreter was started";
}

// The shipped program, copied into a folder of its own as a user unpacks it, started with the
// stand-in repair tools playing a scenario, and driven only from outside through CUserDriver.
// Each step waits at most a bounded time; whatever a failed case leaves running is ended.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "scenario_folder.h"
#include "res/resource.h"
#include "standin_path_scope.h"
#include "tools/driver/user_driver.h"

namespace e2e {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

inline double SecondsBetween(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double>(to - from).count();
}

// The texts a user reads in the tool's prompts.
inline const std::wstring kLocalFailed = L"启动本地修复失败!  如果修复失败或修复后仍有问题，建议您备份数据后重装系统";
inline const std::wstring kOnlineFailed = L"启动联网修复失败! 如果修复失败或修复后仍有问题，建议您备份数据后重装系统";
inline const std::wstring kNetworkRequired = L"请连接网络，否则无法完成联网修复。现仅完成本地修复！";
inline const std::wstring kSucceeded =
    L"系统修复成功，本工具调用微软内置命令进行本地和网络修复系统文件，但修复不能解决所有问题，请了解";
inline const std::wstring kLocalStatus = L"正在进行本地修复,请稍等";
inline const std::wstring kOnlineStatus = L"正在进行联网修复,请稍等";

// Lines of the stand-ins' call record.
inline const std::string kProbeCall = "ping\twww.baidu.com";
inline const std::string kSfcCall = "sfc\t/scannow";
inline const std::string kDismCall = "dism\t/Online /Cleanup-image /RestoreHealth";

// DISM as on a Chinese system: banner with the image-version header, progress records far
// enough apart to arrive one by one, and the final bar at 100.0 with the closing lines.
inline const char kDismSucceeds[] =
    "write dism-zh-success.bin 0 79\n"
    "pause 700\n"
    "dism-progress 10 90 step 40 pause 700\n"
    "write dism-zh-success.bin 729\n";

class ProgramScenario : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Before Launch: the Windows version Wine reports to the program ("win10" unless changed;
  // empty: the prefix's own, Windows 7), and the feedback service's answers.
  void ReportWindowsVersion(const std::wstring& version) { m_windowsVersion = version; }
  void SetEnvironment(const wchar_t* name, const wchar_t* value);
  void Play(const std::wstring& tool, const std::string& scenario) { ASSERT_TRUE(m_scenario.Set(tool, scenario)); }

  void Launch();
  const CUserDriver& User() const { return *m_user; }

  // What a user does: presses 开始 on the start page (the agreement is ticked already) and
  // finds the main window; presses its start button once it can be pressed and sees the
  // progress popup.
  bool PassStartPage();
  HWND OpenOperationsWindow();
  HWND StartRepair(HWND operations);
  // The prompt that shows next; its text is expected to be `text`.
  HWND AwaitPrompt(const std::wstring& text, std::chrono::seconds limit);
  void Confirm(HWND prompt);
  // The program's exit code, or STILL_ACTIVE after the limit.
  DWORD AwaitExit(std::chrono::seconds limit);

  // The moment the stand-ins' record first showed the `nth` (1-based) start of `call`.
  std::optional<Clock::time_point> AwaitCall(const std::string& call, int nth, std::chrono::seconds limit) const;
  int CountOf(const std::string& call) const;
  // A servicing process (TiWorker.exe, TrustedInstaller.exe) playing its scenario.
  void StartServicing(const std::wstring& exeName);

  std::filesystem::path ToolFolder() const { return m_root / L"MendoraZorvexSfcRepair"; }
  bool AwaitFolderRemoved(std::chrono::seconds limit) const;
  std::string FeedbackJournal() const;
  // How many lines of the feedback journal match `line`, once there are `count` of them or the
  // limit has passed (the tool reports from a worker thread after the prompt has closed).
  int AwaitFeedback(const std::regex& line, int count, std::chrono::seconds limit) const;
  std::string UrlJournal() const;
  // The browser stand-in records a page a moment after the shell has started it.
  bool AwaitPageOpened(const std::string& url, std::chrono::seconds limit) const;
  // No repair tool or probe of this run is running.
  void ExpectNoRepairToolRunning() const;
  // Once the tool has ended: neither it, nor a tool, probe or folder removal of it is left.
  void ExpectNothingLeftRunning() const;

  CStandinPathScope m_standinsFirst;
  CScenarioFolder m_scenario;
  std::filesystem::path m_root;
  std::wstring m_windowsVersion = L"win10";
  std::vector<std::wstring> m_environment;
  PROCESS_INFORMATION m_process{};
  std::vector<HANDLE> m_servicing;
  std::optional<CUserDriver> m_user;
  Clock::time_point m_runStarted;  // when the start button was pressed
};

}  // namespace e2e

// The real program under the stand-ins: start page accepted, then the main window's frame
// and the operations window inside it are measured, minimised and restored, and closed.
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "running_program.h"

using namespace std::chrono_literals;

namespace {

// The release package unpacked into a folder of its own.
class ReleasedProgram : public RunningProgram {
 protected:
  ReleasedProgram() { m_bLaunchFromBuild = false; }
  void TearDown() override {
    RunningProgram::TearDown();
    std::error_code ignored;
    std::filesystem::remove_all(m_root, ignored);
  }

  // root\<name> holding the package's files; root also holds a user's file.
  std::filesystem::path Unpack(const std::wstring& name) {
    namespace fs = std::filesystem;
    m_root = fs::temp_directory_path() / (L"zsr-release-" + std::to_wstring(::GetTickCount()));
    const fs::path folder = m_root / name;
    fs::create_directories(folder);
    for (const wchar_t* file : {L"MendoraZorvexSfcRepair.exe", L"ZorvexSfcRepair.dll", L"ZorvexFeedbackInformation.dll"})
      fs::copy_file(fs::path(BinFolder()) / file, folder / file);
    std::ofstream(folder / L"使用说明.txt") << "read me";
    std::ofstream(m_root / L"beside.txt") << "user data";
    return folder;
  }

  std::filesystem::path m_root;
};

}  // namespace

TEST_F(RunningProgram, FrameAndOperationsWindowAt96DotsPerInch) {
  HWND main = nullptr, operations = nullptr;
  ASSERT_NO_FATAL_FAILURE(OpenOperationsWindow(main, operations));
  std::this_thread::sleep_for(500ms);

  const RECT frame = ScreenRectOf(main);
  const RECT inner = ScreenRectOf(operations);
  EXPECT_EQ(frame.right - frame.left, 410);
  EXPECT_EQ(frame.bottom - frame.top, 611);
  EXPECT_EQ(inner.left - frame.left, 5);
  EXPECT_EQ(inner.top - frame.top, 4);
  EXPECT_EQ(inner.right - inner.left, 400);
  EXPECT_EQ(inner.bottom - inner.top, 600);
  // Centred on the screen (no taskbar here: the work area is the whole screen).
  EXPECT_NEAR(frame.left + 205, ::GetSystemMetrics(SM_CXSCREEN) / 2, 1);
  EXPECT_NEAR(frame.top + 305, ::GetSystemMetrics(SM_CYSCREEN) / 2, 1);

  // The start button of a 400-pixel client sits where the unscaled layout puts it.
  HWND start = ::GetDlgItem(operations, 1004);
  ASSERT_TRUE(start);
  RECT button = ScreenRectOf(start);
  POINT origin{0, 0};
  ::ClientToScreen(operations, &origin);
  EXPECT_EQ(button.left - origin.x, 71);
  EXPECT_EQ(button.top - origin.y, 220);
  EXPECT_EQ(button.right - button.left, 259);
  EXPECT_EQ(button.bottom - button.top, 85);

  // The probe's output enables the start button.
  const auto end = std::chrono::steady_clock::now() + 20s;
  while (!::IsWindowEnabled(start) && std::chrono::steady_clock::now() < end) std::this_thread::sleep_for(100ms);
  EXPECT_TRUE(::IsWindowEnabled(start));
  // ZSR_APP_TEST_PAUSE_MS leaves the window up for a look (a screenshot) before going on.
  if (const char* pause = std::getenv("ZSR_APP_TEST_PAUSE_MS")) std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(pause)));

  // The minimise button minimises the frame and, with it, the operations window.
  ::PostMessageW(operations, WM_COMMAND, MAKEWPARAM(1003, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(operations, 1003)));
  std::this_thread::sleep_for(1000ms);
  EXPECT_TRUE(::IsIconic(main));
  EXPECT_FALSE(::IsWindowVisible(operations));
  ::PostMessageW(main, WM_SYSCOMMAND, SC_RESTORE, 0);  // what the taskbar button sends
  std::this_thread::sleep_for(1000ms);
  EXPECT_FALSE(::IsIconic(main));
  EXPECT_TRUE(::IsWindowVisible(operations));

  // The system menu's About entry opens the About box modally.
  ::PostMessageW(main, WM_SYSCOMMAND, 0x0010, 0);
  HWND about = WaitForWindow(m_process.dwProcessId, [](HWND hwnd) { return WindowTextOf(hwnd) == L"About ZorvexSfcRepair"; }, 10s);
  ASSERT_TRUE(about);
  EXPECT_FALSE(::IsWindowEnabled(main));
  ::PostMessageW(about, WM_COMMAND, IDOK, 0);
  const auto aboutEnd = std::chrono::steady_clock::now() + 10s;
  while (::IsWindow(about) && std::chrono::steady_clock::now() < aboutEnd) std::this_thread::sleep_for(100ms);
  EXPECT_FALSE(::IsWindow(about));

  // Closing the frame ends the program.
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForExit(15000), 0u);
}

// A click on the feedback link asks the service's feedback question, one on the version label
// nothing; the close button offers the problem-solved window before the tool ends.
TEST_F(RunningProgram, FeedbackLinkAndCloseButton) {
  HWND main = nullptr, operations = nullptr;
  ASSERT_NO_FATAL_FAILURE(OpenOperationsWindow(main, operations));
  ASSERT_TRUE(WaitForJournal("GetToolIsNewVersion 10027 1.0.4"));

  auto clickOn = [operations](int id) {
    RECT label = ScreenRectOf(::GetDlgItem(operations, id));
    POINT point{(label.left + label.right) / 2, (label.top + label.bottom) / 2};
    ::ScreenToClient(operations, &point);
    ::PostMessageW(operations, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y));
    ::PostMessageW(operations, WM_LBUTTONUP, 0, MAKELPARAM(point.x, point.y));
  };
  clickOn(1006);
  std::this_thread::sleep_for(1000ms);
  EXPECT_EQ(Journal().find("FeedbackQuestion"), std::string::npos) << "the version label answered";
  clickOn(1008);
  EXPECT_TRUE(WaitForJournal("FeedbackQuestion 10027 1.0.4\n"));

  ::PostMessageW(operations, WM_COMMAND, MAKEWPARAM(1002, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(operations, 1002)));
  HWND problemSolved = WaitForWindow(m_process.dwProcessId, [main](HWND hwnd) { return IsLayeredWindow(hwnd) && hwnd != main; }, 15s);
  ASSERT_TRUE(problemSolved);
  EXPECT_EQ(WaitForExit(500), static_cast<DWORD>(STILL_ACTIVE)) << "the tool ended before the window was answered";
  ::PostMessageW(problemSolved, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForExit(15000), 0u);
  const std::string journal = Journal();
  EXPECT_EQ(journal.substr(journal.size() - std::string("ReleaseFreedbackRes\n").size()), "ReleaseFreedbackRes\n") << journal;
}

// A run: the start button opens the progress popup; the outcome's prompt follows (the Wine
// prefix reports Windows 7, whose success comes right after sfc). Closing the tool while the
// run waits in its transition ends it promptly and leaves no repair process behind.
TEST_F(RunningProgram, RunThenCloseDuringTheTransition) {
  HWND main = nullptr, operations = nullptr, popup = nullptr;
  ASSERT_NO_FATAL_FAILURE(OpenOperationsWindow(main, operations));
  ASSERT_NO_FATAL_FAILURE(StartRun(main, operations, popup));
  HWND prompt = WaitForWindow(m_process.dwProcessId,
                              [main, popup](HWND hwnd) { return IsLayeredWindow(hwnd) && hwnd != main && hwnd != popup; }, 30s);
  ASSERT_TRUE(prompt);
  EXPECT_NE(m_scenario.Calls().find("sfc\t/scannow"), std::string::npos) << m_scenario.Calls();
  ::PostMessageW(prompt, WM_CLOSE, 0, 0);
  std::this_thread::sleep_for(1500ms);

  const auto closed = std::chrono::steady_clock::now();
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForExit(15000), 0u);
  EXPECT_LT(std::chrono::steady_clock::now() - closed, 8s);
  EXPECT_FALSE(IsProcessRunning(L"sfc.exe"));
  EXPECT_FALSE(IsProcessRunning(L"Dism.exe"));
  EXPECT_NE(Journal().find("ReleaseFreedbackRes"), std::string::npos) << Journal();
}

// Closing the tool removes the folder it was unpacked into, about three seconds later, and
// nothing beside it.
TEST_F(ReleasedProgram, ClosingRemovesItsFolderAboutThreeSecondsLater) {
  namespace fs = std::filesystem;
  const fs::path folder = Unpack(L"Repair Kit & 1% ^ (x64)");
  ASSERT_TRUE(Launch(folder.wstring()));

  ASSERT_TRUE(AcceptStartPage());
  HWND main = WaitForMainWindow();
  ASSERT_TRUE(main);
  ASSERT_TRUE(WaitForOperationsWindow(main));
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  ASSERT_EQ(WaitForExit(15000), 0u);
  const auto ended = std::chrono::steady_clock::now();
  std::this_thread::sleep_for(1500ms);
  EXPECT_TRUE(fs::exists(folder / L"MendoraZorvexSfcRepair.exe")) << "removed before the wait was over";
  const auto end = ended + 20s;
  while (fs::exists(folder) && std::chrono::steady_clock::now() < end) std::this_thread::sleep_for(100ms);
  EXPECT_FALSE(fs::exists(folder));
  EXPECT_GE(std::chrono::steady_clock::now() - ended, 2500ms);
  EXPECT_TRUE(fs::exists(m_root / L"beside.txt"));
}

TEST_F(ReleasedProgram, DecliningTheStartPageLeavesTheFolder) {
  const std::filesystem::path folder = Unpack(L"Repair Kit");
  ASSERT_TRUE(Launch(folder.wstring()));
  HWND startPage = WaitForWindow(m_process.dwProcessId,
                                 [](HWND hwnd) { return IsLayeredWindow(hwnd) && WindowTextOf(hwnd) == L"系统文件修复工具"; });
  ASSERT_TRUE(startPage);
  ::PostMessageW(startPage, WM_CLOSE, 0, 0);
  ASSERT_EQ(WaitForExit(15000), 0u);
  std::this_thread::sleep_for(4500ms);
  EXPECT_TRUE(std::filesystem::exists(folder / L"MendoraZorvexSfcRepair.exe"));
}

// At 144 dots per inch (s = 1.44) the frame is 590 x 879. The operations window is created
// trunc(590 - 10 s) x trunc(879 - 11 s) = 575 x 863 large; the frame's centring move then
// carries it to the follow margins trunc(5 s), trunc(4 s), trunc(5 s), trunc(7 s): 576 x 864.
class ProgramAt144Dpi : public ProgramAtDpi {
 protected:
  ProgramAt144Dpi() : ProgramAtDpi(144) {}
};

TEST_F(ProgramAt144Dpi, FrameAndOperationsWindowScale) {
  ASSERT_TRUE(Launch(BinFolder()));
  HWND main = nullptr, operations = nullptr;
  ASSERT_NO_FATAL_FAILURE(OpenOperationsWindow(main, operations));
  std::this_thread::sleep_for(500ms);
  if (const char* pause = std::getenv("ZSR_APP_TEST_PAUSE_MS")) std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(pause)));
  const RECT frame = ScreenRectOf(main);
  const RECT inner = ScreenRectOf(operations);
  EXPECT_EQ(frame.right - frame.left, 590);
  EXPECT_EQ(frame.bottom - frame.top, 879);
  EXPECT_EQ(inner.left - frame.left, 7);
  EXPECT_EQ(inner.top - frame.top, 5);
  EXPECT_EQ(inner.right - inner.left, 576);
  EXPECT_EQ(inner.bottom - inner.top, 864);
  // The controls were laid out on the created client: the start button of the scaled rule.
  RECT start = ScreenRectOf(::GetDlgItem(operations, 1004));
  EXPECT_EQ(start.left - inner.left, 101);
  EXPECT_EQ(start.top - inner.top, 316);
  EXPECT_EQ(start.right - start.left, 372);
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForExit(15000), 0u);
}

// The tool closed while an outcome's prompt is still open on a worker thread: the prompt is
// dismissed and the program ends promptly.
TEST_F(RunningProgram, CloseWhileAPromptIsOpen) {
  HWND main = nullptr, operations = nullptr, popup = nullptr;
  ASSERT_NO_FATAL_FAILURE(OpenOperationsWindow(main, operations));
  ASSERT_NO_FATAL_FAILURE(StartRun(main, operations, popup));
  HWND prompt = WaitForWindow(m_process.dwProcessId,
                              [main, popup](HWND hwnd) { return IsLayeredWindow(hwnd) && hwnd != main && hwnd != popup; }, 30s);
  ASSERT_TRUE(prompt);
  std::this_thread::sleep_for(500ms);
  ASSERT_TRUE(::IsWindowEnabled(main)) << "the progress popup is still running";

  const auto closed = std::chrono::steady_clock::now();
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForExit(15000), 0u);
  EXPECT_LT(std::chrono::steady_clock::now() - closed, 8s);
  EXPECT_FALSE(IsProcessRunning(L"sfc.exe"));
  EXPECT_FALSE(IsProcessRunning(L"Dism.exe"));
}

// Ways in and out of the tool that are not a repair outcome: the feedback service stopping
// the start, the start page declined, the tool closed while a repair runs.
#include <filesystem>
#include <thread>

#include "program_scenario.h"

namespace e2e {
namespace {

class StartAndClose : public ProgramScenario {};

TEST_F(StartAndClose, NewerVersionSendsTheUserToTheDownloadAndEnds) {
  SetEnvironment(L"ZSR_FEEDBACK_VERSION", L"3");
  ASSERT_NO_FATAL_FAILURE(Launch());
  ASSERT_TRUE(PassStartPage());
  HWND prompt = AwaitPrompt(L"检测到当前工具有新的版本更新，请下载最新版本使用。", 15s);
  ASSERT_TRUE(prompt);
  Confirm(prompt);
  EXPECT_EQ(AwaitExit(10s), 0u);
  const auto end = Clock::now() + 10s;
  while (UrlJournal().empty() && Clock::now() < end) std::this_thread::sleep_for(100ms);
  EXPECT_EQ(UrlJournal(), "https://kb.zorvex.com/download/10027.html\r\n");
  // The process ends at once: the folder stays, no window clean-up ran.
  EXPECT_TRUE(std::filesystem::exists(ToolFolder()));
}

TEST_F(StartAndClose, FailedServiceInitialisationEndsTheTool) {
  SetEnvironment(L"ZSR_FEEDBACK_INIT", L"0");
  ASSERT_NO_FATAL_FAILURE(Launch());
  ASSERT_TRUE(PassStartPage());
  HWND prompt = AwaitPrompt(L"工具初始化失败", 15s);
  ASSERT_TRUE(prompt);
  Confirm(prompt);
  EXPECT_EQ(AwaitExit(10s), 0u);
  EXPECT_EQ(FeedbackJournal().find("GetToolIsNewVersion"), std::string::npos) << FeedbackJournal();
  EXPECT_TRUE(std::filesystem::exists(ToolFolder()));
}

TEST_F(StartAndClose, DecliningTheStartPageEndsTheToolAndKeepsItsFolder) {
  ASSERT_NO_FATAL_FAILURE(Launch());
  HWND startPage = User().StartPage();
  ASSERT_TRUE(startPage);
  ASSERT_TRUE(User().Click(startPage, IDC_START_CLOSE));
  EXPECT_EQ(AwaitExit(10s), 0u);
  EXPECT_EQ(m_scenario.Calls(), "") << "nothing runs before the start page is accepted";
  EXPECT_EQ(FeedbackJournal(), "");
  std::this_thread::sleep_for(2s);
  EXPECT_TRUE(std::filesystem::exists(ToolFolder() / L"MendoraZorvexSfcRepair.exe"));
  ExpectNothingLeftRunning();
}

// The popup holds the tool's input; "End task" (a close message to the main window) still
// ends the tool, its sfc and its folder.
TEST_F(StartAndClose, EndingTheToolDuringARunLeavesNothingRunning) {
  Play(L"sfc", "hang\n");
  ASSERT_NO_FATAL_FAILURE(Launch());
  HWND operations = OpenOperationsWindow();
  ASSERT_TRUE(operations);
  HWND popup = StartRepair(operations);
  ASSERT_TRUE(popup);
  ASSERT_TRUE(AwaitCall(kSfcCall, 1, 15s));
  std::this_thread::sleep_for(1s);
  HWND main = User().MainWindow(1s);
  ASSERT_TRUE(main);
  EXPECT_FALSE(::IsWindowEnabled(operations)) << "the popup should hold the tool's input";
  const auto closed = Clock::now();
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(AwaitExit(10s), 0u);
  EXPECT_LT(std::chrono::duration<double>(Clock::now() - closed).count(), 6);
  EXPECT_FALSE(User().ProblemSolvedWindow(std::chrono::milliseconds(0)));
  const std::string journal = FeedbackJournal();
  EXPECT_EQ(journal.substr(journal.rfind('\n', journal.size() - 2) + 1), "ReleaseFreedbackRes\n") << journal;
  EXPECT_TRUE(AwaitFolderRemoved(15s));
  ExpectNothingLeftRunning();
}

}  // namespace
}  // namespace e2e

// Ways in and out of the tool that are not a repair outcome: the feedback service stopping
// the start, the start page declined, the tool ended while a repair runs.
#include <filesystem>
#include <thread>

#include "program_scenario.h"

namespace e2e {
namespace {

class StartAndClose : public ProgramScenario {};

// The feedback service stops the start: a prompt, then the process ends at once with exit code
// 0, before any window clean-up (the folder stays).
struct ServiceStopCase {
  const char* name;
  const wchar_t* variable;
  const wchar_t* value;
  const wchar_t* prompt;
  const char* pagesOpened;  // the URL recorder's journal
  bool versionAsked;
};

const ServiceStopCase kServiceStops[] = {
    {"NewerVersionSendsTheUserToTheDownload", L"ZSR_FEEDBACK_VERSION", L"3",
     L"检测到当前工具有新的版本更新，请下载最新版本使用。", "https://kb.zorvex.com/download/10027.html\r\n", true},
    {"FailedInitialisation", L"ZSR_FEEDBACK_INIT", L"0", L"工具初始化失败", "", false},
};

void PrintTo(const ServiceStopCase& c, std::ostream* out) { *out << c.name; }

class FeedbackServiceStop : public ProgramScenario, public testing::WithParamInterface<ServiceStopCase> {};

TEST_P(FeedbackServiceStop, EndsTheToolAfterItsPrompt) {
  const ServiceStopCase& stop = GetParam();
  SetEnvironment(stop.variable, stop.value);
  ASSERT_NO_FATAL_FAILURE(Launch());
  ASSERT_TRUE(PassStartPage());
  HWND prompt = AwaitPrompt(stop.prompt, 15s);
  ASSERT_TRUE(prompt);
  Confirm(prompt);
  EXPECT_EQ(AwaitExit(10s), 0u);
  const auto end = Clock::now() + (*stop.pagesOpened ? 10s : 1s);
  while (UrlJournal() != stop.pagesOpened && Clock::now() < end) std::this_thread::sleep_for(100ms);
  EXPECT_EQ(UrlJournal(), stop.pagesOpened);
  EXPECT_EQ(FeedbackJournal().find("GetToolIsNewVersion") != std::string::npos, stop.versionAsked) << FeedbackJournal();
  EXPECT_TRUE(std::filesystem::exists(ToolFolder()));
}

INSTANTIATE_TEST_SUITE_P(Start, FeedbackServiceStop, testing::ValuesIn(kServiceStops),
                         [](const testing::TestParamInfo<ServiceStopCase>& param) { return param.param.name; });

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

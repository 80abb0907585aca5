// Each way a repair run can end, as the user meets it: the real program, the stand-in tools
// playing what sfc, ping and DISM print, and the tool's own timing.
#include <regex>
#include <thread>

#include "program_scenario.h"

namespace e2e {
namespace {

class RepairRun : public ProgramScenario {
 protected:
  void SetUp() override {
    ProgramScenario::SetUp();
    // sfc works a while, then writes its whole report at once, as it does into a pipe.
    Play(L"sfc", "pause 2000\nwrite sfc-zh-no-violations.bin\n");
    Play(L"tiworker", "idle 600000\n");
    Play(L"dism", kDismSucceeds);
    StartServicing(L"TiWorker.exe");
  }

  // Start page passed and the run started; the popup shows the local phase.
  void StartTheRun(HWND& operations, HWND& popup) {
    ASSERT_NO_FATAL_FAILURE(Launch());
    operations = OpenOperationsWindow();
    ASSERT_TRUE(operations);
    popup = StartRepair(operations);
    ASSERT_TRUE(popup);
    EXPECT_EQ(User().StatusLine(popup), kLocalStatus);
  }

  // After a failure the popup ends once the prompt is confirmed and the tool is ready again.
  void ExpectReadyAfterFailure(HWND operations, HWND popup, HWND prompt) {
    EXPECT_TRUE(::IsWindowVisible(popup)) << "the popup should stay behind the failure prompt";
    Confirm(prompt);
    EXPECT_TRUE(User().WaitUntilGone(popup, 5s));
    EXPECT_TRUE(User().WaitUntilEnabled(operations, IDC_OP_LOCAL, 5s));
  }
};

TEST_F(RepairRun, SucceedsThroughTheLocalAndTheOnlinePhase) {
  HWND operations = nullptr, popup = nullptr;
  ASSERT_NO_FATAL_FAILURE(StartTheRun(operations, popup));

  const auto transition = AwaitCall(kProbeCall, 2, 20s);
  ASSERT_TRUE(transition) << "no second probe after sfc's report: " << m_scenario.Calls();
  EXPECT_EQ(User().StatusLine(popup), kLocalStatus);
  const auto dism = AwaitCall(kDismCall, 1, 70s);
  ASSERT_TRUE(dism) << m_scenario.Calls();
  // The probe's two seconds, six idle samples of a second five seconds apart, ten seconds' rest.
  EXPECT_GE(SecondsBetween(*transition, *dism), 2 + 6 + 25 + 10 - 0.5);
  EXPECT_LT(SecondsBetween(*transition, *dism), 2 + 6 + 25 + 10 + 15);
  std::this_thread::sleep_for(1500ms);
  EXPECT_EQ(User().StatusLine(popup), kOnlineStatus);

  HWND prompt = AwaitPrompt(kSucceeded, 30s);
  ASSERT_TRUE(prompt);
  EXPECT_FALSE(::IsWindow(popup) && ::IsWindowVisible(popup)) << "the popup must end before the success prompt";
  Confirm(prompt);
  EXPECT_GE(AwaitFeedback(std::regex("\nCustomerFeedbackEx 10027 1\\.0\\.4 1 [0-9]+(?=\n)"), 1, 10s), 1)
      << FeedbackJournal();
  EXPECT_LT(m_scenario.Calls().find(kSfcCall), m_scenario.Calls().find(kDismCall));

  // After a success the close button closes at once: no problem-solved window.
  ASSERT_TRUE(User().WaitUntilEnabled(operations, IDC_OP_LOCAL, 5s));
  ASSERT_TRUE(User().Click(operations, IDC_OP_CLOSE));
  EXPECT_FALSE(User().ProblemSolvedWindow(2s));
  EXPECT_EQ(AwaitExit(10s), 0u);
  EXPECT_TRUE(AwaitFolderRemoved(15s)) << "the tool's folder is still there";
  ExpectNothingLeftRunning();
}

TEST_F(RepairRun, LocalRepairThatCannotStartFailsAtOnce) {
  Play(L"sfc", "write sfc-zh-no-service.bin\nexit 1\n");
  HWND operations = nullptr, popup = nullptr;
  ASSERT_NO_FATAL_FAILURE(StartTheRun(operations, popup));
  HWND prompt = AwaitPrompt(kLocalFailed, 10s);
  ASSERT_TRUE(prompt);
  EXPECT_LT(SecondsBetween(m_runStarted, Clock::now()), 5);
  ExpectReadyAfterFailure(operations, popup, prompt);
  EXPECT_EQ(CountOf(kDismCall), 0);

  // Closing after a failure asks whether the problem was solved; the answer is reported.
  ASSERT_TRUE(User().Click(operations, IDC_OP_CLOSE));
  HWND solved = User().ProblemSolvedWindow(5s);
  ASSERT_TRUE(solved);
  ASSERT_TRUE(User().Click(solved, IDC_FEEDBACK_UNSOLVED));
  EXPECT_EQ(AwaitExit(10s), 0u);
  EXPECT_TRUE(std::regex_search(FeedbackJournal(), std::regex("\nCustomerFeedbackEx 10027 1\\.0\\.4 2 [0-9]+\n")))
      << FeedbackJournal();
  EXPECT_TRUE(AwaitPageOpened("https://kb.zorvex.com/feedback?tool=10027&version=1.0.4", 10s)) << UrlJournal();
  EXPECT_TRUE(AwaitFolderRemoved(15s));
  ExpectNothingLeftRunning();
}

TEST_F(RepairRun, SfcEndingWithoutOutputFailsOnceTheEstimatePassesFivePercent) {
  Play(L"sfc", "exit 0\n");
  HWND operations = nullptr, popup = nullptr;
  ASSERT_NO_FATAL_FAILURE(StartTheRun(operations, popup));
  // The estimate rises a percent every seven ticks; the missing sfc counts only above 5.
  EXPECT_FALSE(User().Prompt(35s)) << "failed before the estimate passed five percent";
  HWND prompt = AwaitPrompt(kLocalFailed, 40s);
  ASSERT_TRUE(prompt);
  EXPECT_GE(SecondsBetween(m_runStarted, Clock::now()), 43 - 0.3);
  ExpectReadyAfterFailure(operations, popup, prompt);
  EXPECT_EQ(CountOf(kProbeCall), 1) << "no transition after a failed local phase";
}

TEST_F(RepairRun, WithoutNetworkOnlyTheLocalRepairIsDone) {
  Play(L"ping", "write ping-zh-timeout.bin\nexit 1\n");
  HWND operations = nullptr, popup = nullptr;
  ASSERT_NO_FATAL_FAILURE(StartTheRun(operations, popup));
  ASSERT_TRUE(AwaitCall(kProbeCall, 2, 20s)) << m_scenario.Calls();
  HWND prompt = AwaitPrompt(kNetworkRequired, 15s);
  ASSERT_TRUE(prompt);
  EXPECT_TRUE(::IsWindowVisible(popup)) << "the popup should stay behind the prompt";
  Confirm(prompt);
  EXPECT_TRUE(User().WaitUntilGone(popup, 5s));
  EXPECT_TRUE(User().WaitUntilEnabled(operations, IDC_OP_LOCAL, 5s));
  std::this_thread::sleep_for(2s);
  EXPECT_EQ(CountOf(kDismCall), 0) << m_scenario.Calls();
}

// The online phase after a local phase that passed with the servicing idle: three ways DISM
// fails, each ending the run (and DISM) with the online-failure prompt and nothing after it.
struct OnlineFailureCase {
  const char* name;
  const char* dism;
  std::chrono::seconds limit;  // for the prompt, from DISM's start
  double atLeastSeconds;       // the prompt comes no earlier
};

const OnlineFailureCase kOnlineFailures[] = {
    // 错误 arrives 0.7 s in, in the chunk that also carries the figure 100.0.
    {"ErrorMarkerEvenWithOneHundredPercent",
     "write dism-zh-error-source.bin 0 729\npause 700\nwrite dism-zh-error-source.bin 729\nexit 1\n", 15s, 0.7 - 0.2},
    // No 映像版本 header; 1.1 and 5.6 pass, 10.1 (the third record) is above five.
    {"EnglishOutputOnceProgressPassesFive",
     "write dism-en-success.bin 0 112\npause 700\ndism-progress 1.1 30.1 step 4.5 pause 700\nhang\n", 15s, 3 * 0.7 - 0.2},
    // Nothing at all: the silence limit, 62 ticks into the phase.
    {"SilenceSixtyTwoTicksIntoThePhase", "hang\n", 90s, 60 - 0.5},
};

void PrintTo(const OnlineFailureCase& c, std::ostream* out) { *out << c.name; }

class OnlineFailure : public RepairRun, public testing::WithParamInterface<OnlineFailureCase> {};

TEST_P(OnlineFailure, EndsTheRunAndDism) {
  Play(L"dism", GetParam().dism);
  HWND operations = nullptr, popup = nullptr;
  ASSERT_NO_FATAL_FAILURE(StartTheRun(operations, popup));
  const auto dism = AwaitCall(kDismCall, 1, 80s);
  ASSERT_TRUE(dism) << m_scenario.Calls();
  HWND prompt = AwaitPrompt(kOnlineFailed, GetParam().limit);
  ASSERT_TRUE(prompt);
  EXPECT_GE(SecondsBetween(*dism, Clock::now()), GetParam().atLeastSeconds);
  ExpectReadyAfterFailure(operations, popup, prompt);
  EXPECT_FALSE(User().Prompt(4s)) << "a second outcome after the failure";
  ExpectNoRepairToolRunning();
}

INSTANTIATE_TEST_SUITE_P(Dism, OnlineFailure, testing::ValuesIn(kOnlineFailures),
                         [](const testing::TestParamInfo<OnlineFailureCase>& param) { return param.param.name; });

}  // namespace
}  // namespace e2e

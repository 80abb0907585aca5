// The order of the steps of start-up, run start, each outcome, the buttons and shutdown, as the
// window, engine and feedback service see them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "case_name.h"
#include "journal_matcher.h"
#include "run_bench.h"

namespace {

constexpr long long kLongSfcMs = 60LL * 60 * 1000;

struct StartUpCase {
    const char* name;
    bool engineOpens;
    int initResult;
    int versionAnswer;
    std::vector<std::string> expected;
    RunMode mode;
    friend void PrintTo(const StartUpCase& c, std::ostream* out) { *out << c.name; }
};

class StartUp : public testing::TestWithParam<StartUpCase> {};

TEST_P(StartUp, FollowsTheFixedOrder)
{
    const StartUpCase& c = GetParam();
    CRunBench bench;
    bench.engine.opens = c.engineOpens;
    bench.feedback.initResult = c.initResult;
    bench.feedback.versionAnswer = c.versionAnswer;
    EXPECT_TRUE(bench.run.Initialise());
    EXPECT_TRUE(SequenceIs(bench.journal.Take(), c.expected));
    EXPECT_EQ(bench.run.Mode(), c.mode);
}

const std::vector<std::string> kOpened = {"Button off", "Start monitor", "Open", "Callback set",
                                          "Send ping www.baidu.com [19]", "Feedback init"};

std::vector<std::string> Then(std::vector<std::string> steps, const std::vector<std::string>& more)
{
    steps.insert(steps.end(), more.begin(), more.end());
    return steps;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StartUp,
    testing::Values(
        StartUpCase{"normal", true, 1, 0, Then(kOpened, {"Version check 10027 1.0.4"}), Probe},
        StartUpCase{"version_answer_1", true, 1, 1, Then(kOpened, {"Version check 10027 1.0.4"}), Probe},
        StartUpCase{"version_answer_2", true, 1, 2, Then(kOpened, {"Version check 10027 1.0.4"}), Probe},
        StartUpCase{"version_answer_4", true, 1, 4, Then(kOpened, {"Version check 10027 1.0.4"}), Probe},
        StartUpCase{"no_engine",
                    false,
                    1,
                    0,
                    {"Button off", "Start monitor", "Open", "Feedback init", "Version check 10027 1.0.4"},
                    Idle},
        // The start-up failure prompt keeps the prompt's own scale of 1.0.
        StartUpCase{"feedback_init_fails", true, 0, 0,
                    Then(kOpened, {"Prompt(init failed) mode=Probe status=\"\" popup=ended", "Exit 0"}), Probe},
        StartUpCase{"newer_version",
                    true,
                    1,
                    3,
                    Then(kOpened, {"Version check 10027 1.0.4",
                                   "Prompt(new version) scale=1.25 mode=Probe status=\"\" popup=ended",
                                   "Download page", "Exit 0"}),
                    Probe}),
    CaseName());

TEST(RunStart, ClearsLeftoversSwitchesRedirectionOffSendsSfcAndShowsThePopup)
{
    CRunBench bench;
    bench.ScriptHealthySystem(kLongSfcMs);
    bench.StartUp();
    bench.time.Sleep(500);
    bench.journal.Clear();
    bench.run.OnBnClickedLocal();
    EXPECT_TRUE(SequenceIs(bench.journal.Take(),
                           {"Button off", "Clear", "Redirection off", "Send sfc /scannow [13]", "Popup run"}));
    EXPECT_EQ(bench.run.Mode(), LocalRepair);
    EXPECT_TRUE(bench.run.IsLocalPhaseActive());
    EXPECT_EQ(bench.status.ProgressPercent(), 0);
    EXPECT_EQ(Utf8Of(*bench.status.PercentText()), "0%");
    EXPECT_EQ(Utf8Of(*bench.status.StatusText()), "正在进行本地修复,请稍等");
}

TEST(RunStart, WithoutEngineOnlyThePopupRuns)
{
    CRunBench bench;
    bench.engine.opens = false;
    bench.StartUp();
    bench.journal.Clear();
    bench.run.OnBnClickedLocal();
    EXPECT_TRUE(SequenceIs(bench.journal.Take(), {"Button off", "Popup run"}));
    EXPECT_EQ(bench.run.Mode(), LocalRepair);
}

// Each outcome, from the moment it is detected.
TEST(Outcome, LocalFailureShowsThePromptOverThePopupThenEndsIt)
{
    CRunBench bench;
    bench.ScriptHealthySystem(kLongSfcMs);
    bench.StartUpAndStartRun();
    bench.journal.Clear();
    bench.Deliver(Fixture("sfc-zh-no-service.bin"));
    EXPECT_TRUE(SequenceIs(bench.journal.Take(), {"Prompt(local failure) scale=1.25 mode=Idle status=\"\" popup=open",
                                                  "Popup end", "Clear", "Button on"}));
    EXPECT_TRUE(bench.run.ShowFeedbackOnClose());
    EXPECT_EQ(bench.status.ProgressPercent(), 0) << "outcomes leave the percent alone";
}

TEST(Outcome, OnlineFailureShowsThePromptOverThePopupThenEndsIt)
{
    CRunBench bench;
    bench.ScriptHealthySystem(kLongSfcMs);
    bench.ReachOnlinePhase();
    bench.Deliver("[=   7.5%  ]");
    bench.journal.Clear();
    bench.Deliver(Fixture("dism-zh-not-elevated.bin"));
    EXPECT_TRUE(SequenceIs(bench.journal.Take(), {"Prompt(online failure) scale=1.25 mode=Idle status=\"\" popup=open",
                                                  "Popup end", "Clear", "Button on"}));
    EXPECT_TRUE(bench.run.IsOnlinePhaseActive()) << "the online failure leaves the phase flag";
    EXPECT_EQ(bench.status.ProgressPercent(), 7);
    EXPECT_EQ(Utf8Of(*bench.status.PercentText()), "7%");
}

TEST(Outcome, NetworkRequiredKeepsTheModeUntilThePromptCloses)
{
    CRunBench bench;
    bench.engine.Script(kProbeLine, {4000, {{500, Fixture("ping-zh-timeout.bin")}}});
    bench.engine.Script(kSfcLine, {kLongSfcMs, {}});
    bench.StartUpAndStartRun();
    bench.Deliver(std::string(3001, 'x'));
    bench.journal.Clear();
    bench.Ticks(1);
    EXPECT_TRUE(SequenceIs(bench.journal.Take(),
                           {"System name", "Send ping www.baidu.com [19]", "Sleep 2000", "Button on",
                            "Prompt(network required) scale=1.25 mode=LocalRepair status=\"正在进行本地修复,请稍等\" "
                            "popup=open",
                            "Popup end", "Clear"}));
    EXPECT_EQ(bench.run.Mode(), Idle);
    EXPECT_TRUE(bench.ui.IsStartButtonEnabled()) << "the probe's output enabled it";
    EXPECT_EQ(Utf8Of(*bench.status.StatusText()), "正在进行本地修复,请稍等");
    EXPECT_EQ(bench.status.ProgressPercent(), 100);
}

TEST(Outcome, SuccessEndsThePopupFirstAndReportsLast)
{
    CRunBench bench;
    bench.ScriptHealthySystem(kLongSfcMs);
    bench.ScriptDism("dism-zh-success.bin");
    bench.ReachOnlinePhase();
    bench.journal.Clear();
    // Closing while the success prompt is open (or at once after it) must not ask either.
    bool offeredWhilePromptOpen = true;
    bench.ui.whilePromptOpen = [&](const std::string&) { offeredWhilePromptOpen = bench.run.ShowFeedbackOnClose(); };
    bench.TicksUntil([&] { return bench.run.Mode() == Idle; });
    EXPECT_FALSE(offeredWhilePromptOpen);
    // Reported inside the last tick, before its one-second pause.
    const std::string time = std::to_string(CVirtualTime::kUnixStart + (bench.time.NowMs() - 1000) / 1000);
    EXPECT_TRUE(SequenceIs(StepsStartingWith(bench.journal.Take(), {"Prompt", "Popup", "Button", "Clear", "Report"}),
                           {"Popup end",
                            "Prompt(success) scale=1.25 mode=Idle status=\"正在进行联网修复,请稍等\" popup=ended",
                            "Button on", "Clear", "Report 10027 1.0.4 code=1 time=" + time + " offerOnClose=no"}));
    EXPECT_FALSE(bench.run.IsOnlinePhaseActive());
    EXPECT_EQ(Utf8Of(*bench.status.PercentText()), "100%");

    bench.run.OnBnClickedClose();
    EXPECT_TRUE(SequenceIs(bench.journal.Take(), {"Close main window"})) << "no problem-solved window after a success";
}

TEST(CloseButton, OffersTheProblemSolvedWindowUnlessTheRunSucceeded)
{
    CRunBench bench;
    bench.StartUp();
    bench.journal.Clear();
    bench.run.OnBnClickedClose();
    EXPECT_TRUE(SequenceIs(bench.journal.Take(), {"Problem-solved window", "Close main window"}));
}

TEST(Report, MapsResultsToCodesAndWritesPlainSeconds)
{
    const std::vector<std::pair<int, std::string>> cases = {
        {1, "code=1"}, {0, "code=2"}, {3, "code=3"}, {2, ""}, {-1, ""}, {4, ""}};
    for (const auto& [result, code] : cases) {
        CRunBench bench;
        bench.time.Sleep(123456); // 123 whole seconds after the start
        bench.journal.Clear();
        EXPECT_TRUE(bench.run.ReportRepairResult(result));
        const std::vector<std::string> steps = StepsStartingWith(bench.journal.Take(), {"Report"});
        if (code.empty()) {
            EXPECT_TRUE(SequenceIs(steps, {})) << "result " << result;
        } else {
            EXPECT_TRUE(SequenceIs(steps, {"Report 10027 1.0.4 " + code + " time=1700000123 offerOnClose=yes"}))
                << "result " << result;
        }
    }
}

TEST(Buttons, KnowledgeBaseAndFeedbackLink)
{
    CRunBench bench;
    bench.run.OnBnClickedMoreTools();
    bench.run.OnFeedbackLinkClicked();
    EXPECT_TRUE(SequenceIs(bench.journal.Take(), {"Open page https://kb.zorvex.com/detail/dc_172545.html",
                                                  "Feedback question 10027 1.0.4"}));
}

TEST(Shutdown, ClosesTheEngineOnceAndTurnsLaterCallsAway)
{
    CRunBench bench;
    bench.ScriptHealthySystem(kLongSfcMs);
    bench.StartUpAndStartRun();
    bench.journal.Clear();
    bench.run.Shutdown();
    EXPECT_TRUE(SequenceIs(bench.journal.Take(), {"Callback cleared", "Clear", "Redirection restored", "Close",
                                                  "Feedback release"}));
    EXPECT_EQ(bench.run.Engine(), nullptr);

    EXPECT_FALSE(bench.run.OnMonitorTick());
    bench.Deliver(Fixture("sfc-zh-no-service.bin"));
    bench.run.Shutdown();
    bench.run.OnBnClickedLocal();
    EXPECT_TRUE(SequenceIs(StepsStartingWith(bench.journal.Take(), {"Prompt", "Send", "Clear", "Close", "ENGINE", "Feedback"}), {}));
}

TEST(Shutdown, WithoutEngineReleasesOnlyTheFeedbackService)
{
    CRunBench bench;
    bench.engine.opens = false;
    bench.StartUp();
    bench.journal.Clear();
    bench.run.Shutdown();
    EXPECT_TRUE(SequenceIs(bench.journal.Take(), {"Feedback release"}));
}

} // namespace

// When a phase has really ended: DISM's figure alone is not success, an outcome ends its tick,
// and a quick sfc is not taken for one that never started.
#include <gtest/gtest.h>

#include <string>

#include "case_name.h"
#include "journal_matcher.h"
#include "run_bench.h"

namespace {

constexpr long long kLongSfcMs = 60LL * 60 * 1000;
const std::string kHeaderLine = kImageHeaderGbk + ": 10.0.19045.3803\r\n";
const std::string kBar100 = "[==========================100.0%==========================] \r\n";
const std::string kErrorLine = kErrorGbk + ": 0x800f081f\r\n";
// 还原操作已成功完成。 / 操作成功完成。 in code page 936.
const std::string kDoneLines = "\xBB\xB9\xD4\xAD\xB2\xD9\xD7\xF7\xD2\xD1\xB3\xC9\xB9\xA6\xCD\xEA\xB3\xC9\xA1\xA3\r\n"
                               "\xB2\xD9\xD7\xF7\xB3\xC9\xB9\xA6\xCD\xEA\xB3\xC9\xA1\xA3\r\n";

std::vector<std::string> Outcomes(CRunBench& bench)
{
    return StepsStartingWith(bench.journal.Take(), {"Prompt", "Report"});
}

const char* const kOnlineFailure = "Prompt(online failure) scale=1.25 mode=Idle status=\"\" popup=open";
const char* const kSuccess = "Prompt(success) scale=1.25 mode=Idle status=\"正在进行联网修复,请稍等\" popup=ended";

enum class Ending { Success, OnlineFailure, StillRunning };

struct DismEndCase {
    const char* name;
    CommandScript dism;
    Ending ending;
    friend void PrintTo(const DismEndCase& c, std::ostream* out) { *out << c.name; }
};

class DismEnd : public testing::TestWithParam<DismEndCase> {};

TEST_P(DismEnd, SuccessOnlyOnceDismHasEndedWithoutError)
{
    CRunBench bench;
    bench.ScriptHealthySystem(kLongSfcMs);
    bench.engine.Script(kDismLine, GetParam().dism);
    bench.ReachOnlinePhase();
    bench.journal.Clear();

    bench.Ticks(120);

    if (GetParam().ending == Ending::StillRunning) {
        EXPECT_TRUE(SequenceIs(Outcomes(bench), {}));
        EXPECT_EQ(bench.run.Mode(), OnlineRepair);
        return;
    }
    if (GetParam().ending == Ending::Success) {
        const std::vector<std::string> outcomes = Outcomes(bench);
        ASSERT_EQ(outcomes.size(), 2u) << testing::PrintToString(outcomes);
        EXPECT_EQ(outcomes[0], kSuccess);
        EXPECT_EQ(outcomes[1].substr(0, outcomes[1].find(" time=")), "Report 10027 1.0.4 code=1");
        EXPECT_FALSE(bench.run.ShowFeedbackOnClose());
        EXPECT_FALSE(bench.run.IsOnlinePhaseActive());
    } else {
        EXPECT_TRUE(SequenceIs(Outcomes(bench), {kOnlineFailure}));
        EXPECT_TRUE(bench.run.ShowFeedbackOnClose());
    }
    EXPECT_EQ(bench.run.Mode(), Idle);
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, DismEnd,
    testing::Values(
        // The error two seconds after the full bar, DISM still running.
        DismEndCase{"error_two_seconds_after_full_bar", {12000, {{1000, kHeaderLine}, {3000, kBar100}, {5000, kErrorLine}}}, Ending::OnlineFailure},
        // DISM has exited; its last line is still in the pipe and arrives at the next read.
        DismEndCase{"error_read_after_dism_exited", {5200, {{1000, kHeaderLine}, {3000, kBar100}, {5500, kErrorLine}}}, Ending::OnlineFailure},
        // DISM exits just before a tick, which finds it gone; its last line is read after that tick.
        DismEndCase{"error_read_after_the_tick_that_found_dism_gone", {5800, {{1000, kHeaderLine}, {3000, kBar100}, {6200, kErrorLine}}}, Ending::OnlineFailure},
        DismEndCase{"error_in_the_chunk_of_the_full_bar", {6000, {{1000, kHeaderLine}, {3000, kBar100 + kErrorLine}}}, Ending::OnlineFailure},
        DismEndCase{"success_lines_then_exit", {7000, {{1000, kHeaderLine}, {3000, kBar100 + kDoneLines}}}, Ending::Success},
        DismEndCase{"full_bar_then_success_lines_then_exit", {9000, {{1000, kHeaderLine}, {3000, kBar100}, {5500, kDoneLines}}}, Ending::Success},
        DismEndCase{"figure_100_00_is_not_success", {4000, {{1000, kHeaderLine}, {3000, "[=100.00%\r\n"}}}, Ending::StillRunning},
        DismEndCase{"figure_100_is_not_success", {4000, {{1000, kHeaderLine}, {3000, "[=100%\r\n"}}}, Ending::StillRunning}),
    CaseName());

TEST(DismEndCapture, SuccessAndErrorCapturesEndAsTheySay)
{
    {
        CRunBench bench;
        bench.ScriptHealthySystem(kLongSfcMs);
        bench.ScriptDism("dism-zh-error-source.bin");
        bench.ReachOnlinePhase();
        bench.journal.Clear();
        bench.Ticks(200);
        EXPECT_TRUE(SequenceIs(Outcomes(bench), {kOnlineFailure}));
    }
    {
        CRunBench bench;
        bench.ScriptHealthySystem(kLongSfcMs);
        bench.ScriptDism("dism-zh-success.bin");
        bench.ReachOnlinePhase();
        bench.journal.Clear();
        bench.Ticks(200);
        const std::vector<std::string> outcomes = Outcomes(bench);
        ASSERT_EQ(outcomes.size(), 2u) << testing::PrintToString(outcomes);
        EXPECT_EQ(outcomes[0], kSuccess);
        EXPECT_EQ(outcomes[1].rfind("Report 10027 1.0.4 code=1 time=", 0), 0u);
    }
}

TEST(DismEnd, FullFigureWithoutHeaderFailsOnceAndNeverSucceeds)
{
    CRunBench bench;
    bench.ScriptHealthySystem(kLongSfcMs);
    bench.engine.Script(kDismLine, {2000, {{1000, kBar100 + kDoneLines}}});
    bench.ReachOnlinePhase();
    bench.journal.Clear();
    bench.Ticks(100);
    EXPECT_TRUE(SequenceIs(Outcomes(bench), {kOnlineFailure}));
}

TEST(DismEnd, OnlineOutcomeAfterTheWindows7SuccessFindsThePopupEnded)
{
    CRunBench bench;
    bench.ScriptHealthySystem(kLongSfcMs);
    bench.engine.systemName = "Microsoft Windows 7";
    bench.engine.Script(kDismLine, {6000, {{1000, kHeaderLine}, {3000, kBar100}, {5000, kErrorLine}}});
    bench.ReachOnlinePhase();
    bench.journal.Clear();
    bench.Ticks(20);
    EXPECT_TRUE(SequenceIs(StepsStartingWith(bench.journal.Take(), {"Prompt", "Popup", "Button"}),
                           {"Prompt(online failure) scale=1.25 mode=Idle status=\"\" popup=ended",
                            "Popup end (already ended)", "Button on"}));
}

TEST(QuickSfc, CompleteOutputBeforeTheProcessCheckLeadsToTheTransition)
{
    CRunBench bench;
    // sfc finishes in 20 s and has exited before the monitor ever asks for it.
    bench.ScriptHealthySystem(20000);
    bench.StartUpAndStartRun();
    bench.Ticks(21);
    EXPECT_EQ(bench.ui.PromptCount(), 0);
    EXPECT_EQ(bench.run.Mode(), OnlineRepair);
    const std::vector<std::string> sends = StepsStartingWith(bench.journal.Take(), {"Send", "Prompt"});
    ASSERT_FALSE(sends.empty());
    EXPECT_EQ(sends.back(), "Send DISM /Online /Cleanup-image /RestoreHealth [43]");
}

TEST(QuickSfc, CompleteOutputAfterTheEstimatePassed5StillLeadsToTheTransition)
{
    CRunBench bench;
    // sfc is never seen running; its report arrives in the pause of tick 43, when the estimate
    // has just passed 5, so the first process check (tick 44) finds the output complete.
    bench.ScriptHealthySystem(kLongSfcMs);
    bench.engine.Script(kSfcLine, {0, {{42500, std::string(3500, 'x')}}});
    bench.StartUpAndStartRun();
    bench.Ticks(45);
    EXPECT_EQ(bench.ui.PromptCount(), 0);
    EXPECT_EQ(bench.run.Mode(), OnlineRepair);
}

} // namespace

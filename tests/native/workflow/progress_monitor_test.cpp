// The monitor tick by tick on the virtual clock: the local estimate, the process check, the
// silence limit, the transition and the wait for the servicing process.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>

#include "case_name.h"
#include "journal_matcher.h"
#include "run_bench.h"

namespace {

constexpr long long kLongSfcMs = 60LL * 60 * 1000;

TEST(LocalEstimate, StepsEverySevenTicksAndStopsAt99)
{
    CRunBench bench;
    bench.ScriptHealthySystem(kLongSfcMs);
    bench.StartUpAndStartRun();

    std::map<int, int> firstTickOfPercent;
    for (int tick = 1; tick <= 800; ++tick) {
        bench.Ticks(1);
        firstTickOfPercent.emplace(bench.status.ProgressPercent(), tick);
        if (tick == 43) {
            EXPECT_EQ(bench.engine.processStateQueries, 0) << "no process check before the estimate passes 5";
        }
        if (tick == 44) {
            EXPECT_EQ(bench.engine.processStateQueries, 1) << "the process check first runs at tick 44";
        }
    }
    EXPECT_EQ(firstTickOfPercent[1], 8);
    EXPECT_EQ(firstTickOfPercent[2], 15);
    EXPECT_EQ(firstTickOfPercent[6], 43);
    EXPECT_EQ(firstTickOfPercent[99], 694);
    EXPECT_EQ(bench.status.ProgressPercent(), 99) << "only the long output brings 100";
    EXPECT_EQ(bench.run.LocalPercent(), 99);
    EXPECT_EQ(Utf8Of(*bench.status.PercentText()), "99%");
    EXPECT_EQ(bench.engine.processStateQueries, 1) << "once seen, the process is not asked for again";
    EXPECT_EQ(bench.ui.PromptCount(), 0);
}

TEST(LocalProcessCheck, FailsAtTick44WhenSfcNeverStarted)
{
    CRunBench bench;
    bench.ScriptHealthySystem(kLongSfcMs);
    bench.engine.redirectionSwitchesOff = false;
    bench.StartUp();
    bench.time.Sleep(500);
    bench.journal.Clear();
    bench.run.OnBnClickedLocal();
    EXPECT_TRUE(SequenceIs(bench.journal.Take(), {"Button off", "Clear", "Redirection stays on", "Popup run"}));

    const int tick = bench.TicksUntil([&] { return bench.ui.PromptCount() > 0; });
    EXPECT_EQ(tick, 44);
    EXPECT_EQ(bench.run.Mode(), Idle);
    EXPECT_TRUE(SequenceIs(StepsStartingWith(bench.journal.Take(), {"Prompt"}),
                           {"Prompt(local failure) scale=1.25 mode=Idle status=\"\" popup=open"}));
}

TEST(LocalProcessCheck, ASeenProcessThatEndsLaterDoesNotFail)
{
    CRunBench bench;
    // sfc runs 50 s and prints nothing: seen at tick 44, gone afterwards.
    bench.engine.Script(kProbeLine, {4000, {{500, Fixture("ping-zh-reply.bin")}}});
    bench.engine.Script(kSfcLine, {50000, {}});
    bench.StartUpAndStartRun();
    bench.Ticks(300);
    EXPECT_TRUE(bench.run.IsRepairProcessSeen());
    EXPECT_EQ(bench.ui.PromptCount(), 0);
    EXPECT_EQ(bench.run.Mode(), LocalRepair);
}

TEST(OnlineSilence, FailsAtTick62WithoutAnyOutput)
{
    CRunBench bench;
    bench.ScriptHealthySystem(kLongSfcMs);
    bench.ReachOnlinePhase(); // tick 1 of the online phase ran the transition
    ASSERT_EQ(bench.run.Mode(), OnlineRepair);
    ASSERT_EQ(bench.run.TickCount(), 1);

    const int more = bench.TicksUntil([&] { return bench.ui.PromptCount() > 0; });
    EXPECT_EQ(1 + more, 62);
    EXPECT_TRUE(SequenceIs(StepsStartingWith(bench.journal.Take(), {"Prompt"}),
                           {"Prompt(online failure) scale=1.25 mode=Idle status=\"\" popup=open"}));
}

TEST(OnlineSilence, OneChunkDisarmsTheLimitForThePhase)
{
    CRunBench bench;
    bench.ScriptHealthySystem(kLongSfcMs);
    bench.ReachOnlinePhase();
    bench.Ticks(30);
    bench.Deliver("\r\n");
    bench.Ticks(300);
    EXPECT_EQ(bench.ui.PromptCount(), 0);
    EXPECT_EQ(bench.run.Mode(), OnlineRepair);
}

TEST(OnlineHeader, MissingHeaderFailsOnceTheFigurePasses5)
{
    CRunBench bench;
    bench.ScriptHealthySystem(kLongSfcMs);
    bench.ReachOnlinePhase();
    for (const std::string& line : FixtureLines("dism-en-success.bin")) {
        bench.Deliver(line);
        bench.Ticks(1);
        if (bench.ui.PromptCount() > 0) {
            EXPECT_EQ(bench.run.OnlinePercent(), "10.1") << "the first figure above 5";
            break;
        }
    }
    EXPECT_EQ(bench.ui.PromptCount(), 1);
    EXPECT_EQ(bench.run.Mode(), Idle);
}

// The transition, read from the journal of the tick that runs it.
struct TransitionCase {
    const char* name;
    std::string systemName;
    bool earlySuccess;
    const char* servicingProcess;
    friend void PrintTo(const TransitionCase& c, std::ostream* out) { *out << c.name; }
};

class Transition : public testing::TestWithParam<TransitionCase> {};

TEST_P(Transition, ProbesWaitsForTheServicingProcessAndStartsDism)
{
    const TransitionCase& c = GetParam();
    CRunBench bench;
    bench.ScriptHealthySystem(kLongSfcMs);
    bench.engine.systemName = c.systemName;
    bench.StartUpAndStartRun();
    bench.Deliver(std::string(3001, 'x'));
    bench.journal.Clear();

    bench.Ticks(1);

    const std::string cpu = std::string("Cpu ") + c.servicingProcess;
    std::vector<std::string> expected = {"System name"};
    if (c.earlySuccess) {
        expected.insert(expected.end(),
                        {"Popup end", "Prompt(success) scale=1.25 mode=Idle status=\"正在进行本地修复,请稍等\" popup=ended",
                         "Button on", "Clear", "Report 10027 1.0.4 code=1 time=1700000000 offerOnClose=no"});
    }
    expected.insert(expected.end(), {"Send ping www.baidu.com [19]", "Sleep 2000", "Button on"});
    for (int sample = 0; sample < 5; ++sample)
        expected.insert(expected.end(), {cpu, "Sleep 5000"});
    expected.insert(expected.end(), {cpu, "Clear", "Sleep 10000", "Send DISM /Online /Cleanup-image /RestoreHealth [43]"});
    EXPECT_TRUE(SequenceIs(bench.journal.Take(), expected));

    EXPECT_EQ(bench.run.Mode(), OnlineRepair);
    EXPECT_FALSE(bench.run.IsLocalPhaseActive());
    EXPECT_TRUE(bench.run.IsOnlinePhaseActive());
    EXPECT_EQ(bench.run.TickCount(), 1) << "the transition's tick is the online phase's first";
    EXPECT_EQ(bench.status.ProgressPercent(), 0);
    EXPECT_EQ(Utf8Of(*bench.status.PercentText()), "0%");
    EXPECT_EQ(Utf8Of(*bench.status.StatusText()), "正在进行联网修复,请稍等");
    EXPECT_EQ(bench.ui.IsPopupOpen(), !c.earlySuccess);
}

INSTANTIATE_TEST_SUITE_P(
    SystemNames, Transition,
    testing::Values(TransitionCase{"windows_7", "Microsoft Windows 7", true, "TrustedInstaller.exe"},
                    TransitionCase{"windows_10", "Microsoft Windows 10 Pro", false, "TiWorker.exe"},
                    TransitionCase{"windows_7_trailing_blank", "Microsoft Windows 7 ", false, "TiWorker.exe"},
                    TransitionCase{"windows_7_lower_case", "microsoft windows 7", false, "TiWorker.exe"},
                    TransitionCase{"empty", "", false, "TiWorker.exe"}),
    CaseName());

TEST(Transition, ProbeOutsideItsWindowDecidesNothing)
{
    CRunBench bench;
    // The probe answers only after 2500 ms: the window has closed, the mode has moved on.
    bench.engine.Script(kProbeLine, {4000, {{2500, Fixture("ping-zh-reply.bin")}}});
    bench.engine.Script(kSfcLine, {kLongSfcMs, {}});
    bench.StartUp();
    bench.time.Sleep(3000);
    bench.run.OnBnClickedLocal();
    bench.Deliver(std::string(3001, 'x'));
    bench.journal.Clear();
    bench.Ticks(1);
    EXPECT_TRUE(SequenceIs(bench.journal.Take(),
                           {"System name", "Send ping www.baidu.com [19]", "Sleep 2000",
                            "Prompt(network required) scale=1.25 mode=LocalRepair status=\"正在进行本地修复,请稍等\" "
                            "popup=open",
                            "Popup end", "Clear"}));
    EXPECT_EQ(bench.run.Mode(), Idle);
}

// The wait for the servicing process, by its CPU samples.
struct IdleWaitCase {
    const char* name;
    std::deque<float> samples;
    int samplesTaken;
    friend void PrintTo(const IdleWaitCase& c, std::ostream* out) { *out << c.name; }
};

class ServicingIdle : public testing::TestWithParam<IdleWaitCase> {};

TEST_P(ServicingIdle, EndsAtTheSixthIdleSample)
{
    const IdleWaitCase& c = GetParam();
    CRunBench bench;
    bench.StartUp();
    bench.engine.cpuSamples = c.samples;
    // Samples beyond the expected end are busy, so a wait that goes on too long is seen.
    for (int i = 0; i < 5; ++i)
        bench.engine.cpuSamples.push_back(50.0f);
    const long long before = bench.time.NowMs();

    EXPECT_TRUE(bench.run.WaitForServicingIdle(L"TiWorker.exe"));

    EXPECT_EQ(bench.engine.cpuQueries, c.samplesTaken);
    EXPECT_EQ(bench.time.NowMs() - before, 5000LL * (c.samplesTaken - 1)) << "a pause after every sample but the last";
}

INSTANTIATE_TEST_SUITE_P(
    Samples, ServicingIdle,
    testing::Values(IdleWaitCase{"busy_samples_do_not_reset", {0, 5, 0, 0, 7, 0, 0, 0}, 8},
                    IdleWaitCase{"six_idle_in_a_row", {0, 0, 0, 0, 0, 0}, 6},
                    IdleWaitCase{"missing_process_is_idle", {-1, -1, -2, -1, -1, -1}, 6},
                    IdleWaitCase{"exactly_the_threshold_is_idle",
                                 {0.000001f, 0.000001f, 0.000001f, 0.000001f, 0.000001f, 0.000001f},
                                 6},
                    IdleWaitCase{"just_above_the_threshold_is_busy",
                                 {std::nextafter(0.000001f, 1.0f), 0, 0, 0, 0, 0, 0},
                                 7}),
    CaseName());

TEST(ServicingIdle, WithoutEngineEveryMissingSampleCountsAsIdle)
{
    CRunBench bench;
    bench.engine.opens = false;
    bench.StartUp();
    EXPECT_TRUE(bench.run.WaitForServicingIdle(L"TiWorker.exe"));
    EXPECT_EQ(bench.engine.cpuQueries, 0);
    EXPECT_EQ(bench.time.NowMs(), 25000);
}

TEST(SecondRun, StartsAtZeroAndCannotEndOnThePreviousFigure)
{
    CRunBench bench;
    bench.ScriptHealthySystem(kLongSfcMs);
    // First run: DISM draws 100.0 and fails afterwards; the figure stays "100.0".
    bench.engine.Script(kDismLine, {9000,
                                    {{1000, kImageHeaderGbk + ": 10.0.19045.3803\r\n"},
                                     {3000, "[==========================100.0%==========================] \r\n"},
                                     {5000, kErrorGbk + ": 0x800f081f\r\n"}}});
    bench.ReachOnlinePhase();
    bench.Ticks(10);
    ASSERT_EQ(bench.run.Mode(), Idle);
    ASSERT_EQ(bench.run.OnlinePercent(), "100.0");
    ASSERT_TRUE(bench.run.IsOnlinePhaseActive()) << "the online failure leaves the flag";

    // Second run: DISM prints nothing this time.
    bench.engine.Script(kDismLine, {kLongSfcMs, {}});
    bench.journal.Clear();
    bench.run.OnBnClickedLocal();
    EXPECT_EQ(bench.status.ProgressPercent(), 0);
    EXPECT_EQ(Utf8Of(*bench.status.PercentText()), "0%");
    EXPECT_EQ(Utf8Of(*bench.status.StatusText()), "正在进行本地修复,请稍等");
    bench.Deliver(std::string(3001, 'x'));
    bench.Ticks(1);
    ASSERT_EQ(bench.run.Mode(), OnlineRepair);
    EXPECT_EQ(bench.run.OnlinePercent(), "");

    bench.Ticks(100);
    EXPECT_TRUE(SequenceIs(StepsStartingWith(bench.journal.Take(), {"Prompt", "Report"}),
                           {"Prompt(online failure) scale=1.25 mode=Idle status=\"\" popup=open"}));
}

} // namespace

// How one chunk of command output moves the run, in each mode, on real captures and on
// hand-made chunks for the edges of the rules.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "case_name.h"
#include "journal_matcher.h"
#include "run_bench.h"

using namespace std::string_literals;

namespace {

std::string PercentText(const CRepairStatus& status)
{
    CRepairStatus::Text text = status.PercentText();
    return text ? Utf8Of(*text) : "<none>";
}

// ---- Probe ----

struct ProbeCase {
    const char* name;
    std::string chunk;
    bool reachable;
    friend void PrintTo(const ProbeCase& c, std::ostream* out) { *out << c.name; }
};

class ProbeOutput : public testing::TestWithParam<ProbeCase> {};

TEST_P(ProbeOutput, EnablesTheStartButtonAndReadsTtl)
{
    CRunBench bench;
    bench.StartUp();
    ASSERT_EQ(bench.run.Mode(), Probe);
    ASSERT_FALSE(bench.ui.IsStartButtonEnabled());

    bench.Deliver(GetParam().chunk);

    EXPECT_EQ(bench.run.IsNetworkReachable(), GetParam().reachable);
    EXPECT_TRUE(bench.ui.IsStartButtonEnabled()) << "any probe output shows that commands run";
    EXPECT_EQ(bench.run.Mode(), Probe);
}

INSTANTIATE_TEST_SUITE_P(
    Chunks, ProbeOutput,
    testing::Values(ProbeCase{"reply", Fixture("ping-zh-reply.bin"), true},
                    ProbeCase{"timeout", Fixture("ping-zh-timeout.bin"), false},
                    ProbeCase{"unknown_host", Fixture("ping-zh-unknown-host.bin"), false},
                    ProbeCase{"command_not_found", Fixture("cmd-zh-not-found.bin"), false},
                    ProbeCase{"lower_case_ttl", "Reply from 1.2.3.4: bytes=32 time=9ms ttl=52\r\n", false},
                    ProbeCase{"mixed_case_ttl", "Ttl=52 tTL=52\r\n", false},
                    ProbeCase{"ttl_after_zero_byte", "reply\0 TTL=52\r\n"s, false},
                    ProbeCase{"ttl_at_start", "TTL", true}),
    CaseName());

TEST(ProbeOutputFlag, IsNeverClearedByLaterProbeOutput)
{
    CRunBench bench;
    bench.StartUp();
    bench.Deliver(Fixture("ping-zh-reply.bin"));
    bench.Deliver(Fixture("ping-zh-timeout.bin"));
    EXPECT_TRUE(bench.run.IsNetworkReachable());
}

// ---- Local repair: only the byte count matters ----

struct LocalCase {
    const char* name;
    int bytes;
    int percentBefore;
    bool completes;
    bool fails;
    friend void PrintTo(const LocalCase& c, std::ostream* out) { *out << c.name; }
};

class LocalOutput : public testing::TestWithParam<LocalCase> {};

TEST_P(LocalOutput, IsJudgedBySizeAndEarlyProgress)
{
    const LocalCase& c = GetParam();
    CRunBench bench;
    bench.StartUpAndStartRun();
    ASSERT_EQ(bench.run.Mode(), LocalRepair);
    bench.status.SetProgressPercent(c.percentBefore);
    bench.journal.Clear();

    bench.Deliver(std::string(static_cast<std::size_t>(c.bytes), 'x'));

    if (c.completes) {
        EXPECT_EQ(bench.run.LocalPercent(), 100);
        EXPECT_EQ(bench.status.ProgressPercent(), 100);
        EXPECT_EQ(PercentText(bench.status), "100%");
        EXPECT_EQ(Utf8Of(*bench.status.StatusText()), "正在进行本地修复,请稍等");
        EXPECT_EQ(bench.run.Mode(), LocalRepair) << "the next tick starts the transition";
    } else {
        EXPECT_EQ(bench.run.LocalPercent(), 0);
        EXPECT_EQ(bench.status.ProgressPercent(), c.percentBefore);
    }
    EXPECT_EQ(bench.ui.PromptCount(), c.fails ? 1 : 0);
    EXPECT_EQ(bench.run.Mode(), c.fails ? Idle : LocalRepair);
}

INSTANTIATE_TEST_SUITE_P(Chunks, LocalOutput,
                         testing::Values(LocalCase{"one_byte_at_0", 1, 0, false, true},
                                         LocalCase{"3000_bytes_at_0", 3000, 0, false, true},
                                         LocalCase{"3001_bytes_at_0", 3001, 0, true, false},
                                         LocalCase{"short_at_1", 100, 1, false, true},
                                         LocalCase{"short_at_2", 100, 2, false, false},
                                         LocalCase{"3000_bytes_at_50", 3000, 50, false, false},
                                         LocalCase{"4095_bytes_at_99", 4095, 99, true, false}),
                         CaseName());

TEST(LocalOutputCapture, ShortAnswerOfSfcFailsAndTheReportCompletes)
{
    {
        CRunBench bench;
        bench.StartUpAndStartRun();
        bench.Deliver(Fixture("sfc-zh-no-service.bin"));
        EXPECT_EQ(bench.run.Mode(), Idle);
        EXPECT_EQ(bench.ui.PromptCount(), 1);
    }
    {
        // The report is larger than one read: the pump hands it over as 4095 bytes and the rest.
        CRunBench bench;
        bench.StartUpAndStartRun();
        const std::string report = Fixture("sfc-zh-no-violations.bin");
        ASSERT_GT(report.size(), 4095u);
        bench.Deliver(report.substr(0, 4095));
        bench.Deliver(report.substr(4095));
        EXPECT_EQ(bench.run.LocalPercent(), 100);
        EXPECT_EQ(bench.ui.PromptCount(), 0);
    }
}

// ---- Online repair: header, figure, error ----

struct OnlineCase {
    const char* name;
    std::string chunk;
    std::optional<std::string> figure; // none: no progress published
    int percent;
    bool header;
    bool error;
    friend void PrintTo(const OnlineCase& c, std::ostream* out) { *out << c.name; }
};

class OnlineOutput : public testing::TestWithParam<OnlineCase> {};

TEST_P(OnlineOutput, ReadsHeaderFigureAndError)
{
    const OnlineCase& c = GetParam();
    CRunBench bench;
    bench.StartUp();
    bench.run.StartOnlineRepair();
    // Something other than what a publication would write, to see that none happened.
    bench.status.SetStatusText(L"before");
    bench.status.SetProgressPercent(-7);
    ASSERT_TRUE(bench.run.IsAwaitingOnlineOutput());

    bench.Deliver(c.chunk);

    EXPECT_FALSE(bench.run.IsAwaitingOnlineOutput()) << "every chunk disarms the silence limit";
    EXPECT_EQ(bench.run.IsImageHeaderSeen(), c.header);
    if (c.figure) {
        EXPECT_EQ(bench.run.OnlinePercent(), *c.figure);
        EXPECT_EQ(bench.status.ProgressPercent(), c.percent);
        EXPECT_EQ(PercentText(bench.status), std::to_string(c.percent) + "%");
    } else {
        EXPECT_EQ(bench.run.OnlinePercent(), "");
        EXPECT_EQ(bench.status.ProgressPercent(), -7);
        EXPECT_EQ(PercentText(bench.status), "0%");
    }
    if (c.error) {
        EXPECT_EQ(bench.run.Mode(), Idle);
        EXPECT_EQ(bench.ui.PromptCount(), 1);
        EXPECT_EQ(Utf8Of(*bench.status.StatusText()), "");
    } else {
        EXPECT_EQ(bench.run.Mode(), OnlineRepair);
        EXPECT_EQ(bench.ui.PromptCount(), 0);
        EXPECT_EQ(Utf8Of(*bench.status.StatusText()), c.figure ? "正在进行联网修复,请稍等" : "before");
    }
}

const std::string kBar100 = "[==========================100.0%==========================] \r\n";

INSTANTIATE_TEST_SUITE_P(
    Chunks, OnlineOutput,
    testing::Values(
        OnlineCase{"leading_percent", "%[= 5.0%]", std::nullopt, 0, false, false},
        OnlineCase{"blank_at_position_0", " 5.0%", std::nullopt, 0, false, false},
        OnlineCase{"no_separator", "5.0%", std::nullopt, 0, false, false},
        OnlineCase{"no_percent", "[=====      ]\r\n", std::nullopt, 0, false, false},
        OnlineCase{"equals_not_first", "[=5.0%", "5.0", 5, false, false},
        OnlineCase{"equals_later_than_blank", "[  ==12.5%   ]", "12.5", 12, false, false},
        OnlineCase{"blank_later_than_equals", "[==  12.5%   ]", "12.5", 12, false, false},
        OnlineCase{"several_bars_first_counts", "[=   10.0%   ]\r\n[=====  62.3%  ]\r\n", "10.0", 10, false, false},
        OnlineCase{"full_bar", kBar100, "100.0", 100, false, false},
        OnlineCase{"two_decimals", "[=100.00%", "100.00", 100, false, false},
        OnlineCase{"no_decimal", "[=100%", "100", 100, false, false},
        OnlineCase{"figure_not_a_number", "[= abc%", "abc", 0, false, false},
        OnlineCase{"empty_figure", "[=%", "", 0, false, false},
        OnlineCase{"huge_figure", "[=1e300%", "1e300", 2147483647, false, false},
        OnlineCase{"negative_figure", "[=-3.9%", "-3.9", -3, false, false},
        OnlineCase{"header_mid_chunk", "abc " + kImageHeaderGbk + ": 10.0.19045.3803\r\n", std::nullopt, 0, true, false},
        OnlineCase{"header_with_bar", kImageHeaderGbk + ": 10.0\r\n[=   7.5%  ]", "7.5", 7, true, false},
        OnlineCase{"error_at_start", kErrorGbk + ": 0x800f081f\r\n", std::nullopt, 0, false, true},
        OnlineCase{"error_mid_chunk", "\r\n\r\n" + kErrorGbk + ": 740\r\n", std::nullopt, 0, false, true},
        OnlineCase{"error_after_full_bar", kBar100 + "\r\n" + kErrorGbk + ": 0x800f081f\r\n", "100.0", 100, false, true},
        OnlineCase{"zero_byte_hides_the_rest", "[=\0 5.0% "s + kImageHeaderGbk + kErrorGbk, std::nullopt, 0, false, false},
        OnlineCase{"capture_success", Fixture("dism-zh-success.bin"), "0.1", 0, true, false},
        OnlineCase{"capture_error", Fixture("dism-zh-error-source.bin"), "0.1", 0, true, true},
        OnlineCase{"capture_not_elevated", Fixture("dism-zh-not-elevated.bin"), std::nullopt, 0, false, true},
        OnlineCase{"capture_english", Fixture("dism-en-success.bin"), "0.1", 0, false, false}),
    CaseName());

TEST(OnlineOutputCapture, RecordByRecordEndsOnTheFinalFigure)
{
    CRunBench bench;
    bench.StartUp();
    bench.run.StartOnlineRepair();
    for (const std::string& line : FixtureLines("dism-zh-success.bin"))
        bench.Deliver(line);
    EXPECT_TRUE(bench.run.IsImageHeaderSeen());
    EXPECT_EQ(bench.run.OnlinePercent(), "100.0");
    EXPECT_EQ(bench.status.ProgressPercent(), 100);
    EXPECT_EQ(bench.run.Mode(), OnlineRepair) << "success is the monitor's decision";
}

// ---- Idle, and the callback's own edges ----

TEST(IdleOutput, ChangesNothingAtAll)
{
    CRunBench bench;
    bench.engine.opens = false;
    bench.StartUp();
    ASSERT_EQ(bench.run.Mode(), Idle);
    bench.journal.Clear();

    for (const std::string& chunk : {Fixture("ping-zh-reply.bin"), std::string(3001, 'x'), std::string(10, 'x'),
                                     kImageHeaderGbk + kBar100, kErrorGbk})
        bench.Deliver(chunk);

    EXPECT_TRUE(SequenceIs(bench.journal.Take(), {}));
    EXPECT_FALSE(bench.ui.IsStartButtonEnabled());
    EXPECT_FALSE(bench.run.IsNetworkReachable());
    EXPECT_FALSE(bench.run.IsImageHeaderSeen());
    EXPECT_EQ(bench.run.OnlinePercent(), "");
    EXPECT_EQ(bench.run.LocalPercent(), 0);
    EXPECT_EQ(bench.status.ProgressPercent(), 0);
    EXPECT_EQ(bench.status.PercentText(), nullptr);
    EXPECT_EQ(Utf8Of(*bench.status.StatusText()), "");
}

TEST(OutputCallback, IgnoresNullContextAndEmptyChunks)
{
    CRunBench bench;
    bench.StartUp();
    EXPECT_EQ(OnEngineOutput("TTL", 3, nullptr), 0);
    EXPECT_EQ(OnEngineOutput("TTL", 0, &bench.run), 1);
    EXPECT_EQ(OnEngineOutput("TTL", -5, &bench.run), 1);
    EXPECT_FALSE(bench.run.IsNetworkReachable());
    EXPECT_FALSE(bench.ui.IsStartButtonEnabled());
    EXPECT_EQ(OnEngineOutput("TTL", 3, &bench.run), 1);
    EXPECT_TRUE(bench.run.IsNetworkReachable());
}

} // namespace

// The run with real threads: the engine's pump, the monitor and the UI thread (with a reader of
// the status record standing in for the popup) act at once. Built with ThreadSanitizer, these
// tests also show that the shared state is free of data races.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "event_journal.h"
#include "fast_time.h"
#include "journal_matcher.h"
#include "recording_feedback.h"
#include "recording_ui.h"
#include "threaded_engine.h"
#include "workflow/repair_run.h"

namespace {

using namespace std::chrono_literals;

// The window's monitor thread, started when the run asks for it.
class CMonitoredUi : public CRecordingUi {
public:
    using CRecordingUi::CRecordingUi;
    ~CMonitoredUi() override { JoinMonitor(); }

    void StartMonitorThread() override
    {
        CRecordingUi::StartMonitorThread();
        m_Monitor = std::thread([this] {
            while (run->OnMonitorTick()) {
            }
        });
    }
    void JoinMonitor()
    {
        if (m_Monitor.joinable())
            m_Monitor.join();
    }

private:
    std::thread m_Monitor;
};

// Everything a threaded run needs; pauses run 25 times faster than real (the probe window is
// then 80 ms, ample for the pump's one-millisecond reads even on a loaded machine).
struct CThreadedBench {
    CEventJournal journal;
    CThreadedEngine engine{journal};
    CFastTime time{25};
    CRepairStatus status;
    CMonitoredUi ui{journal, status};
    CRecordingFeedback feedback{journal};
    CRepairRun run{engine, ui, time, feedback, status};
    std::atomic<bool> reading{true};
    std::atomic<std::size_t> charactersRead{0};
    std::thread popupReader;

    CThreadedBench()
    {
        ui.run = &run;
        // The popup's timer and painting read the record on the UI side all along.
        popupReader = std::thread([this] {
            while (reading.load()) {
                // Drawn after the writers may have replaced them: the snapshots stay valid.
                CRepairStatus::Text percent = status.PercentText();
                CRepairStatus::Text line = status.StatusText();
                std::this_thread::sleep_for(100us);
                charactersRead += (percent ? percent->size() : 0) + line->size() +
                                  static_cast<std::size_t>(status.ProgressPercent() > 0);
            }
        });
    }
    ~CThreadedBench()
    {
        run.Shutdown();
        ui.JoinMonitor();
        reading = false;
        popupReader.join();
    }

    bool WaitFor(const std::function<bool()>& condition, std::chrono::seconds limit = 30s)
    {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (!condition()) {
            if (std::chrono::steady_clock::now() > end)
                return false;
            std::this_thread::sleep_for(1ms);
        }
        return true;
    }
    bool Journalled(const std::string& prefix)
    {
        return !StepsStartingWith(journal.Events(), {prefix}).empty();
    }
};

TEST(ThreadedRun, WholeRunEndsInOneSuccess)
{
    CThreadedBench bench;
    bench.ui.blockingPopup = true;
    bench.run.Initialise();
    ASSERT_TRUE(bench.WaitFor([&] { return bench.ui.IsStartButtonEnabled(); })) << "probe output enables the button";

    // Returns only when the success outcome has ended the popup.
    bench.run.OnBnClickedLocal();
    ASSERT_TRUE(bench.WaitFor([&] { return bench.Journalled("Report"); }));

    const std::vector<std::string> outcomes = StepsStartingWith(bench.journal.Events(), {"Prompt", "Report", "ENGINE"});
    ASSERT_EQ(outcomes.size(), 2u) << testing::PrintToString(outcomes);
    EXPECT_EQ(outcomes[0].rfind("Prompt(success)", 0), 0u);
    EXPECT_EQ(outcomes[1].rfind("Report 10027 1.0.4 code=1", 0), 0u);
    EXPECT_EQ(bench.run.Mode(), Idle);
    EXPECT_FALSE(bench.run.ShowFeedbackOnClose());
}

TEST(ThreadedRun, ShutdownWhileTheMonitorHoldsAPromptOpen)
{
    CThreadedBench bench;
    bench.ui.blockingPrompts = true;
    bench.engine.redirectionSwitchesOff = false; // sfc is never sent: the monitor fails the run
    bench.run.Initialise();
    ASSERT_TRUE(bench.WaitFor([&] { return bench.ui.IsStartButtonEnabled(); }));
    bench.run.OnBnClickedLocal();
    ASSERT_TRUE(bench.ui.WaitForOpenPrompt());
    bench.journal.Clear();

    bench.run.Shutdown();
    bench.ui.JoinMonitor();

    // The outcome stops with its prompt: no popup end, no clearing, no button after the close.
    EXPECT_TRUE(SequenceIs(bench.journal.Take(), {"Clear", "Close", "Feedback release"}));
}

TEST(ThreadedRun, ShutdownWhileTheMonitorWaitsForTheServicingProcess)
{
    CThreadedBench bench;
    bench.engine.cpuSample = 50.0f; // never idle
    bench.run.Initialise();
    ASSERT_TRUE(bench.WaitFor([&] { return bench.ui.IsStartButtonEnabled(); }));
    bench.run.OnBnClickedLocal();
    ASSERT_TRUE(bench.WaitFor([&] { return bench.engine.cpuQueries.load() >= 3; }));

    const auto start = std::chrono::steady_clock::now();
    bench.run.Shutdown();
    bench.ui.JoinMonitor();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);

    const std::vector<std::string> events = bench.journal.Events();
    EXPECT_TRUE(StepsStartingWith(events, {"ENGINE", "Prompt", "Send DISM"}).empty())
        << testing::PrintToString(events);
    EXPECT_EQ(events.back(), "Feedback release");
}

TEST(ThreadedRun, OutputAndTicksRaceThroughManyRuns)
{
    CThreadedBench bench;
    bench.run.Initialise();
    ASSERT_TRUE(bench.WaitFor([&] { return bench.ui.IsStartButtonEnabled(); }));
    // Runs started back to back while the pump and the monitor go on; each ends in an outcome.
    for (std::size_t runs = 1; runs <= 3; ++runs) {
        bench.run.OnBnClickedLocal();
        // The success's last step is its report; the next run starts after it.
        ASSERT_TRUE(bench.WaitFor(
            [&] { return StepsStartingWith(bench.journal.Events(), {"Report"}).size() == runs; }));
    }
    const std::vector<std::string> prompts = StepsStartingWith(bench.journal.Events(), {"Prompt", "ENGINE"});
    for (const std::string& prompt : prompts)
        EXPECT_EQ(prompt.rfind("Prompt(success)", 0), 0u) << prompt;
}

} // namespace

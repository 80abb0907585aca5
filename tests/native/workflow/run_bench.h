#pragma once

#include <functional>
#include <string>
#include <vector>

#include "event_journal.h"
#include "fixture.h"
#include "recording_feedback.h"
#include "recording_ui.h"
#include "scripted_engine.h"
#include "virtual_time.h"
#include "workflow/repair_run.h"
#include "workflow/repair_status.h"

inline const std::string kProbeLine = "ping www.baidu.com";
inline const std::string kSfcLine = "sfc /scannow";
inline const std::string kDismLine = "DISM /Online /Cleanup-image /RestoreHealth";
// GBK bytes of DISM's image-version header and its error marker.
inline const std::string kImageHeaderGbk = "\xD3\xB3\xCF\xF1\xB0\xE6\xB1\xBE";
inline const std::string kErrorGbk = "\xB4\xED\xCE\xF3";

// One run object on a scripted engine, a recording window and a virtual clock, all on the test's
// thread: output arrives when the run pauses, as the pump would deliver it meanwhile.
class CRunBench {
public:
    CEventJournal journal;
    CVirtualTime time{journal};
    CScriptedEngine engine{journal, time};
    CRepairStatus status;
    CRecordingUi ui{journal, status};
    CRecordingFeedback feedback{journal};
    CRepairRun run{engine, ui, time, feedback, status};

    CRunBench()
    {
        ui.run = &run;
        feedback.run = &run;
        time.SetPumpHook([this](long long) { engine.Pump(); });
        run.SetScale(1.25f);
    }

    // The probe answers, sfc runs for sfcMs and prints the given report at its end.
    void ScriptHealthySystem(long long sfcMs = 20 * 60 * 1000, const std::string& sfcReport = Fixture("sfc-zh-no-violations.bin"))
    {
        engine.Script(kProbeLine, {4000, {{500, Fixture("ping-zh-reply.bin")}}});
        engine.Script(kSfcLine, {sfcMs, {{sfcMs, sfcReport}}});
    }
    // DISM prints one record of the capture every 3 s and exits 1 s after its last one.
    void ScriptDism(const std::string& capture)
    {
        CommandScript dism;
        long long at = 1000;
        for (const std::string& line : FixtureLines(capture)) {
            dism.output.push_back({at, line});
            at += 3000;
        }
        dism.runsForMs = at - 2000;
        engine.Script(kDismLine, dism);
    }

    void StartUp() { run.Initialise(); }
    // Start-up with the probe's answer delivered, then the start button.
    void StartUpAndStartRun()
    {
        StartUp();
        time.Sleep(500);
        run.OnBnClickedLocal();
    }
    void Deliver(const std::string& chunk)
    {
        std::vector<char> buffer(chunk.begin(), chunk.end());
        buffer.push_back('\0');
        OnEngineOutput(buffer.data(), static_cast<int>(chunk.size()), &run);
    }
    void Ticks(int count)
    {
        for (int i = 0; i < count; ++i)
            run.OnMonitorTick();
    }
    // Ticks until the condition holds; the number of ticks it took, or -1 after maxTicks.
    int TicksUntil(const std::function<bool()>& condition, int maxTicks = 2000)
    {
        for (int tick = 1; tick <= maxTicks; ++tick) {
            run.OnMonitorTick();
            if (condition())
                return tick;
        }
        return -1;
    }
    // From start-up to the tick that ran the transition into the online phase.
    void ReachOnlinePhase()
    {
        StartUpAndStartRun();
        Deliver(std::string(3001, 'x'));
        Ticks(1);
    }
};

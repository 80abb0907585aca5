#pragma once

#include <atomic>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <string_view>

#include "workflow/call_gate.h"
#include "workflow/repair_engine.h"
#include "workflow/repair_feedback.h"
#include "workflow/repair_status.h"
#include "workflow/repair_time.h"
#include "workflow/repair_ui.h"
#include "workflow/run_mode.h"

// One repair run of the operations window: the network probe, the local repair with sfc, the
// transition and the online repair with DISM, and the four outcomes that end a run.
//
// Three threads act on it: the UI thread (Initialise, the buttons, Shutdown), the engine's
// pump thread (InterpretOutput through OnEngineOutput) and the window's monitor thread
// (OnMonitorTick). An outcome runs on the thread that detected it and shows its prompt there;
// that thread goes on only once the prompt is closed.
class CRepairRun {
public:
    CRepairRun(IRepairEngine& engine, IRepairUi& ui, IRepairTime& time, IRepairFeedback& feedback,
               CRepairStatus& status = RepairStatus());
    CRepairRun(const CRepairRun&) = delete;
    CRepairRun& operator=(const CRepairRun&) = delete;

    // Display scale handed to the prompts; set by the main window before the window is created.
    void SetScale(float scale) { m_fScale.store(scale); }

    // UI thread.
    // The window's start-up after its controls exist: start button off, monitor thread, engine
    // and output callback, probe, feedback service and version check. Always true.
    bool Initialise();
    // The start button: starts a run and returns once its progress popup has ended.
    void OnBnClickedLocal();
    // The close button: the problem-solved window unless the run succeeded, then WM_CLOSE.
    void OnBnClickedClose();
    void OnBnClickedMoreTools() { OpenKnowledgeBasePage(); }
    void OnFeedbackLinkClicked();
    void OpenKnowledgeBasePage();
    // The window's clean-up: turns the worker threads away, waits for those inside to leave
    // (pauses are cut short, open prompts closed), then ends the repair processes, restores the
    // redirection, closes the engine and releases the feedback service. Afterwards no outcome
    // and no engine call runs; the monitor thread can be stopped without waiting.
    void Shutdown();

    // Engine pump thread: interprets one chunk of command output. Always true.
    bool InterpretOutput(const char* bytes, int count);

    // Monitor thread: one tick. False once the run is shutting down.
    bool OnMonitorTick();
    // True when an outcome ended the run; the rest of the tick then leaves the run alone.
    bool CheckPhase();
    void AdvanceProgress();
    bool StartOnlineRepair();
    bool SendNetworkProbe();
    bool CloseProgressPopup();
    // False when the run is shutting down.
    bool WaitForServicingIdle(const std::wstring& processName);

    // The outcomes; each returns after its prompt has been closed.
    bool OnLocalRepairFailed();
    bool OnOnlineRepairFailed();
    bool OnNetworkRequired();
    bool OnRepairSucceeded();
    // 1 sends code 1, 0 code 2, 3 code 3; other values send nothing.
    bool ReportRepairResult(int result);

    // The run state, for the window and for tests.
    EngineHandle Engine() const { return m_hEngine.load(); }
    RunMode Mode() const { return m_nMode.load(); }
    bool IsLocalPhaseActive() const { return m_bLocalPhaseActive.load(); }
    bool IsOnlinePhaseActive() const { return m_bOnlinePhaseActive.load(); }
    bool IsNetworkReachable() const { return m_bNetworkReachable.load(); }
    bool IsImageHeaderSeen() const { return m_bImageHeaderSeen.load(); }
    bool IsRepairProcessSeen() const { return m_bRepairProcessSeen.load(); }
    bool IsAwaitingOnlineOutput() const { return m_bAwaitingOnlineOutput.load(); }
    bool ShowFeedbackOnClose() const { return m_bShowFeedbackOnClose.load(); }
    int TickCount() const { return m_nTickCount.load(); }
    int LocalPercent() const { return m_nLocalPercent.load(); }
    std::string OnlinePercent() const;
    float Scale() const { return m_fScale.load(); }

private:
    // True when the transition ended the run (network required, or shutdown).
    bool RunOnlineTransition();
    bool CheckOnlineSuccess();
    void StepLocalEstimate();

    void InterpretOnlineOutput(std::string_view text);
    void InterpretLocalOutput(int count);
    void InterpretProbeOutput(std::string_view text);
    void CheckImageHeader(std::string_view text);
    void ParseOnlineProgress(std::string_view text);
    bool CheckOnlineError(std::string_view text);
    void OnLocalOutputComplete();

    // Only one detector may end a phase: the mode moves from the phase to Idle once.
    bool ClaimRunEnd(RunMode phase);
    bool Stopping() const { return m_Gate.IsClosed(); }
    void Prompt(const std::wstring& text);
    // The two failure outcomes: idle, status cleared, prompt, popup ended, tools ended, start
    // button usable again.
    void EndRunInFailure(const std::wstring& prompt);
    void SetOnlinePercent(std::string figure);

    void RefreshProcessState();
    bool IsRepairProcessRunning();
    void ClearRepairProcesses();
    void SendLine(const char* line, int byteCount);

    IRepairEngine& m_Engine;
    IRepairUi& m_Ui;
    IRepairTime& m_Time;
    IRepairFeedback& m_Feedback;
    CRepairStatus& m_Status;

    // Held shared around each engine call, exclusively while the engine is opened and closed.
    mutable std::shared_mutex m_EngineLock;
    CCallGate m_Gate;
    std::atomic<bool> m_bShutDown{false};

    std::atomic<EngineHandle> m_hEngine{nullptr};
    std::atomic<RunMode> m_nMode{Idle};
    std::atomic<bool> m_bLocalPhaseActive{false};
    std::atomic<bool> m_bOnlinePhaseActive{false};
    std::atomic<bool> m_bNetworkReachable{false};
    std::atomic<bool> m_bImageHeaderSeen{false};
    std::atomic<bool> m_bRepairProcessSeen{false};
    std::atomic<bool> m_bAwaitingOnlineOutput{false};
    std::atomic<bool> m_bShowFeedbackOnClose{true};
    // DISM was found ended at the previous tick with its figure at 100.0; success waits one
    // more tick so that the output it left in the pipe is read and checked for the error first.
    std::atomic<bool> m_bOnlineEndPending{false};
    std::atomic<int> m_nTickCount{0};
    std::atomic<int> m_nLocalPercent{0};
    // The estimate (monitor) and the long chunk (pump) publish the local percent under it.
    std::mutex m_LocalProgressLock;
    mutable std::mutex m_OnlinePercentLock;
    std::string m_strOnlinePercent;
    std::atomic<float> m_fScale{1.0f};
};

// The engine's output callback; the context is the run.
int OnEngineOutput(const char* bytes, int count, void* context);
// The monitor thread's step; the context is the run.
bool OnMonitorTick(void* context);

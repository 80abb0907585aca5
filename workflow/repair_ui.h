#pragma once

#include <string>

// What the run asks of the operations window. Calls come from the UI thread, the engine's
// pump thread and the monitor thread; the window delivers them to its own thread as needed.
class IRepairUi {
public:
    virtual ~IRepairUi() = default;

    // Starts the window's monitor thread, which calls CRepairRun::OnMonitorTick again and again.
    virtual void StartMonitorThread() = 0;
    virtual void EnableStartButton(bool enable) = 0;
    // A modal message prompt with one confirm button; returns once it has been closed, or once
    // DismissPrompts has closed it.
    virtual void ShowPrompt(const std::wstring& text, float scale) = 0;
    // Closes every prompt still open (the window is going away).
    virtual void DismissPrompts() = 0;
    // Frees the popup of an earlier run, creates a new one and runs it modally; returns when it
    // has been ended by EndProgressPopup.
    virtual void RunProgressPopup() = 0;
    // Ends the progress popup synchronously; nothing happens when it has already ended.
    virtual void EndProgressPopup() = 0;
    // Hands an address to the shell's "open" verb.
    virtual void OpenWebPage(const std::wstring& address) = 0;
    // The problem-solved window, run modally with the window's feedback service.
    virtual void RunProblemSolvedWindow() = 0;
    // WM_CLOSE to the main window.
    virtual void CloseMainWindow() = 0;
    // Ends the process at once.
    virtual void ExitProcess(int exitCode) = 0;
    // Called by the UI thread while it waits for the worker threads at shutdown: serves the
    // window calls those threads may be blocked in.
    virtual void ServeWorkerCalls() = 0;

protected:
    IRepairUi() = default;
    IRepairUi(const IRepairUi&) = default;
    IRepairUi& operator=(const IRepairUi&) = default;
};

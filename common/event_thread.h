#pragma once
// A worker thread that calls one callback again and again while its active event is set.
//
// Nothing here ever kills the worker. Stop asks it to finish, then waits until it has:
// a callback that blocks must wait on GetStopEvent() (or sleep with SleepUnlessStopped)
// so that a stop request reaches it promptly.
#include <windows.h>

#include <atomic>

#include "scoped_handle.h"

class CEventThread {
public:
    // Returns true to be called again, false to end the thread.
    using EventThreadCallback = bool (*)(void* pContext);

    CEventThread() noexcept = default;
    virtual ~CEventThread();
    CEventThread(const CEventThread&) = delete;
    CEventThread& operator=(const CEventThread&) = delete;

    // Creates the events and the worker; the worker waits until SetActive(TRUE).
    // Refuses (false) while a worker is still running.
    bool Start(EventThreadCallback pfnCallback, void* pContext);
    // FALSE when no worker runs; a change takes effect after the callback in progress.
    BOOL SetActive(BOOL bOn);
    bool IsRunning() const;
    // Requests the end, starts no further callback, waits until the worker has ended and
    // releases everything: the object is idle afterwards. A worker that has not answered
    // within dwTimeoutMs is waited for while messages sent to the calling thread are
    // delivered, so a callback blocked in SendMessage to this thread cannot deadlock it.
    // Called from inside the callback, it only requests the end (a thread cannot wait for
    // itself); the owner's next Stop or the destructor then releases the object.
    void Stop(DWORD dwTimeoutMs);

    // For the callback: sleeps up to dwMs; false when the end was requested meanwhile.
    bool SleepUnlessStopped(DWORD dwMs) const;
    // Signalled once the end is requested; valid while the worker runs.
    HANDLE GetStopEvent() const noexcept { return m_hStopEvent.Get(); }
    bool IsCurrentThread() const noexcept;

private:
    static DWORD WINAPI ThreadProc(LPVOID pParam);
    void RunLoop();
    void WaitForWorkerEnd(DWORD dwQuietMs) const;
    void ReleaseEvents() noexcept;

    std::atomic<DWORD> m_dwThreadId{0};
    CScopedHandle m_hThread;
    CScopedHandle m_hStopEvent;
    CScopedHandle m_hStoppedEvent;
    CScopedHandle m_hActiveEvent;
    std::atomic<EventThreadCallback> m_pfnCallback{nullptr};
    void* m_pContext = nullptr;
    std::atomic<bool> m_bLoopEnded{false};
};

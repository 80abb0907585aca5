#include "event_thread.h"

namespace {

CScopedHandle CreateManualResetEvent()
{
    return CScopedHandle(CreateEventW(nullptr, TRUE, FALSE, nullptr));
}

} // namespace

CEventThread::~CEventThread() { Stop(100); }

bool CEventThread::Start(EventThreadCallback pfnCallback, void* pContext)
{
    if (IsRunning())
        return false;
    Stop(0); // releases what a worker that ended by itself left behind

    m_hStopEvent = CreateManualResetEvent();
    m_hStoppedEvent = CreateManualResetEvent();
    m_hActiveEvent = CreateManualResetEvent();
    if (!m_hStopEvent || !m_hStoppedEvent || !m_hActiveEvent) {
        ReleaseEvents();
        return false;
    }

    m_pfnCallback = pfnCallback;
    m_pContext = pContext;
    m_bLoopEnded = false;
    DWORD dwThreadId = 0;
    m_hThread.Reset(CreateThread(nullptr, 0, &CEventThread::ThreadProc, this, 0, &dwThreadId));
    if (!m_hThread) {
        m_pfnCallback = nullptr;
        ReleaseEvents();
        return false;
    }
    m_dwThreadId = dwThreadId;
    return true;
}

BOOL CEventThread::SetActive(BOOL bOn)
{
    if (!IsRunning())
        return FALSE;
    if (bOn)
        SetEvent(m_hActiveEvent.Get());
    else
        ResetEvent(m_hActiveEvent.Get());
    return TRUE;
}

bool CEventThread::IsRunning() const { return m_hThread && !m_bLoopEnded.load(); }

void CEventThread::Stop(DWORD dwTimeoutMs)
{
    m_pfnCallback = nullptr;
    if (m_hThread) {
        SetEvent(m_hStopEvent.Get());
        if (IsCurrentThread())
            return;
        WaitForWorkerEnd(dwTimeoutMs);
        m_hThread.Reset();
    }
    m_dwThreadId = 0;
    ReleaseEvents();
}

bool CEventThread::SleepUnlessStopped(DWORD dwMs) const
{
    if (!m_hStopEvent) {
        Sleep(dwMs);
        return true;
    }
    return WaitForSingleObject(m_hStopEvent.Get(), dwMs) == WAIT_TIMEOUT;
}

bool CEventThread::IsCurrentThread() const noexcept
{
    DWORD dwId = m_dwThreadId.load();
    return dwId != 0 && dwId == GetCurrentThreadId();
}

DWORD WINAPI CEventThread::ThreadProc(LPVOID pParam)
{
    if (!pParam)
        return 0;
    static_cast<CEventThread*>(pParam)->RunLoop();
    return 1;
}

void CEventThread::RunLoop()
{
    const HANDLE hWaits[2] = {m_hStopEvent.Get(), m_hActiveEvent.Get()};
    for (;;) {
        // With both set, the lower index (the stop request) wins.
        DWORD dwResult = WaitForMultipleObjects(2, hWaits, FALSE, INFINITE);
        if (dwResult != WAIT_OBJECT_0 + 1)
            break;
        EventThreadCallback pfnCallback = m_pfnCallback.load();
        if (!pfnCallback) {
            // Nothing to call: block until the end instead of spinning on the active event.
            WaitForSingleObject(hWaits[0], INFINITE);
            break;
        }
        if (!pfnCallback(m_pContext))
            break;
    }
    m_pfnCallback = nullptr;
    m_bLoopEnded = true;
    SetEvent(m_hStoppedEvent.Get());
}

void CEventThread::WaitForWorkerEnd(DWORD dwQuietMs) const
{
    HANDLE hThread = m_hThread.Get();
    if (WaitForSingleObject(hThread, dwQuietMs) != WAIT_TIMEOUT)
        return;
    for (;;) {
        DWORD dwResult = MsgWaitForMultipleObjects(1, &hThread, FALSE, INFINITE, QS_SENDMESSAGE);
        if (dwResult == WAIT_OBJECT_0)
            return;
        if (dwResult != WAIT_OBJECT_0 + 1) {
            WaitForSingleObject(hThread, INFINITE);
            return;
        }
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

void CEventThread::ReleaseEvents() noexcept
{
    m_hStopEvent.Reset();
    m_hStoppedEvent.Reset();
    m_hActiveEvent.Reset();
}

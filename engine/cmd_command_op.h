#pragma once
// The engine instance: runs one command line at a time through the command interpreter
// and pumps its output to the registered callback on its own thread.
#include <windows.h>

#include <atomic>
#include <mutex>

#include "event_thread.h"
#include "sfc_repair.h"
#include "scoped_handle.h"

class CCmdCommandOp {
public:
    static constexpr int kBufferSize = 4096;
    static constexpr int kMaxCommandBytes = kBufferSize - 8; // less "cmd /C " and a zero byte
    static constexpr DWORD kPumpPauseMs = 500;

    CCmdCommandOp() = default;
    virtual ~CCmdCommandOp();
    CCmdCommandOp(const CCmdCommandOp&) = delete;
    CCmdCommandOp& operator=(const CCmdCommandOp&) = delete;

    // Starts the pump thread and lets it run; false when it could not be started.
    bool StartPump();
    // Ends the pump without killing it: a read in progress is cancelled first.
    void StopPump(DWORD dwTimeoutMs);
    bool IsPumpThread() const noexcept { return m_PumpThread.IsCurrentThread(); }

    // True when the child process was created; it is never waited for.
    bool ExecuteCmd(const char* pCommand, int nLength);
    // Drops the current output pipe; a read in progress returns without delivering.
    void CloseReadPipe();
    void SetDataCallBack(SfcRepairDataCallBack pfnCallBack, void* pContext);
    bool IsCmdStarted() const noexcept { return m_bCmdStarted.load(); }

    // WOW64 file-system redirection of the calling thread.
    void SetWow64Process(bool bWow64) noexcept { m_bWow64Process = bWow64; }
    bool DisableWow64Redirection();
    bool RevertWow64Redirection();

    static bool PumpStep(void* pContext);

private:
    void PumpOnce();
    void DeliverPendingOutput();
    bool ReadChunk(HANDLE hReadPipe, DWORD* pdwRead);
    bool CreateOutputPipe(CScopedHandle* phRead, CScopedHandle* phWrite);
    bool CreateChild(HANDLE hWritePipe);
    // Caller holds m_StateLock. The pump closes a handle it is reading itself.
    void DetachReadPipeLocked();

    char m_szCmdLine[kBufferSize] = {};
    char m_szOutput[kBufferSize] = {};

    // m_StateLock guards the read end, the callback pair and what the pump is reading.
    std::mutex m_StateLock;
    SfcRepairDataCallBack m_pfnDataCallBack = nullptr;
    void* m_pDataCallBackContext = nullptr;
    CScopedHandle m_hReadPipe;
    HANDLE m_hPumpReading = nullptr;     // the read end the pump is blocked on, if any
    CScopedHandle m_hOrphanedRead;       // detached while being read; the pump closes it
    std::atomic<bool> m_bCmdStarted{false};

    // One command at a time: the buffers are shared, and a second child must not inherit
    // the first one's write end (its pipe would then never break).
    std::mutex m_SendLock;
    STARTUPINFOW m_StartupInfo = {};
    SECURITY_ATTRIBUTES m_PipeSecurity = {};
    PROCESS_INFORMATION m_ProcessInfo = {};

    std::mutex m_Wow64Lock;
    bool m_bWow64Process = false;
    PVOID m_pWow64OldValue = nullptr;

    CScopedHandle m_hReadDone;           // overlapped completion of the pump's read
    CScopedHandle m_hCancelRead;         // set when the read end is dropped mid-read
    CEventThread m_PumpThread;
};

#include "cmd_command_op.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr char kCmdPrefix[] = "cmd /C ";
constexpr int kCmdPrefixLength = sizeof(kCmdPrefix) - 1;
constexpr DWORD kPipeBufferSize = 4096;

std::wstring SystemCommandInterpreter()
{
    wchar_t szDir[MAX_PATH] = {};
    UINT nLength = GetSystemDirectoryW(szDir, MAX_PATH);
    if (nLength == 0 || nLength >= MAX_PATH)
        return std::wstring();
    return std::wstring(szDir, nLength) + L"\\cmd.exe";
}

std::wstring UniquePipeName()
{
    static std::atomic<unsigned long> s_nPipeSerial{0};
    wchar_t szName[96];
    swprintf(szName, 96, L"\\\\.\\pipe\\ZorvexSfcRepair.%lu.%lu.%llu", GetCurrentProcessId(),
             ++s_nPipeSerial, static_cast<unsigned long long>(GetTickCount64()));
    return szName;
}

} // namespace

CCmdCommandOp::~CCmdCommandOp() { StopPump(100); }

bool CCmdCommandOp::StartPump()
{
    m_hReadDone.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    m_hCancelRead.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!m_hReadDone || !m_hCancelRead)
        return false;
    if (!m_PumpThread.Start(&CCmdCommandOp::PumpStep, this))
        return false;
    m_PumpThread.SetActive(TRUE);
    return true;
}

void CCmdCommandOp::StopPump(DWORD dwTimeoutMs)
{
    // The stop event also ends a read in progress (see ReadChunk).
    m_PumpThread.Stop(dwTimeoutMs);
}

bool CCmdCommandOp::ExecuteCmd(const char* pCommand, int nLength)
{
    if (nLength < 0 || nLength > kMaxCommandBytes || (nLength > 0 && !pCommand))
        return false;
    std::lock_guard<std::mutex> sendGuard(m_SendLock);

    CScopedHandle hRead, hWrite;
    if (!CreateOutputPipe(&hRead, &hWrite))
        return false;

    std::memset(m_szCmdLine, 0, sizeof(m_szCmdLine));
    std::memcpy(m_szCmdLine, kCmdPrefix, kCmdPrefixLength);
    if (nLength > 0)
        std::memcpy(m_szCmdLine + kCmdPrefixLength, pCommand, static_cast<size_t>(nLength));

    if (!CreateChild(hWrite.Get()))
        return false;
    // Only the child's inherited copies of the write end remain, so the pipe breaks
    // once the child and everything it started have ended.
    hWrite.Reset();

    std::lock_guard<std::mutex> stateGuard(m_StateLock);
    DetachReadPipeLocked();
    m_hReadPipe = std::move(hRead);
    m_bCmdStarted = true;
    return true;
}

bool CCmdCommandOp::CreateOutputPipe(CScopedHandle* phRead, CScopedHandle* phWrite)
{
    // A named pipe rather than CreatePipe: the read end must be overlapped so that a read
    // can be abandoned while a child (a ping, say) keeps the pipe open, and only the
    // write end may be inherited.
    const std::wstring strName = UniquePipeName();
    phRead->Reset(CreateNamedPipeW(strName.c_str(), PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
                                   PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1,
                                   kPipeBufferSize, kPipeBufferSize, 0, nullptr));
    if (!*phRead)
        return false;

    m_PipeSecurity = {};
    m_PipeSecurity.nLength = sizeof(m_PipeSecurity);
    m_PipeSecurity.lpSecurityDescriptor = nullptr;
    m_PipeSecurity.bInheritHandle = TRUE;
    phWrite->Reset(CreateFileW(strName.c_str(), GENERIC_WRITE, 0, &m_PipeSecurity, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!*phWrite) {
        phRead->Reset();
        return false;
    }
    return true;
}

bool CCmdCommandOp::CreateChild(HANDLE hWritePipe)
{
    const std::wstring strInterpreter = SystemCommandInterpreter();
    int nWide = MultiByteToWideChar(CP_ACP, 0, m_szCmdLine, -1, nullptr, 0);
    if (strInterpreter.empty() || nWide <= 0)
        return false;
    std::vector<wchar_t> wideCmdLine(static_cast<size_t>(nWide));
    if (MultiByteToWideChar(CP_ACP, 0, m_szCmdLine, -1, wideCmdLine.data(), nWide) <= 0)
        return false;

    m_StartupInfo = {};
    m_StartupInfo.cb = sizeof(m_StartupInfo);
    GetStartupInfoW(&m_StartupInfo);
    m_StartupInfo.hStdOutput = hWritePipe;
    m_StartupInfo.hStdError = hWritePipe;
    m_StartupInfo.wShowWindow = SW_HIDE;
    m_StartupInfo.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;

    m_ProcessInfo = {};
    if (!CreateProcessW(strInterpreter.c_str(), wideCmdLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &m_StartupInfo, &m_ProcessInfo))
        return false;
    // The engine never waits for the child: its end shows only as the end of its output.
    CloseHandle(m_ProcessInfo.hThread);
    CloseHandle(m_ProcessInfo.hProcess);
    m_ProcessInfo.hThread = nullptr;
    m_ProcessInfo.hProcess = nullptr;
    return true;
}

void CCmdCommandOp::CloseReadPipe()
{
    std::lock_guard<std::mutex> stateGuard(m_StateLock);
    DetachReadPipeLocked();
}

void CCmdCommandOp::DetachReadPipeLocked()
{
    if (!m_hReadPipe)
        return;
    if (m_hReadPipe.Get() == m_hPumpReading) {
        m_hOrphanedRead = std::move(m_hReadPipe);
        SetEvent(m_hCancelRead.Get());
    } else {
        m_hReadPipe.Reset();
    }
}

void CCmdCommandOp::SetDataCallBack(SfcRepairDataCallBack pfnCallBack, void* pContext)
{
    std::lock_guard<std::mutex> stateGuard(m_StateLock);
    m_pDataCallBackContext = pContext;
    m_pfnDataCallBack = pfnCallBack;
}

bool CCmdCommandOp::DisableWow64Redirection()
{
    std::lock_guard<std::mutex> guard(m_Wow64Lock);
    if (m_pWow64OldValue)
        return false;
    if (!m_bWow64Process)
        return true;
    return Wow64DisableWow64FsRedirection(&m_pWow64OldValue) != FALSE;
}

bool CCmdCommandOp::RevertWow64Redirection()
{
    std::lock_guard<std::mutex> guard(m_Wow64Lock);
    if (!m_pWow64OldValue)
        return false;
    Wow64RevertWow64FsRedirection(m_pWow64OldValue);
    m_pWow64OldValue = nullptr;
    return true;
}

bool CCmdCommandOp::PumpStep(void* pContext)
{
    static_cast<CCmdCommandOp*>(pContext)->PumpOnce();
    return true;
}

void CCmdCommandOp::PumpOnce()
{
    DeliverPendingOutput();
    // The pause bounds the pump's load and the rate of deliveries; a stop ends it at once.
    m_PumpThread.SleepUnlessStopped(kPumpPauseMs);
}

void CCmdCommandOp::DeliverPendingOutput()
{
    HANDLE hReadPipe = nullptr;
    {
        std::lock_guard<std::mutex> stateGuard(m_StateLock);
        if (!m_hReadPipe || !m_bCmdStarted)
            return;
        hReadPipe = m_hReadPipe.Get();
        m_hPumpReading = hReadPipe;
        ResetEvent(m_hCancelRead.Get());
    }

    DWORD dwRead = 0;
    bool bRead = ReadChunk(hReadPipe, &dwRead);

    SfcRepairDataCallBack pfnCallBack = nullptr;
    void* pCallBackContext = nullptr;
    {
        std::lock_guard<std::mutex> stateGuard(m_StateLock);
        m_hPumpReading = nullptr;
        if (m_hOrphanedRead) {
            // Dropped while we were reading: its output is no longer wanted.
            m_hOrphanedRead.Reset();
            return;
        }
        pfnCallBack = m_pfnDataCallBack;
        pCallBackContext = m_pDataCallBackContext;
    }
    if (!bRead || dwRead == 0 || !pfnCallBack)
        return;
    if (WaitForSingleObject(m_PumpThread.GetStopEvent(), 0) == WAIT_OBJECT_0)
        return;
    // Outside the lock: the callback may call back into the engine (Clear, Send).
    pfnCallBack(m_szOutput, static_cast<int32_t>(dwRead), pCallBackContext);
}

bool CCmdCommandOp::ReadChunk(HANDLE hReadPipe, DWORD* pdwRead)
{
    std::memset(m_szOutput, 0, sizeof(m_szOutput));
    OVERLAPPED overlapped = {};
    overlapped.hEvent = m_hReadDone.Get();
    ResetEvent(overlapped.hEvent);
    if (!ReadFile(hReadPipe, m_szOutput, kBufferSize - 1, nullptr, &overlapped)) {
        if (GetLastError() != ERROR_IO_PENDING)
            return false;
        const HANDLE hWaits[3] = {overlapped.hEvent, m_hCancelRead.Get(), m_PumpThread.GetStopEvent()};
        if (WaitForMultipleObjects(3, hWaits, FALSE, INFINITE) != WAIT_OBJECT_0)
            CancelIoEx(hReadPipe, &overlapped);
    }
    // Waits for the read to be finished or cancelled: m_szOutput and the handle must
    // outlive it.
    return GetOverlappedResult(hReadPipe, &overlapped, pdwRead, TRUE) != FALSE;
}

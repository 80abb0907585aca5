#include "process_watch.h"

#include <tlhelp32.h>

#include <cwchar>

#include "scoped_handle.h"
#include "system_process_list.h"

namespace {

constexpr wchar_t kSfcExe[] = L"sfc.exe";
constexpr wchar_t kDismExe[] = L"Dism.exe";
constexpr DWORD kCpuSampleMs = 1000;

bool IsRepairTool(const wchar_t* pszExeFile)
{
    return std::wcscmp(pszExeFile, kSfcExe) == 0 || std::wcscmp(pszExeFile, kDismExe) == 0;
}

// Calls visit(entry) for every process until it returns false.
template <typename Visit> void ForEachProcess(Visit visit)
{
    CScopedHandle hSnapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!hSnapshot)
        return;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL bMore = Process32FirstW(hSnapshot.Get(), &entry); bMore; bMore = Process32NextW(hSnapshot.Get(), &entry)) {
        if (!visit(entry))
            return;
    }
}

// Kernel plus user time divided by the processor count, in 100 ns units; false when the
// process cannot be opened or is no longer listed. The times come from the system's process
// list: GetProcessTimes on another process answers the caller's own times under Wine.
bool SampleProcessTime(DWORD dwProcessId, LONGLONG* pllTime)
{
    CScopedHandle hProcess(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, dwProcessId));
    if (!hProcess)
        return false;
    CSystemProcessList processes;
    LONGLONG llUsed = 0;
    if (!processes.Refresh() || !processes.ProcessTime(dwProcessId, &llUsed))
        return false;
    *pllTime = llUsed / ProcessorCount();
    return true;
}

LONGLONG SystemTimeNow()
{
    FILETIME ftNow;
    GetSystemTimeAsFileTime(&ftNow);
    ULARGE_INTEGER now{{ftNow.dwLowDateTime, ftNow.dwHighDateTime}};
    return static_cast<LONGLONG>(now.QuadPart);
}

// One process over kCpuSampleMs; the window spans both process-time reads.
float MeasureProcess(DWORD dwProcessId)
{
    const LONGLONG llSystemBefore = SystemTimeNow();
    LONGLONG llProcessBefore = 0;
    if (!SampleProcessTime(dwProcessId, &llProcessBefore))
        return kCpuNoProcess;
    Sleep(kCpuSampleMs);
    LONGLONG llProcessAfter = 0;
    if (!SampleProcessTime(dwProcessId, &llProcessAfter))
        return kCpuNoProcess;
    const LONGLONG llSystemAfter = SystemTimeNow();
    if (llSystemAfter <= llSystemBefore)
        return kCpuNoProcess;
    return static_cast<float>(static_cast<double>(llProcessAfter - llProcessBefore) /
                              static_cast<double>(llSystemAfter - llSystemBefore) * 100.0);
}

} // namespace

int ProcessorCount()
{
    static const int s_nProcessors = [] {
        SYSTEM_INFO info = {};
        GetSystemInfo(&info);
        return info.dwNumberOfProcessors > 0 ? static_cast<int>(info.dwNumberOfProcessors) : 1;
    }();
    return s_nProcessors;
}

bool KillRepairProcesses()
{
    ForEachProcess([](const PROCESSENTRY32W& entry) {
        if (IsRepairTool(entry.szExeFile)) {
            CScopedHandle hProcess(OpenProcess(PROCESS_ALL_ACCESS, FALSE, entry.th32ProcessID));
            if (hProcess)
                TerminateProcess(hProcess.Get(), 0);
        }
        return true;
    });
    return true;
}

bool IsRepairProcessRunning()
{
    bool bFound = false;
    ForEachProcess([&bFound](const PROCESSENTRY32W& entry) {
        bFound = IsRepairTool(entry.szExeFile);
        return !bFound;
    });
    return bFound;
}

float GetProcessCpuUsage(const wchar_t* pszExeName)
{
    float fResult = kCpuNoProcess;
    if (!pszExeName)
        return fResult;
    ForEachProcess([&](const PROCESSENTRY32W& entry) {
        if (std::wcscmp(entry.szExeFile, pszExeName) != 0)
            return true;
        fResult = kCpuAccessDenied;
        CScopedHandle hProcess(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, entry.th32ProcessID));
        if (hProcess)
            fResult = MeasureProcess(entry.th32ProcessID);
        return true;
    });
    return fResult;
}

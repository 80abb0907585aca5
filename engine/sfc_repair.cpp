// The library's exports: the single engine instance and the forwarding to the routines.
#include "sfc_repair.h"

#include <atomic>
#include <new>
#include <optional>
#include <string>

#include "cmd_command_op.h"
#include "privileges.h"
#include "process_watch.h"
#include "system_power.h"
#include "windows_version.h"

namespace {

using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);

std::atomic<CCmdCommandOp*> g_pInstance{nullptr};
std::atomic<IsWow64ProcessFn> g_pfnIsWow64Process{nullptr};
// Exports that use the instance count themselves here, so Close never destroys it under them.
std::atomic<int> g_nInstanceUsers{0};

// Holds the instance for the length of one export.
class CInstanceUse {
public:
    explicit CInstanceUse(SfcRepairHandle hEngine)
    {
        ++g_nInstanceUsers;
        if (hEngine)
            m_pOp = g_pInstance.load();
    }
    ~CInstanceUse() { --g_nInstanceUsers; }
    CInstanceUse(const CInstanceUse&) = delete;
    CInstanceUse& operator=(const CInstanceUse&) = delete;
    CCmdCommandOp* operator->() const { return m_pOp; }
    explicit operator bool() const { return m_pOp != nullptr; }

private:
    CCmdCommandOp* m_pOp = nullptr;
};

bool HasInstance(SfcRepairHandle hEngine) { return hEngine && g_pInstance.load(); }

void WaitForOtherUsers()
{
    while (g_nInstanceUsers.load() != 0)
        Sleep(1);
}

bool IsOwnProcessWow64()
{
    IsWow64ProcessFn pfnIsWow64 = g_pfnIsWow64Process.load();
    if (!pfnIsWow64) {
        HMODULE hKernel = GetModuleHandleW(L"kernel32.dll");
        if (hKernel)
            pfnIsWow64 = reinterpret_cast<IsWow64ProcessFn>(
                reinterpret_cast<void*>(GetProcAddress(hKernel, "IsWow64Process")));
        g_pfnIsWow64Process = pfnIsWow64;
    }
    BOOL bWow64 = FALSE;
    return pfnIsWow64 && pfnIsWow64(GetCurrentProcess(), &bWow64) && bWow64;
}

void AssignText(const SfcRepairText* pText, const std::string& strValue)
{
    if (pText && pText->pfnAssign)
        pText->pfnAssign(pText->pTarget, strValue.c_str(), static_cast<int32_t>(strValue.size()));
}

} // namespace

extern "C" {

bool WINAPI sfc_Repair_Close(SfcRepairHandle hEngine)
{
    if (!hEngine)
        return false;
    CCmdCommandOp* pOp = g_pInstance.load();
    // The callback must not destroy the engine whose pump is calling it.
    if (!pOp || pOp->IsPumpThread())
        return false;
    if (!g_pInstance.compare_exchange_strong(pOp, nullptr))
        return false;
    pOp->CloseReadPipe();
    KillRepairProcesses();
    pOp->StopPump(0);
    WaitForOtherUsers();
    delete pOp;
    return true;
}

bool WINAPI sfc_Repair_CmdClear(SfcRepairHandle hEngine)
{
    CInstanceUse op(hEngine);
    if (!op)
        return false;
    op->CloseReadPipe();
    KillRepairProcesses();
    return true;
}

bool WINAPI sfc_Repair_CmdSend(SfcRepairHandle hEngine, const char* pCommand, int32_t nLength)
{
    CInstanceUse op(hEngine);
    if (!op)
        return false;
    op->ExecuteCmd(pCommand, nLength);
    return true;
}

bool WINAPI sfc_Repair_DataCallBack_Log(SfcRepairHandle hEngine, SfcRepairDataCallBack pfnCallBack, void* pContext)
{
    CInstanceUse op(hEngine);
    if (!op)
        return false;
    op->SetDataCallBack(pfnCallBack, pContext);
    return true;
}

float WINAPI sfc_Repair_GetProcessCpuInfo(SfcRepairHandle hEngine, const wchar_t* pszExeName)
{
    if (!HasInstance(hEngine))
        return kCpuNoProcess;
    return GetProcessCpuUsage(pszExeName);
}

bool WINAPI sfc_Repair_GetProcessState(SfcRepairHandle hEngine)
{
    return HasInstance(hEngine) && IsRepairProcessRunning();
}

void WINAPI sfc_Repair_GetSystemName(SfcRepairHandle hEngine, const SfcRepairText* pText)
{
    if (!HasInstance(hEngine))
        return;
    try {
        std::optional<std::string> name = WindowsProductName(ReadWindowsVersionFacts());
        if (name)
            AssignText(pText, *name);
    } catch (const std::bad_alloc&) {
    }
}

void WINAPI sfc_Repair_GetVersionMark(SfcRepairHandle hEngine, const SfcRepairText* pText)
{
    if (!HasInstance(hEngine))
        return;
    try {
        AssignText(pText, WindowsEditionMark(ReadWindowsVersionFacts()));
    } catch (const std::bad_alloc&) {
    }
}

SfcRepairHandle WINAPI sfc_Repair_Open(void)
{
    if (g_pInstance.load())
        return nullptr;
    CCmdCommandOp* pOp = new (std::nothrow) CCmdCommandOp();
    if (!pOp)
        return nullptr;
    pOp->SetWow64Process(IsOwnProcessWow64());
    // Without a pump the engine still answers, it just never delivers output.
    pOp->StartPump();
    CCmdCommandOp* pExpected = nullptr;
    if (!g_pInstance.compare_exchange_strong(pExpected, pOp)) {
        delete pOp;
        return nullptr;
    }
    EnableDebugPrivilege();
    return pOp;
}

bool WINAPI sfc_Repair_ReSetWindows(SfcRepairHandle hEngine, int32_t nMode, bool bForce)
{
    return HasInstance(hEngine) && ExitWindowsWithMode(nMode, bForce);
}

bool WINAPI sfc_Repair_Wow64DisableWow64Fs(SfcRepairHandle hEngine)
{
    CInstanceUse op(hEngine);
    return op && op->DisableWow64Redirection();
}

bool WINAPI sfc_Repair_Wow64RevertWow64Fs(SfcRepairHandle hEngine)
{
    CInstanceUse op(hEngine);
    return op && op->RevertWow64Redirection();
}

} // extern "C"

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }

#include "system_process_list.h"

#include <winternl.h>

#include <cstring>

namespace {

constexpr NTSTATUS kStatusInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004L);
constexpr ULONG kInitialBytes = 256 * 1024;
// Processes may start between the size query and the read; allow for some, and give up
// rather than grow without end.
constexpr ULONG kSlackBytes = 64 * 1024;
constexpr ULONG kMaxBytes = 64 * 1024 * 1024;

using NtQuerySystemInformationFn = NTSTATUS(NTAPI*)(SYSTEM_INFORMATION_CLASS, PVOID, ULONG, PULONG);

NtQuerySystemInformationFn QueryFunction()
{
    static const NtQuerySystemInformationFn s_fn = [] {
        HMODULE hNtdll = GetModuleHandleW(L"ntdll.dll");
        return hNtdll ? reinterpret_cast<NtQuerySystemInformationFn>(
                            reinterpret_cast<void*>(GetProcAddress(hNtdll, "NtQuerySystemInformation")))
                      : nullptr;
    }();
    return s_fn;
}

} // namespace

bool CSystemProcessList::Refresh()
{
    m_cbUsed = 0;
    const NtQuerySystemInformationFn fnQuery = QueryFunction();
    if (!fnQuery)
        return false;
    ULONG cbWanted = m_buffer.empty() ? kInitialBytes : static_cast<ULONG>(m_buffer.size() * sizeof(LONGLONG));
    for (;;) {
        m_buffer.resize((cbWanted + sizeof(LONGLONG) - 1) / sizeof(LONGLONG));
        const ULONG cbBuffer = static_cast<ULONG>(m_buffer.size() * sizeof(LONGLONG));
        ULONG cbReturned = 0;
        const NTSTATUS status = fnQuery(SystemProcessInformation, m_buffer.data(), cbBuffer, &cbReturned);
        if (status == kStatusInfoLengthMismatch) {
            const ULONG cbNext = (cbReturned > cbBuffer ? cbReturned : cbBuffer * 2) + kSlackBytes;
            if (cbBuffer >= kMaxBytes || cbNext > kMaxBytes)
                return false;
            cbWanted = cbNext;
            continue;
        }
        if (!NT_SUCCESS(status))
            return false;
        // Some systems leave the returned length at zero on success; the records' own
        // offsets are then bounded by the buffer.
        m_cbUsed = (cbReturned > 0 && cbReturned <= cbBuffer) ? cbReturned : cbBuffer;
        return true;
    }
}

bool CSystemProcessList::ProcessTime(DWORD dwProcessId, LONGLONG* pllTime) const
{
    const auto* pbFirst = reinterpret_cast<const BYTE*>(m_buffer.data());
    size_t cbOffset = 0;
    // Every record must lie wholly inside what the system wrote. Copied out, because
    // nothing promises that the records after the first are aligned.
    while (cbOffset + sizeof(SYSTEM_PROCESS_INFORMATION) <= m_cbUsed) {
        SYSTEM_PROCESS_INFORMATION info;
        std::memcpy(&info, pbFirst + cbOffset, sizeof(info));
        if (static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(info.UniqueProcessId)) == dwProcessId) {
            *pllTime = info.KernelTime.QuadPart + info.UserTime.QuadPart;
            return true;
        }
        if (info.NextEntryOffset == 0)
            return false;
        cbOffset += info.NextEntryOffset;
    }
    return false;
}

// The library's export table as callers see it: twelve undecorated names, ordinals 1 to 12.
#include <windows.h>

#include <map>
#include <string>

#include <gtest/gtest.h>

#include "sfc_repair.h"

namespace {

std::map<std::string, DWORD> ExportsOf(HMODULE hModule, DWORD* pdwBase, DWORD* pdwFunctions)
{
    auto* pBase = reinterpret_cast<const BYTE*>(hModule);
    auto* pDos = reinterpret_cast<const IMAGE_DOS_HEADER*>(pBase);
    auto* pNt = reinterpret_cast<const IMAGE_NT_HEADERS*>(pBase + pDos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = pNt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    auto* pExports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(pBase + dir.VirtualAddress);
    auto* pNames = reinterpret_cast<const DWORD*>(pBase + pExports->AddressOfNames);
    auto* pOrdinals = reinterpret_cast<const WORD*>(pBase + pExports->AddressOfNameOrdinals);
    std::map<std::string, DWORD> exports;
    for (DWORD i = 0; i < pExports->NumberOfNames; ++i)
        exports[reinterpret_cast<const char*>(pBase + pNames[i])] = pExports->Base + pOrdinals[i];
    *pdwBase = pExports->Base;
    *pdwFunctions = pExports->NumberOfFunctions;
    return exports;
}

TEST(EngineExports, TwelveUndecoratedNamesWithOrdinalsOneToTwelve)
{
    // Referencing an export makes sure the library is loaded by this program.
    ASSERT_NE(reinterpret_cast<void*>(&sfc_Repair_Open), nullptr);
    HMODULE hEngine = GetModuleHandleW(L"ZorvexSfcRepair.dll");
    ASSERT_NE(hEngine, nullptr);
    DWORD dwBase = 0, dwFunctions = 0;
    const std::map<std::string, DWORD> exports = ExportsOf(hEngine, &dwBase, &dwFunctions);
    const std::map<std::string, DWORD> expected = {
        {"sfc_Repair_Close", 1},
        {"sfc_Repair_CmdClear", 2},
        {"sfc_Repair_CmdSend", 3},
        {"sfc_Repair_DataCallBack_Log", 4},
        {"sfc_Repair_GetProcessCpuInfo", 5},
        {"sfc_Repair_GetProcessState", 6},
        {"sfc_Repair_GetSystemName", 7},
        {"sfc_Repair_GetVersionMark", 8},
        {"sfc_Repair_Open", 9},
        {"sfc_Repair_ReSetWindows", 10},
        {"sfc_Repair_Wow64DisableWow64Fs", 11},
        {"sfc_Repair_Wow64RevertWow64Fs", 12},
    };
    EXPECT_EQ(dwBase, 1u);
    EXPECT_EQ(dwFunctions, 12u);
    EXPECT_EQ(exports, expected);
    for (const auto& [name, ordinal] : expected)
        EXPECT_EQ(GetProcAddress(hEngine, name.c_str()),
                  GetProcAddress(hEngine, MAKEINTRESOURCEA(static_cast<WORD>(ordinal))))
            << name;
}

} // namespace

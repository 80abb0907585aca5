#pragma once
// Questions and actions on the machine's processes, found by executable name. Names are
// compared whole and case-sensitively, as the snapshot reports them.
#include <windows.h>

// Ends every process named "sfc.exe" or "Dism.exe", whoever started it. Always true.
bool KillRepairProcesses();
// True while a process named "sfc.exe" or "Dism.exe" exists.
bool IsRepairProcessRunning();

constexpr float kCpuNoProcess = -1.0f;
constexpr float kCpuAccessDenied = -2.0f;
// Percent of all processors used over about one second by the last process of that name;
// kCpuNoProcess or kCpuAccessDenied otherwise. Blocks about 1 s per matching process.
float GetProcessCpuUsage(const wchar_t* pszExeName);
// Logical processors of the machine, looked up once.
int ProcessorCount();

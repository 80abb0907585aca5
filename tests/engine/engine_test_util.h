#pragma once
// Small helpers shared by the engine's tests.
#include <windows.h>

#include <string>
#include <vector>

#include "scoped_handle.h"

// A sample output as the stand-ins play it.
std::string ReadFixture(const std::string& strName);
// Starts a program hidden, with the given arguments; empty handle on failure.
CScopedHandle StartProgram(const std::wstring& strExe, const std::wstring& strArguments);
// Ids of the processes with exactly this executable name, in snapshot order.
std::vector<DWORD> ProcessIdsNamed(const wchar_t* pszExeName);
// Ends every process with exactly this name (leftovers of a test).
void EndProcessesNamed(const wchar_t* pszExeName);
bool HasEnded(HANDLE hProcess, DWORD dwWaitMs);
// Open kernel handles of this process. Wine's GetProcessHandleCount answers 0, so where it
// does, the handle values are probed one by one.
DWORD CountOpenHandles();

#include "engine_test_util.h"

#include <tlhelp32.h>

#include <cwchar>

#include "standin_paths.h"

std::string ReadFixture(const std::string& strName)
{
    const std::wstring strPath = CStandinPaths::Folder() + L"\\fixtures\\" + std::wstring(strName.begin(), strName.end());
    CScopedHandle hFile(CreateFileW(strPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string strBytes;
    char buffer[4096];
    DWORD dwRead = 0;
    while (hFile && ReadFile(hFile.Get(), buffer, sizeof(buffer), &dwRead, nullptr) && dwRead > 0)
        strBytes.append(buffer, dwRead);
    return strBytes;
}

CScopedHandle StartProgram(const std::wstring& strExe, const std::wstring& strArguments)
{
    std::wstring strCommandLine = L"\"" + strExe + L"\" " + strArguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(strExe.c_str(), strCommandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info))
        return CScopedHandle();
    CloseHandle(info.hThread);
    return CScopedHandle(info.hProcess);
}

std::vector<DWORD> ProcessIdsNamed(const wchar_t* pszExeName)
{
    std::vector<DWORD> ids;
    CScopedHandle hSnapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL bMore = hSnapshot && Process32FirstW(hSnapshot.Get(), &entry); bMore;
         bMore = Process32NextW(hSnapshot.Get(), &entry)) {
        if (std::wcscmp(entry.szExeFile, pszExeName) == 0)
            ids.push_back(entry.th32ProcessID);
    }
    return ids;
}

void EndProcessesNamed(const wchar_t* pszExeName)
{
    for (DWORD dwId : ProcessIdsNamed(pszExeName)) {
        CScopedHandle hProcess(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, dwId));
        if (hProcess) {
            TerminateProcess(hProcess.Get(), 1);
            WaitForSingleObject(hProcess.Get(), 2000);
        }
    }
}

bool HasEnded(HANDLE hProcess, DWORD dwWaitMs) { return WaitForSingleObject(hProcess, dwWaitMs) == WAIT_OBJECT_0; }

DWORD CountOpenHandles()
{
    DWORD dwCount = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &dwCount) && dwCount > 0)
        return dwCount;
    DWORD dwFlags = 0;
    for (ULONG_PTR nValue = 4; nValue < 0x10000; nValue += 4) {
        if (GetHandleInformation(reinterpret_cast<HANDLE>(nValue), &dwFlags))
            ++dwCount;
    }
    return dwCount;
}

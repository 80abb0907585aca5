#include "privileges.h"

#include <windows.h>

#include "scoped_handle.h"

namespace {

enum class PrivilegeCheck { AllAssigned, CallSucceeded };

bool EnablePrivilege(const wchar_t* pszName, DWORD dwTokenAccess, PrivilegeCheck check)
{
    HANDLE hRawToken = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), dwTokenAccess, &hRawToken))
        return false;
    CScopedHandle hToken(hRawToken);

    TOKEN_PRIVILEGES privileges = {};
    if (!LookupPrivilegeValueW(nullptr, pszName, &privileges.Privileges[0].Luid))
        return false;
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;

    SetLastError(ERROR_SUCCESS);
    BOOL bAdjusted = AdjustTokenPrivileges(hToken.Get(), FALSE, &privileges, sizeof(privileges), nullptr, nullptr);
    if (check == PrivilegeCheck::AllAssigned)
        return bAdjusted && GetLastError() == ERROR_SUCCESS;
    return bAdjusted != FALSE;
}

} // namespace

bool EnableDebugPrivilege()
{
    return EnablePrivilege(SE_DEBUG_NAME, TOKEN_ADJUST_PRIVILEGES, PrivilegeCheck::AllAssigned);
}

bool EnableShutdownPrivilege()
{
    return EnablePrivilege(SE_SHUTDOWN_NAME, TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, PrivilegeCheck::CallSucceeded);
}

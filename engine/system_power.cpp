#include "system_power.h"

#include <windows.h>

#include "privileges.h"

bool ExitWindowsWithMode(int32_t nMode, bool bForce)
{
    if (nMode != kExitLogOff && nMode != kExitShutdown && nMode != kExitReboot)
        return false;
    OSVERSIONINFOW version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    if (!GetVersionExW(&version))
        return false;
    if (version.dwPlatformId == VER_PLATFORM_WIN32_NT)
        EnableShutdownPrivilege();
    const UINT uFlags = static_cast<UINT>(nMode) | (bForce ? EWX_FORCE : EWX_FORCEIFHUNG);
    return ExitWindowsEx(uFlags, 0) != FALSE;
}

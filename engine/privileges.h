#pragma once
// Token privileges of the own process.

// SeDebugPrivilege, so repair tools started by others can be ended. True only when the
// token really holds it (a missing privilege is not silently "enabled").
bool EnableDebugPrivilege();
// SeShutdownPrivilege for ExitWindowsEx; true when the adjustment call itself succeeded.
bool EnableShutdownPrivilege();

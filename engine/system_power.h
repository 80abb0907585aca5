#pragma once
// Logging off, shutting down and restarting the machine.
#include <cstdint>

constexpr int32_t kExitLogOff = 0;
constexpr int32_t kExitShutdown = 1;
constexpr int32_t kExitReboot = 2;

// Any mode other than the three above returns false and does nothing. bForce ends
// programs without asking; otherwise only hung programs are ended.
bool ExitWindowsWithMode(int32_t nMode, bool bForce);

#pragma once
// The system's own list of processes with their processor times (what Task Manager reads).
// GetProcessTimes is not enough for processes other than the caller: Wine answers it with
// the caller's own times, whatever process the handle names.
#include <windows.h>

#include <vector>

class CSystemProcessList {
public:
    // Reads the list as it stands now; false when the system does not give it.
    bool Refresh();
    // Kernel plus user time of the process, in 100 ns units, as of the last Refresh;
    // false when the process was not in the list.
    bool ProcessTime(DWORD dwProcessId, LONGLONG* pllTime) const;

private:
    // 8-byte elements keep the records' 64-bit fields aligned.
    std::vector<LONGLONG> m_buffer;
    size_t m_cbUsed = 0;
};

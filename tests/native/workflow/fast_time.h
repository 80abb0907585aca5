#pragma once

#include <chrono>
#include <condition_variable>
#include <ctime>
#include <mutex>

#include "workflow/repair_time.h"

// Real pauses, shortened by a factor, that Interrupt cuts short: for tests with real threads.
class CFastTime : public IRepairTime {
public:
    explicit CFastTime(int divisor) : m_nDivisor(divisor) {}

    bool Sleep(int milliseconds) override
    {
        std::unique_lock lock(m_Lock);
        m_Woken.wait_for(lock, std::chrono::microseconds(1000LL * milliseconds / m_nDivisor),
                         [this] { return m_bStopped; });
        return !m_bStopped;
    }
    void Interrupt() override
    {
        std::lock_guard lock(m_Lock);
        m_bStopped = true;
        m_Woken.notify_all();
    }
    std::int64_t UnixTime() override { return static_cast<std::int64_t>(std::time(nullptr)); }

private:
    const int m_nDivisor;
    std::mutex m_Lock;
    std::condition_variable m_Woken;
    bool m_bStopped = false;
};

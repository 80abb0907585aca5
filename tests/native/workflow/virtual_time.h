#pragma once

#include <atomic>
#include <functional>
#include <string>

#include "event_journal.h"
#include "workflow/repair_time.h"

// A clock that moves only when the run pauses; every 500 ms of virtual time the engine's
// pump gets its turn, as the real pump reads about twice a second. Pauses other than the
// one-second tick pause are journalled.
class CVirtualTime : public IRepairTime {
public:
    static constexpr std::int64_t kUnixStart = 1700000000;
    static constexpr long long kPumpPeriodMs = 500;

    explicit CVirtualTime(CEventJournal& journal) : m_Journal(journal) {}

    void SetPumpHook(std::function<void(long long nowMs)> hook) { m_PumpHook = std::move(hook); }
    long long NowMs() const { return m_NowMs; }
    int PausesOf(int milliseconds) const { return milliseconds == 1000 ? m_nTickPauses : 0; }

    bool Sleep(int milliseconds) override
    {
        if (milliseconds == 1000)
            ++m_nTickPauses;
        else
            m_Journal.Add("Sleep " + std::to_string(milliseconds));
        const long long target = m_NowMs + milliseconds;
        while (m_NowMs < target && !m_bStopped) {
            const long long nextPump = (m_NowMs / kPumpPeriodMs + 1) * kPumpPeriodMs;
            m_NowMs = std::min(target, nextPump);
            if (m_NowMs == nextPump && m_PumpHook)
                m_PumpHook(m_NowMs);
        }
        return !m_bStopped;
    }
    void Interrupt() override { m_bStopped = true; }
    std::int64_t UnixTime() override { return kUnixStart + m_NowMs / 1000; }

private:
    CEventJournal& m_Journal;
    std::function<void(long long)> m_PumpHook;
    long long m_NowMs = 0;
    int m_nTickPauses = 0;
    std::atomic<bool> m_bStopped{false};
};

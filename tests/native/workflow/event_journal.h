#pragma once

#include <mutex>
#include <string>
#include <vector>

// The steps the fakes saw, in order, as readable lines; shared by the threads of a test.
class CEventJournal {
public:
    void Add(std::string event)
    {
        std::lock_guard lock(m_Lock);
        m_Events.push_back(std::move(event));
    }
    std::vector<std::string> Events() const
    {
        std::lock_guard lock(m_Lock);
        return m_Events;
    }
    // Everything recorded so far, and starts afresh.
    std::vector<std::string> Take()
    {
        std::lock_guard lock(m_Lock);
        std::vector<std::string> events;
        events.swap(m_Events);
        return events;
    }
    void Clear() { Take(); }

private:
    mutable std::mutex m_Lock;
    std::vector<std::string> m_Events;
};

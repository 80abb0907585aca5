#pragma once

#include <cstdint>

// Time as the run sees it: pauses that shutdown can cut short, and the calendar.
class IRepairTime {
public:
    virtual ~IRepairTime() = default;

    // Pauses for the given milliseconds; false when the run is stopping (at once, or as soon
    // as Interrupt is called during the pause).
    virtual bool Sleep(int milliseconds) = 0;
    // Ends every pause in progress and makes every later one return false at once.
    virtual void Interrupt() = 0;
    // Whole seconds since 1970-01-01 00:00 UTC.
    virtual std::int64_t UnixTime() = 0;

protected:
    IRepairTime() = default;
    IRepairTime(const IRepairTime&) = default;
    IRepairTime& operator=(const IRepairTime&) = default;
};

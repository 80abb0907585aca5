#pragma once

// How the next output chunk is read and what the monitor does; the numbers are fixed.
enum RunMode : int {
    LocalRepair = 1,
    OnlineRepair = 2,
    Probe = 3,
    Idle = 4,
};

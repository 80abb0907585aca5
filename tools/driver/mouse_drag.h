// The mouse as a hand moves it, through the system's input queue: whatever window is under the
// pointer gets the input, in this process or another.
#pragma once

#include <windows.h>

#include <chrono>

struct DragTiming {
  std::chrono::milliseconds betweenMoves{30};
  std::chrono::milliseconds beforeRelease{50};
};

// Left button down at `from` (screen coordinates), six moves to `from` + `by` (none when `by`
// is zero: a click), a rest, button up there. A drag that starts the system's move loop in a
// window of the calling thread must come from another thread.
void DragWithTheMouse(POINT from, POINT by, DragTiming timing = {});

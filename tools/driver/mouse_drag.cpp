#include "tools/driver/mouse_drag.h"

#include <thread>

namespace {

// Absolute input runs from 0 to 65535 over the whole screen.
INPUT MouseAt(int x, int y, DWORD flags) {
  const int screenW = ::GetSystemMetrics(SM_CXSCREEN);
  const int screenH = ::GetSystemMetrics(SM_CYSCREEN);
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = (x * 65536 + screenW - 1) / screenW;
  input.mi.dy = (y * 65536 + screenH - 1) / screenH;
  input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
  return input;
}

void Send(INPUT input) { ::SendInput(1, &input, sizeof(INPUT)); }

}  // namespace

void DragWithTheMouse(POINT from, POINT by, DragTiming timing) {
  Send(MouseAt(from.x, from.y, MOUSEEVENTF_LEFTDOWN));
  constexpr int kSteps = 6;
  for (int step = 1; step <= kSteps && (by.x || by.y); ++step) {
    std::this_thread::sleep_for(timing.betweenMoves);
    Send(MouseAt(from.x + by.x * step / kSteps, from.y + by.y * step / kSteps, 0));
  }
  std::this_thread::sleep_for(timing.beforeRelease);
  Send(MouseAt(from.x + by.x, from.y + by.y, MOUSEEVENTF_LEFTUP));
}

// The operations window's drag strip, a real drag that the frame follows, and the frame that
// no longer leads once the operations window has been dragged.
#include <atomic>
#include <chrono>
#include <thread>

#include "running_program.h"
#include "tools/driver/mouse_drag.h"

using namespace std::chrono_literals;

namespace {

LRESULT HitTest(HWND hwnd, int x, int y) {
  return ::SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(x, y));
}

// The frame sits around the operations window by 5, 4, 5 and 7 pixels at 96 dots per inch.
void ExpectFrameAround(const RECT& frame, const RECT& inner) {
  EXPECT_EQ(inner.left - frame.left, 5);
  EXPECT_EQ(inner.top - frame.top, 4);
  EXPECT_EQ(frame.right - inner.right, 5);
  EXPECT_EQ(frame.bottom - inner.bottom, 7);
}

bool WaitUntilMoved(HWND hwnd, const RECT& from, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < end) {
    const RECT now = ScreenRectOf(hwnd);
    if (now.left != from.left || now.top != from.top) return true;
    std::this_thread::sleep_for(50ms);
  }
  return false;
}

}  // namespace

TEST_F(RunningProgram, DragStripFrameFollowsTheDragAndThenNoLongerLeads) {
  HWND main = nullptr, operations = nullptr;
  ASSERT_NO_FATAL_FAILURE(OpenOperationsWindow(main, operations));
  ::SetCursorPos(0, 0);  // away from both windows, so no hover asks for hit tests meanwhile
  std::this_thread::sleep_for(500ms);

  const RECT inner = ScreenRectOf(operations);
  // Top 50 pixels, without the right-most 86 where the minimise and close buttons sit.
  struct Case {
    int x, y;
    bool drags;
  } const cases[] = {
      {inner.left + 1, inner.top + 1, true},       {inner.left + 200, inner.top + 25, true},
      {inner.right - 87, inner.top + 49, true},    {inner.right - 86, inner.top + 10, false},
      {inner.right - 20, inner.top + 15, false},   {inner.left + 200, inner.top + 50, false},
      {inner.left + 10, inner.top + 300, false},
  };
  for (const Case& c : cases) {
    const LRESULT hit = HitTest(operations, c.x, c.y);
    EXPECT_EQ(hit == HTCAPTION, c.drags) << "at " << c.x - inner.left << ", " << c.y - inner.top << " answered " << hit;
  }

  // Before any drag the frame leads: moving it carries the operations window along.
  RECT frame = ScreenRectOf(main);
  ::SetWindowPos(main, nullptr, frame.left - 40, frame.top - 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ASSERT_TRUE(WaitUntilMoved(operations, inner, 3s)) << "the operations window did not follow the frame";
  frame = ScreenRectOf(main);
  RECT before = ScreenRectOf(operations);
  ExpectFrameAround(frame, before);

  // A real drag in the strip moves the operations window; the frame follows it.
  ::SetForegroundWindow(main);
  std::this_thread::sleep_for(300ms);
  const POINT by{60, 40};
  const POINT from{before.left + 150, before.top + 20};
  ::SetCursorPos(from.x, from.y);
  std::this_thread::sleep_for(100ms);
  DragWithTheMouse(from, by, DragTiming{50ms, 100ms});
  if (!WaitUntilMoved(operations, before, 3s)) GTEST_SKIP() << "no synthetic mouse drag on this display";
  std::this_thread::sleep_for(500ms);
  RECT dragged = ScreenRectOf(operations);
  EXPECT_EQ(dragged.left - before.left, by.x);
  EXPECT_EQ(dragged.top - before.top, by.y);
  EXPECT_EQ(dragged.right - dragged.left, 400);
  EXPECT_EQ(dragged.bottom - dragged.top, 600);
  frame = ScreenRectOf(main);
  ExpectFrameAround(frame, dragged);

  // From now on the frame no longer leads: moved alone, it leaves the operations window.
  ::SetWindowPos(main, nullptr, frame.left + 30, frame.top + 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  std::this_thread::sleep_for(800ms);
  EXPECT_EQ(ScreenRectOf(main).left, frame.left + 30);
  const RECT after = ScreenRectOf(operations);
  EXPECT_EQ(after.left, dragged.left);
  EXPECT_EQ(after.top, dragged.top);

  ::PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForExit(15000), 0u);
}

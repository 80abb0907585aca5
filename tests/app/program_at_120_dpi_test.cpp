// At 120 dots per inch every size of the frame, the operations window and its start button
// follows from s = 1.2, formed the way the program forms it: a float factor, sums in double.
#include <chrono>
#include <cstdlib>
#include <thread>

#include "running_program.h"

using namespace std::chrono_literals;

namespace {

class ProgramAt120Dpi : public ProgramAtDpi {
 protected:
  ProgramAt120Dpi() : ProgramAtDpi(120) {}
};

int Trunc(double value) { return static_cast<int>(value); }

}  // namespace

TEST_F(ProgramAt120Dpi, FrameOperationsWindowAndStartButtonScale) {
  const double s = double{static_cast<float>(120 / 100.0)};
  const int frameW = Trunc(s * 410);
  const int frameH = Trunc(s * 611);
  const int createdW = Trunc(frameW - 10 * s);
  // The centring move brings the operations window to the follow margins.
  const int innerW = frameW - Trunc(5 * s) - Trunc(5 * s);
  const int innerH = frameH - Trunc(4 * s) - Trunc(7 * s);
  ASSERT_EQ(frameW, 492);
  ASSERT_EQ(frameH, 733);

  ASSERT_TRUE(Launch(BinFolder()));
  HWND main = nullptr, operations = nullptr;
  ASSERT_NO_FATAL_FAILURE(OpenOperationsWindow(main, operations));
  std::this_thread::sleep_for(500ms);
  if (const char* pause = std::getenv("ZSR_APP_TEST_PAUSE_MS")) std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(pause)));

  const RECT frame = ScreenRectOf(main);
  const RECT inner = ScreenRectOf(operations);
  EXPECT_EQ(frame.right - frame.left, frameW);
  EXPECT_EQ(frame.bottom - frame.top, frameH);
  EXPECT_NEAR(frame.left + frameW / 2, ::GetSystemMetrics(SM_CXSCREEN) / 2, 1);
  EXPECT_EQ(inner.left - frame.left, Trunc(5 * s));
  EXPECT_EQ(inner.top - frame.top, Trunc(4 * s));
  EXPECT_EQ(inner.right - inner.left, innerW);
  EXPECT_EQ(inner.bottom - inner.top, innerH);

  // Laid out once, on the created client, wider than 400: the scaled rule.
  ASSERT_GT(createdW, 400);
  const float f = static_cast<float>(s);
  const RECT start = ScreenRectOf(::GetDlgItem(operations, 1004));
  EXPECT_EQ(start.left - inner.left, static_cast<int>(400 * f / 2 - 259 * f / 2));
  EXPECT_EQ(start.top - inner.top, static_cast<int>(600 * f / 2 - 80 * f));
  EXPECT_EQ(start.right - start.left, static_cast<int>(259 * f));
  EXPECT_EQ(start.bottom - start.top, static_cast<int>(85 * f));
  // The close button and the feedback link stand against the created client's right edge.
  const RECT close = ScreenRectOf(::GetDlgItem(operations, 1002));
  EXPECT_EQ(close.left - inner.left, static_cast<int>(createdW - 31.2f));
  const RECT feedback = ScreenRectOf(::GetDlgItem(operations, 1008));
  EXPECT_EQ(feedback.right - inner.left, createdW - 6);

  ::PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForExit(15000), 0u);
}

// The wait for the system's servicing process before DISM: six idle samples of the process
// that belongs to the Windows version, five seconds apart; busy samples only lengthen it.
#include <regex>
#include <thread>

#include "program_scenario.h"

namespace e2e {
namespace {

// A full processor for 18 s from its start covers the first three samples of the wait.
constexpr char kBusyThenIdle[] = "busy 100 18000\nidle 600000\n";
// With every sample idle DISM follows the probe window after 6 x 1 s + 5 x 5 s + 10 s.
constexpr double kIdleWaitSeconds = 6 + 25 + 10;

class ServicingWait : public ProgramScenario {
 protected:
  void SetUp() override {
    ProgramScenario::SetUp();
    Play(L"sfc", "pause 1000\nwrite sfc-zh-no-violations.bin\n");
    Play(L"dism", kDismSucceeds);
  }

  void StartTheRun() {
    ASSERT_NO_FATAL_FAILURE(Launch());
    HWND operations = OpenOperationsWindow();
    ASSERT_TRUE(operations);
    ASSERT_TRUE(StartRepair(operations));
  }
};

TEST_F(ServicingWait, BusyTiWorkerDelaysDismUntilSixIdleSamples) {
  Play(L"tiworker", kBusyThenIdle);
  ASSERT_NO_FATAL_FAILURE(StartTheRun());
  const auto transition = AwaitCall(kProbeCall, 2, 20s);
  ASSERT_TRUE(transition) << m_scenario.Calls();
  StartServicing(L"TiWorker.exe");
  const auto dism = AwaitCall(kDismCall, 1, 100s);
  ASSERT_TRUE(dism) << m_scenario.Calls();
  // The busy samples (three, or two when the third comes late) each add a sample and a pause.
  EXPECT_GE(SecondsBetween(*transition, *dism), 2 + kIdleWaitSeconds + 2 * 6);

  // Closing the tool while DISM works ends DISM with it.
  HWND main = User().MainWindow(1s);
  ASSERT_TRUE(main);
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(AwaitExit(10s), 0u);
  EXPECT_TRUE(AwaitFolderRemoved(15s));
  ExpectNothingLeftRunning();
}

// The prefix's own version is Windows 7: the success is told as soon as sfc has finished, and
// the online phase goes on without a popup, waiting for TrustedInstaller.exe.
TEST_F(ServicingWait, WindowsSevenReportsSuccessEarlyThenWatchesTrustedInstaller) {
  ReportWindowsVersion(L"");
  Play(L"trustedinstaller", kBusyThenIdle);
  Play(L"tiworker", "idle 600000\n");
  StartServicing(L"TiWorker.exe");
  ASSERT_NO_FATAL_FAILURE(StartTheRun());

  HWND early = AwaitPrompt(kSucceeded, 20s);
  ASSERT_TRUE(early);
  EXPECT_FALSE(User().ProgressPopup(std::chrono::milliseconds(0))) << "the popup must end before the success prompt";
  EXPECT_EQ(CountOf(kProbeCall), 1) << "the second probe waits for the prompt";
  StartServicing(L"TrustedInstaller.exe");
  Confirm(early);
  const auto confirmed = Clock::now();

  const auto dism = AwaitCall(kDismCall, 1, 100s);
  ASSERT_TRUE(dism) << m_scenario.Calls();
  // Busy TrustedInstaller samples lengthen the wait; an idle TiWorker would not have.
  EXPECT_GE(SecondsBetween(confirmed, *dism), 2 + kIdleWaitSeconds + 2 * 6);
  // Both windows take input meanwhile; DISM's 100.0 tells the success once more.
  HWND second = AwaitPrompt(kSucceeded, 30s);
  ASSERT_TRUE(second);
  Confirm(second);
  EXPECT_EQ(AwaitFeedback(std::regex("\nCustomerFeedbackEx 10027 1\\.0\\.4 1 [0-9]+(?=\n)"), 2, 10s), 2)
      << FeedbackJournal();

  HWND operations = User().OperationsWindow(1s);
  ASSERT_TRUE(operations);
  ASSERT_TRUE(User().Click(operations, IDC_OP_CLOSE));
  EXPECT_FALSE(User().ProblemSolvedWindow(2s));
  EXPECT_EQ(AwaitExit(10s), 0u);
  EXPECT_TRUE(AwaitFolderRemoved(15s));
  ExpectNothingLeftRunning();
}

}  // namespace
}  // namespace e2e

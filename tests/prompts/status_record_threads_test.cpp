// The status record under the run's real pattern: several writer threads replacing the
// percent and both texts while the open progress popup reads and draws them.
#include <windows.h>
#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "popup_test_support.h"
#include "popups/execute_prompt_dlg.h"
#include "workflow/repair_status.h"

namespace {

const std::wstring kTexts[] = {L"正在进行本地修复,请稍等", L"正在进行联网修复,请稍等,这一步需要连接网络", L""};

bool IsWholeStatusText(const std::wstring& text) {
  for (const std::wstring& known : kTexts) {
    if (text == known) return true;
  }
  return false;
}

bool IsWholePercentText(const std::wstring& text, int* value = nullptr) {
  if (text.size() < 2 || text.size() > 4 || text.back() != L'%') return false;
  int n = 0;
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] < L'0' || text[i] > L'9') return false;
    n = n * 10 + (text[i] - L'0');
  }
  if (value) *value = n;
  return n <= 100;
}

}  // namespace

TEST(StatusRecordThreads, WritersAndThePopupsReadPathNeverSeeTornTexts) {
  constexpr int kWriters = 3;
  constexpr DWORD kRunMs = 1600;  // three refresh ticks and a few status line repaints
  using CTestProgress = CRunningDlg<CExecutePromptDlg>;
  CTestProgress popup;
  std::atomic<bool> stop{false};
  std::atomic<long> updates{0};
  int reads = 0, torn = 0, snapshotChanged = 0, draws = 0;
  popup.m_onRunning = [&] {
    std::vector<std::thread> writers;
    for (int w = 0; w < kWriters; ++w) {
      writers.emplace_back([w, &stop, &updates] {
        for (int i = 0; !stop; ++i) {
          const int percent = (i * 7 + w) % 101;
          RepairStatus().SetProgressPercent(percent);
          RepairStatus().SetPercentText(percent);
          RepairStatus().SetStatusText(kTexts[(i + w) % 3]);
          ++updates;
          if (i % 500 == 0) std::this_thread::yield();
        }
      });
    }
    const HWND inner = popup.ChildDlg()->m_hWnd;
    CDrawStateInfoStatic& status = popup.ChildDlg()->m_stcStatus;
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < kRunMs) {
      // A snapshot stays what it was while the writers replace the record's text.
      const CRepairStatus::Text held = RepairStatus().PercentText();
      const std::wstring copy = held ? *held : std::wstring();
      PrintClient(inner, RGB(255, 0, 255));  // the erase's read and draw path
      ++draws;
      PumpFor(10);                   // refresh ticks and status line repaints
      if (held && *held != copy) ++snapshotChanged;
      const CRepairStatus::Text percent = RepairStatus().PercentText();
      const CRepairStatus::Text line = RepairStatus().StatusText();
      ++reads;
      if ((percent && !IsWholePercentText(*percent)) || !line || !IsWholeStatusText(*line)) ++torn;
      if (!IsWholeStatusText(status.GetText())) ++torn;
    }
    stop = true;
    for (std::thread& t : writers) t.join();
    popup.EndProgress();
  };
  EXPECT_EQ(popup.DoModal(), IDOK);
  EXPECT_GT(updates.load(), 10000);
  EXPECT_GT(reads, 0);
  EXPECT_GT(draws, 0);
  EXPECT_EQ(torn, 0);
  EXPECT_EQ(snapshotChanged, 0);
}

TEST(StatusRecordThreads, SnapshotsSurviveManyReplacementsWithoutTheUi) {
  constexpr int kUpdates = 20000;
  std::atomic<bool> stop{false};
  RepairStatus().SetPercentText(0);
  std::thread writer([&] {
    for (int i = 0; i < kUpdates; ++i) {
      RepairStatus().SetPercentText(i % 101);
      RepairStatus().SetStatusText(kTexts[i % 3]);
    }
    stop = true;
  });
  int checked = 0, bad = 0;
  while (!stop) {
    const CRepairStatus::Text percent = RepairStatus().PercentText();
    const CRepairStatus::Text line = RepairStatus().StatusText();
    int value = -1;
    if (!percent || !IsWholePercentText(*percent, &value) || !line || !IsWholeStatusText(*line)) ++bad;
    ++checked;
  }
  writer.join();
  EXPECT_GT(checked, 0);
  EXPECT_EQ(bad, 0);
  EXPECT_EQ(*RepairStatus().PercentText(), std::to_wstring((kUpdates - 1) % 101) + L"%");
}

// The progress popup under a real modal loop: the bar and the percent text on real pixels,
// repaint economy, the status line's refresh, and how the run ends it.
#include <windows.h>
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

#include "popup_test_support.h"
#include "popups/execute_prompt_dlg.h"
#include "workflow/repair_status.h"

namespace {

// Counts the panel's background erases; can point the bar at missing pictures.
class CCountingProgressChild : public CExecutePromptChildDlg {
 public:
  CCountingProgressChild(UINT backgroundId, UINT trackId, UINT fillId) {
    m_nBackgroundId = backgroundId;
    m_nTrackId = trackId;
    m_nFillId = fillId;
  }
  int m_nErases = 0;

 protected:
  BOOL OnEraseBkgnd(HDC hdc) override {
    ++m_nErases;
    return CExecutePromptChildDlg::OnEraseBkgnd(hdc);
  }
};

class CTestProgressDlg : public CRunningDlg<CExecutePromptDlg> {
 public:
  using CRunningDlg::CRunningDlg;
  UINT m_nBackgroundId = 149, m_nTrackId = 201, m_nFillId = 202;
  CCountingProgressChild* Child() const { return static_cast<CCountingProgressChild*>(m_pInnerDlg.get()); }

 protected:
  std::unique_ptr<CLayeredInnerDlg> NewInnerDlg() override {
    return std::make_unique<CCountingProgressChild>(m_nBackgroundId, m_nTrackId, m_nFillId);
  }
};

constexpr COLORREF kMarker = RGB(255, 0, 255);

// Columns of the bar rows where two renderings differ, as [first, last]; {-1, -1} when none.
std::pair<int, int> DifferingBarColumns(const CPixels& a, const CPixels& b, int barTop) {
  std::pair<int, int> range{-1, -1};
  for (int x = 0; x < a.width; ++x) {
    for (int y = barTop; y < barTop + CExecutePromptChildDlg::kBarHeight; ++y) {
      if (a.At(x, y) != b.At(x, y)) {
        if (range.first < 0) range.first = x;
        range.second = x;
        break;
      }
    }
  }
  return range;
}

void CALLBACK CloseOnTimer(HWND hWnd, UINT, UINT_PTR, DWORD) { ::PostMessageW(hWnd, WM_CLOSE, 0, 0); }

CPixels RenderAtPercent(HWND inner, int percent) {
  RepairStatus().SetProgressPercent(percent);
  return PrintClient(inner, kMarker);
}

}  // namespace

class ProgressPopup : public ::testing::Test {
 protected:
  void SetUp() override {
    RepairStatus().SetProgressPercent(0);
    RepairStatus().SetPercentText(7);
    RepairStatus().SetStatusText(L"正在进行本地修复,请稍等");
  }
};

TEST_F(ProgressPopup, BarFillGrowsTwoPixelsPerPercentUpToTheTrackWidth) {
  struct Case {
    int percent, width;
  };
  const Case cases[] = {{0, 0}, {1, 2}, {50, 100}, {95, 190}, {96, 191}, {100, 191}, {130, 191}};
  CTestProgressDlg dlg;
  dlg.m_onRunning = [&] {
    auto& d = dlg;
    const HWND inner = d.Child()->m_hWnd;
    const RECT client = WindowRectOf(inner);
    const int barTop = (client.bottom - client.top) - CExecutePromptChildDlg::kBarBottomOffset;
    const CPixels trackOnly = RenderAtPercent(inner, 0);
    for (const Case& c : cases) {
      const CPixels shown = RenderAtPercent(inner, c.percent);
      const auto columns = DifferingBarColumns(trackOnly, shown, barTop);
      const int width = columns.first < 0 ? 0 : columns.second - columns.first + 1;
      EXPECT_EQ(width, c.width) << c.percent << "%";
      if (c.width > 0) {
        EXPECT_EQ(columns.first, 30) << c.percent << "%: the fill starts at the track left";
      }
    }
    d.EndProgress();
  };
  EXPECT_EQ(dlg.DoModal(), IDOK);
}

TEST_F(ProgressPopup, PercentTextIsDrawnInBlackOnTheBarFromX117) {
  CTestProgressDlg dlg;
  dlg.m_onRunning = [&] {
    auto& d = dlg;
    const HWND inner = d.Child()->m_hWnd;
    const int barTop = WindowRectOf(inner).bottom - WindowRectOf(inner).top - CExecutePromptChildDlg::kBarBottomOffset;
    for (int percent : {0, 100}) {
      RepairStatus().SetPercentText(7);
      const CPixels short_ = RenderAtPercent(inner, percent);
      RepairStatus().SetPercentText(88);
      const CPixels longer = RenderAtPercent(inner, percent);
      const auto columns = DifferingBarColumns(short_, longer, barTop);
      ASSERT_GE(columns.first, 0) << "the percent text shows";
      EXPECT_GE(columns.first, 117);
      EXPECT_LT(columns.second, 117 + 30);
      // Near-black ink among the text's pixels.
      int darkest = 255 * 3;
      for (int x = columns.first; x <= columns.second; ++x) {
        for (int y = barTop; y < barTop + 9; ++y) {
          const COLORREF c = longer.At(x, y);
          darkest = std::min(darkest, GetRValue(c) + GetGValue(c) + GetBValue(c));
        }
      }
      EXPECT_LT(darkest, 3 * 60) << percent << "%";
    }
    d.EndProgress();
  };
  EXPECT_EQ(dlg.DoModal(), IDOK);
}

TEST_F(ProgressPopup, FrameAndPanelKeepTheirPixelSizes) {
  CTestProgressDlg dlg;
  RECT outer{}, inner{};
  dlg.m_onRunning = [&] {
    auto& d = dlg;
    outer = WindowRectOf(d.m_hWnd);
    inner = WindowRectOf(d.Child()->m_hWnd);
    d.EndProgress();
  };
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(outer.right - outer.left, 278);
  EXPECT_EQ(outer.bottom - outer.top, 158);
  EXPECT_EQ(inner.left - outer.left, 16);
  EXPECT_EQ(inner.top - outer.top, 14);
  EXPECT_EQ(inner.right - inner.left, 246);
  EXPECT_EQ(inner.bottom - inner.top, 125);
  // Centred in the work area: there is no owner here.
  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_NEAR((outer.left + outer.right) / 2, (work.left + work.right) / 2, 1);
  EXPECT_NEAR((outer.top + outer.bottom) / 2, (work.top + work.bottom) / 2, 1);
}

TEST_F(ProgressPopup, RepaintsTheBarOnlyWhenThePercentChanged) {
  CTestProgressDlg dlg;
  int erasesWhileSame = -1, erasesAfterChange = -1;
  dlg.m_onRunning = [&] {
    auto& d = dlg;
    RepairStatus().SetProgressPercent(40);
    PumpFor(700);  // the first paints and the tick that sees 40
    d.Child()->m_nErases = 0;
    PumpFor(1700);  // three ticks with the same percent, status line repaints meanwhile
    erasesWhileSame = d.Child()->m_nErases;
    RepairStatus().SetProgressPercent(41);
    PumpUntil([&] { return d.Child()->m_nErases > 0; }, 700);
    erasesAfterChange = d.Child()->m_nErases;
    d.EndProgress();
  };
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(erasesWhileSame, 0);
  EXPECT_EQ(erasesAfterChange, 1);
}

TEST_F(ProgressPopup, ChangedStatusTextReachesTheScreenWithinTheRepaintPeriod) {
  CTestProgressDlg dlg;
  DWORD takenOver = 0, shown = 0;
  bool sawChange = false;
  dlg.m_onRunning = [&] {
    auto& d = dlg;
    CDrawStateInfoStatic& status = d.Child()->m_stcStatus;
    PumpUntil([&] { return status.GetText() == L"正在进行本地修复,请稍等"; }, 1500);
    PumpFor(700);
    const RECT area = WindowRectOf(status.m_hWnd);
    const CPixels before = CaptureScreen(area);

    const DWORD written = ::GetTickCount();
    RepairStatus().SetStatusText(L"正在进行联网修复,请稍等");
    PumpUntil([&] { return status.GetText() == L"正在进行联网修复,请稍等"; }, 1000);
    takenOver = ::GetTickCount() - written;
    const DWORD start = ::GetTickCount();
    sawChange = PumpUntil([&] { return !(CaptureScreen(area) == before); }, 1500);
    shown = ::GetTickCount() - start;
    d.EndProgress();
  };
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_LE(takenOver, 600u) << "the refresh timer takes the record's text over";
  ASSERT_TRUE(sawChange);
  EXPECT_LE(shown, 700u) << "the status line repaints itself every 600 ms";
}

TEST_F(ProgressPopup, EndProgressFromAWorkerThreadEndsTheModalRunWithOk) {
  CTestProgressDlg dlg;
  std::thread worker;
  std::atomic<LRESULT> sent{-1};
  dlg.m_onRunning = [&] {
    auto& d = dlg;
    const HWND target = d.EndTarget();
    EXPECT_EQ(target, d.m_hWnd);
    worker = std::thread([&sent, target] { sent = ::SendMessageW(target, WM_END_PROGRESS, 0, 0); });
  };
  const INT_PTR result = dlg.DoModal();
  worker.join();
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(sent.load(), 0);
  EXPECT_EQ(dlg.EndTarget(), nullptr);
}

// Keys and close requests that would end an ordinary dialog: none of them may end the
// popup while the run goes on.
TEST_F(ProgressPopup, OnlyTheRunEndsThePopup) {
  CTestProgressDlg dlg;
  std::thread worker;
  std::atomic<bool> stillOpen{false};
  dlg.m_onRunning = [&] {
    const HWND outer = dlg.m_hWnd;
    const HWND inner = dlg.m_pInnerDlg->m_hWnd;
    worker = std::thread([&stillOpen, outer, inner] {
      for (HWND target : {outer, inner}) {
        for (WPARAM key : {WPARAM{VK_ESCAPE}, WPARAM{VK_RETURN}}) {
          ::PostMessageW(target, WM_KEYDOWN, key, 0);
          ::PostMessageW(target, WM_KEYUP, key, 0);
        }
        ::PostMessageW(target, WM_COMMAND, IDCANCEL, 0);
        ::PostMessageW(target, WM_COMMAND, IDOK, 0);
      }
      ::PostMessageW(outer, WM_CLOSE, 0, 0);
      ::Sleep(400);
      stillOpen = ::IsWindow(outer) && ::IsWindowVisible(outer) && ::IsWindowVisible(inner);
      ::SendMessageW(outer, WM_END_PROGRESS, 0, 0);
    });
  };
  const INT_PTR result = dlg.DoModal();
  worker.join();
  EXPECT_TRUE(stillOpen.load()) << "Enter, Escape, IDOK, IDCANCEL or WM_CLOSE ended or hid the popup";
  EXPECT_EQ(result, IDOK);
}

TEST_F(ProgressPopup, EndAfterTheWindowIsGoneDoesNothing) {
  CTestProgressDlg dlg;
  HWND old = nullptr;
  dlg.m_onRunning = [&] {
    auto& d = dlg;
    old = d.m_hWnd;
    d.SendMessage(WM_END_PROGRESS);
  };
  EXPECT_EQ(dlg.DoModal(), IDOK);
  ASSERT_FALSE(::IsWindow(old));
  std::thread late([&] {
    dlg.EndProgress();
    ::SendMessageW(old, WM_END_PROGRESS, 0, 0);
  });
  late.join();
  EXPECT_EQ(dlg.EndTarget(), nullptr);
}

TEST_F(ProgressPopup, EndRequestedBeforeTheWindowOpensEndsItOnceOpen) {
  CTestProgressDlg dlg;
  dlg.EndProgress();
  dlg.m_onRunning = [&] {
    auto& d = dlg;
    // A popup that stayed open would be closed here, with the other result.
    ::SetTimer(d.m_hWnd, 99, 3000, &CloseOnTimer);
  };
  const DWORD start = ::GetTickCount();
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_LT(::GetTickCount() - start, 2500u);
}

TEST_F(ProgressPopup, MissingBarPicturesLeaveThePanelUnpainted) {
  struct Case {
    UINT background, track, fill;
  };
  for (const Case c : {Case{149, 0, 202}, Case{149, 201, 0}, Case{0, 201, 202}, Case{60000, 201, 202}}) {
    CTestProgressDlg dlg;
    dlg.m_nBackgroundId = c.background;
    dlg.m_nTrackId = c.track;
    dlg.m_nFillId = c.fill;
    bool untouched = false, statusRuns = false;
    dlg.m_onRunning = [&] {
    auto& d = dlg;
      RepairStatus().SetProgressPercent(60);
      PumpFor(700);  // ticks, an erase and a status repaint with a picture missing
      const CPixels shown = PrintClient(d.Child()->m_hWnd, kMarker);
      untouched = !shown.bgra.empty();
      for (std::uint32_t p : shown.bgra) untouched = untouched && p == 0xFF00FF;
      statusRuns = d.Child()->m_stcStatus.IsAnimating();
      d.EndProgress();
    };
    EXPECT_EQ(dlg.DoModal(), IDOK) << c.background << " " << c.track << " " << c.fill;
    EXPECT_TRUE(untouched) << c.background << " " << c.track << " " << c.fill;
    EXPECT_TRUE(statusRuns);
  }
}

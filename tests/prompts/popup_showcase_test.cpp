// Not a check: puts each popup on the screen and saves what the screen shows, for a person
// to look at. Run by hand:
//   prompts_tests.exe --gtest_also_run_disabled_tests --gtest_filter=*Showcase*
// Pictures go to %ZSR_SHOT_DIR% (default Z:\tmp) as popup_*.bmp.
#include <windows.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "popup_test_support.h"
#include "popups/execute_prompt_dlg.h"
#include "popups/prompt_dlg.h"
#include "workflow/repair_status.h"

namespace {

std::wstring ShotPath(const std::wstring& name) {
  wchar_t dir[MAX_PATH] = L"Z:\\tmp";
  ::GetEnvironmentVariableW(L"ZSR_SHOT_DIR", dir, MAX_PATH);
  return std::wstring(dir) + L"\\popup_" + name + L".bmp";
}

void SaveBmp(const CPixels& pixels, const std::wstring& path) {
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  info.biSize = sizeof(info);
  info.biWidth = pixels.width;
  info.biHeight = -pixels.height;
  info.biPlanes = 1;
  info.biBitCount = 32;
  const DWORD bytes = static_cast<DWORD>(pixels.bgra.size() * 4);
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = file.bfOffBits + bytes;
  std::ofstream out(std::filesystem::path(path), std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof(file));
  out.write(reinterpret_cast<const char*>(&info), sizeof(info));
  out.write(reinterpret_cast<const char*>(pixels.bgra.data()), bytes);
}

void SaveAround(HWND hWnd, const std::wstring& name) {
  RECT r = WindowRectOf(hWnd);
  ::InflateRect(&r, 20, 20);
  SaveBmp(CaptureScreen(r), ShotPath(name));
}

class CBackdrop : public CWnd {
 public:
  bool Open() { return CreateEx(0, nullptr, L"backdrop", WS_POPUP | WS_VISIBLE, RECT{100, 60, 900, 660}, nullptr, 0); }
  BOOL OnEraseBkgnd(HDC hdc) override {
    RECT client = GetClientRect();
    HBRUSH brush = ::CreateSolidBrush(RGB(200, 210, 220));
    ::FillRect(hdc, &client, brush);
    ::DeleteObject(brush);
    return TRUE;
  }
};

}  // namespace

TEST(PopupShowcase, DISABLED_SavesEachPopupAsShown) {
  CBackdrop backdrop;
  ASSERT_TRUE(backdrop.Open());
  for (int percent : {0, 50, 100}) {
    RepairStatus().SetProgressPercent(percent);
    RepairStatus().SetPercentText(percent);
    RepairStatus().SetStatusText(percent == 100 ? L"正在进行联网修复,请稍等" : L"正在进行本地修复,请稍等");
    CRunningDlg<CExecutePromptDlg> popup(&backdrop);
    popup.m_onRunning = [&] {
      PumpFor(1500);
      SaveAround(popup.m_hWnd, L"progress_" + std::to_wstring(percent));
      popup.EndProgress();
    };
    popup.DoModal();
  }
  const wchar_t* texts[] = {L"", L"问题是否已经解决?", L"是否继续联网修复?", L"本地修复完成,系统文件已修复。",
                            L"联网修复失败,请检查网络连接后重试。"};
  for (int type = 1; type <= 4; ++type) {
    for (float scale : {1.0f, 1.2f}) {
      CRunningDlg<CPromptDlg> prompt(&backdrop);
      prompt.SetType(type);
      prompt.SetText(texts[type]);
      prompt.m_fScale = scale;
      prompt.m_onRunning = [&] {
        PumpFor(600);
        SaveAround(prompt.m_hWnd, L"prompt_type" + std::to_wstring(type) + (scale > 1.0f ? L"_120" : L"_100"));
        prompt.EndDialog(IDOK);
      };
      prompt.DoModal();
    }
  }
  {
    // A worker's prompt over the open progress popup, as an outcome shows it.
    RepairStatus().SetProgressPercent(50);
    RepairStatus().SetPercentText(50);
    CRunningDlg<CExecutePromptDlg> popup(&backdrop);
    popup.m_onRunning = [&] {
      CPromptDlg prompt;
      prompt.SetType(3);
      prompt.SetText(L"联网修复失败,请检查网络连接后重试。");
      std::thread worker([&] { prompt.DoModal(); });
      PumpFor(1500);
      SaveBmp(CaptureScreen(WindowRectOf(backdrop.m_hWnd)), ShotPath(L"worker_prompt_over_progress"));
      prompt.Dismiss();
      worker.join();
      popup.EndProgress();
    };
    popup.DoModal();
  }
  std::wstring longText;
  for (int i = 0; i < 30; ++i) longText += L"系统文件修复 repair ";
  CRunningDlg<CPromptDlg> prompt(&backdrop);
  prompt.SetType(3);
  prompt.SetText(longText);
  prompt.m_onRunning = [&] {
    PumpFor(600);
    SaveAround(prompt.m_hWnd, L"prompt_long");
    prompt.EndDialog(IDOK);
  };
  prompt.DoModal();
}

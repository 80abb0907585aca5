// Not a check: three pairs with their skinned controls held on the screen for a while, for
// looking at them (run with --gtest_also_run_disabled_tests and take a screenshot).
#include <windows.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "framework/client_dc.h"
#include "framework/gdi_object.h"
#include "framework/memory_dc.h"
#include "framework/select_object.h"
#include "popups/layered_inner_dlg.h"
#include "popups/layered_outer_dlg.h"
#include "res/resource.h"
#include "skin/draw_state_info_static.h"
#include "skin/draw_text_static.h"
#include "skin/gdi_png_button.h"
#include "skin/png_button.h"

namespace {

class CShowcaseInner : public CLayeredInnerDlg {
 public:
  using CLayeredInnerDlg::CLayeredInnerDlg;
  std::vector<std::pair<int, CWnd*>> m_bindings;
  std::function<void(CShowcaseInner&)> m_layout;
  void LayoutControls() override {
    if (m_layout) m_layout(*this);
  }

 protected:
  void DoDataExchange() override {
    for (auto& [id, control] : m_bindings) BindControl(id, *control);
  }
};

class CShowcaseOuter : public CLayeredOuterDlg {
 public:
  CShowcaseOuter(UINT outer, UINT inner, ELayeredPair pair, UINT background, float scale)
      : CLayeredOuterDlg(outer, LayoutOf(pair), scale),
        m_nInner(inner),
        m_nBackground(background),
        m_bInnerLeads(pair == ELayeredPair::StartPage) {}
  std::function<void(CShowcaseInner&)> m_setUp;

 protected:
  std::unique_ptr<CLayeredInnerDlg> NewInnerDlg() override {
    auto inner = std::make_unique<CShowcaseInner>(m_nInner, m_layout, m_nBackground, m_bInnerLeads);
    if (m_setUp) m_setUp(*inner);
    return inner;
  }
  UINT m_nInner, m_nBackground;
  BOOL m_bInnerLeads;
};

// The screen as the program's side sees it, as a 24-bit BMP (an X11 screenshot of windows
// of different depths can come out black).
void SaveScreen(const char* path) {
  const int width = ::GetSystemMetrics(SM_CXSCREEN), height = ::GetSystemMetrics(SM_CYSCREEN);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB};
  void* bits = nullptr;
  CClientDC screen(nullptr);
  CBitmap section(::CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  CMemoryDC memory(screen.Get());
  {
    CSelectObject selection(memory.Get(), section.Get());
    ::BitBlt(memory.Get(), 0, 0, width, height, screen.Get(), 0, 0, SRCCOPY);
  }
  ::GdiFlush();
  const DWORD stride = ((width * 3 + 3) / 4) * 4, size = stride * height;
  BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + size), 0, 0,
                        sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
  if (FILE* out = std::fopen(path, "wb")) {
    std::fwrite(&file, sizeof(file), 1, out);
    std::fwrite(&info.bmiHeader, sizeof(info.bmiHeader), 1, out);
    std::fwrite(bits, 1, size, out);
    std::fclose(out);
  }
}

// A light desktop to see the shadows against.
class CBackdrop : public CWnd {
 protected:
  BOOL OnEraseBkgnd(HDC hdc) override {
    RECT client = GetClientRect();
    CBrush brush(::CreateSolidBrush(RGB(236, 238, 242)));
    ::FillRect(hdc, &client, brush.Get());
    return TRUE;
  }
};

}  // namespace

TEST(PairShowcase, DISABLED_HoldOnScreen) {
  CBackdrop backdrop;
  backdrop.CreateEx(0, nullptr, L"backdrop", WS_POPUP | WS_VISIBLE, RECT{0, 0, 1600, 1000}, nullptr, 0);
  CPngButton close, ok, cancel;
  CDrawTextStatic text;
  CShowcaseOuter prompt(IDD_PROMPT_OUTER, IDD_PROMPT_INNER, ELayeredPair::Prompt, 155, 1.0f);
  prompt.m_setUp = [&](CShowcaseInner& inner) {
    inner.m_bindings = {{IDC_PROMPT_CLOSE, &close}, {IDC_PROMPT_OK, &ok}, {IDC_PROMPT_CANCEL, &cancel},
                        {IDC_PROMPT_TEXT, &text}};
    inner.m_layout = [&](CShowcaseInner&) {
      close.SetImages(159, 160, 161, 161);
      ok.SetImages(165, 166, 167, 167);
      cancel.SetImages(156, 157, 158, 158);
      for (CPngButton* b : {&close, &ok, &cancel}) b->SetStretch(TRUE);
      close.MoveWindow(300, 9, 12, 12);
      ok.MoveWindow(95, 100, 55, 24);
      cancel.MoveWindow(170, 100, 55, 24);
      text.SetWindowText(L"\u7CFB\u7EDF\u6587\u4EF6\u4FEE\u590D\u5DF2\u5B8C\u6210\u3002");  // 系统文件修复已完成。
      text.MoveWindow(20, 45, 280, 40);
      text.InitFont();
    };
  };
  ASSERT_TRUE(prompt.Create(static_cast<CWnd*>(nullptr)));
  prompt.SetWindowPos(HWND_TOP, 1150, 60, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);

  CGDIPngButton run, closeStart;
  CDrawTextStatic link;
  CShowcaseOuter start(IDD_START_OUTER, IDD_START_INNER, ELayeredPair::StartPage, 132, 1.0f);
  start.m_setUp = [&](CShowcaseInner& inner) {
    inner.m_bindings = {{IDC_START_RUN, &run}, {IDC_START_CLOSE, &closeStart}, {IDC_START_LINK, &link}};
    inner.m_layout = [&](CShowcaseInner&) {
      run.SetImages(137, 138, 139, 140);
      closeStart.SetImages(133, 134, 135, 136);
      run.MoveWindow(170, 300, 260, 69);
      closeStart.MoveWindow(574, 0, 26, 34);
      link.InitFont();
      link.SetAlignment(1);
      link.SetBackColor(RGB(241, 242, 246));
      link.SetForeColors(RGB(92, 92, 255), RGB(0, 0, 255));
      link.MoveWindow(60, 420, 200, 18);
    };
  };
  ASSERT_TRUE(start.Create(static_cast<CWnd*>(nullptr)));
  start.SetWindowPos(HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);

  CDrawStateInfoStatic status;
  CShowcaseOuter progress(IDD_PROGRESS_OUTER, IDD_PROGRESS_INNER, ELayeredPair::Progress, 149, 1.2f);
  progress.m_setUp = [&](CShowcaseInner& inner) {
    inner.m_bindings = {{IDC_PROGRESS_STATUS, &status}};
    inner.m_layout = [&](CShowcaseInner& self) {
      status.SetAlignment(1);
      status.SetForeColor(RGB(255, 255, 255));
      status.SetBackImage(self.m_pBackground.Get());
      status.SetBackSourceRect(10, 42, 194, 62);
      status.MoveWindow(30, 52, 204, 20);
      status.InitFont();
      status.StartAnimation();
    };
  };
  ASSERT_TRUE(progress.Create(static_cast<CWnd*>(nullptr)));
  progress.SetWindowPos(HWND_TOP, 1150, 600, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
  status.SetText(L"\u6B63\u5728\u8FDB\u884C\u672C\u5730\u4FEE\u590D,\u8BF7\u7A0D\u7B49");  // 正在进行本地修复,请稍等

  const char* seconds = std::getenv("ZSR_SHOWCASE_SECONDS");
  const DWORD end = ::GetTickCount() + 1000u * static_cast<DWORD>(seconds ? std::atoi(seconds) : 5);
  MSG msg;
  bool saved = false;
  while (static_cast<LONG>(end - ::GetTickCount()) > 0) {
    if (!saved && static_cast<LONG>(end - ::GetTickCount()) < 1500) {
      saved = true;
      if (const char* path = std::getenv("ZSR_SHOWCASE_BMP")) SaveScreen(path);
    }
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    ::Sleep(10);
  }
  status.StopAnimation();
  for (CPngButton* b : {&close, &ok, &cancel}) b->ReleaseImages();
  run.ReleaseImages();
  closeStart.ReleaseImages();
}

// Opens the problem-solved window in a process of its own and writes where the panel and
// its buttons stand, so a test can look at the window under the screen density this
// process started with. Usage: feedback_window_probe <report file> [hold ms]
// The report has one line per item: "dpi N", "scale F", "client W H" and "<name> L T R B"
// for the outer, the inner (screen) and each button (panel client coordinates).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "feedback_window_finder.h"
#include "popups/problem_solving_feedback_dlg.h"
#include "res/resource.h"
#include "skin/gdiplus_session.h"

namespace {

int ScreenLogPixelsY() {
  HDC screen = ::GetDC(nullptr);
  const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  return dpi;
}

std::string RectLine(const char* name, const RECT& r) {
  char line[96];
  std::snprintf(line, sizeof line, "%s %ld %ld %ld %ld\n", name, r.left, r.top, r.right, r.bottom);
  return line;
}

RECT ChildRect(HWND parent, HWND child) {
  RECT r{};
  ::GetWindowRect(child, &r);
  ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

std::string Places(const FeedbackWindows& w) {
  RECT client{};
  ::GetClientRect(w.inner, &client);
  std::string text = "client " + std::to_string(client.right) + " " + std::to_string(client.bottom) + "\n";
  RECT r{};
  ::GetWindowRect(w.outer, &r);
  text += RectLine("outer", r);
  ::GetWindowRect(w.inner, &r);
  text += RectLine("inner", r);
  text += RectLine("close", ChildRect(w.inner, w.Button(IDC_FEEDBACK_CLOSE)));
  text += RectLine("solved", ChildRect(w.inner, w.Button(IDC_FEEDBACK_SOLVED)));
  text += RectLine("unsolved", ChildRect(w.inner, w.Button(IDC_FEEDBACK_UNSOLVED)));
  text += RectLine("more", ChildRect(w.inner, w.Button(IDC_FEEDBACK_MORE)));
  return text;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  const DWORD holdMs = argc > 2 ? static_cast<DWORD>(std::wcstoul(argv[2], nullptr, 10)) : 0;
  CGdiplusSession gdiplus;
  if (!gdiplus.IsStarted()) return 3;

  CProblemSolvingFeedbackDlg dlg;
  const DWORD uiThread = ::GetCurrentThreadId();
  std::string places;
  std::thread driver([&] {
    const auto windows = CFeedbackWindowFinder::WaitFor(uiThread);
    if (!windows) return;
    places = Places(*windows);
    ::Sleep(holdMs);
    ::PostMessageW(windows->outer, WM_CLOSE, 0, 0);
  });
  const INT_PTR result = dlg.DoModal();
  driver.join();
  if (places.empty() || result != IDCANCEL) return 1;

  FILE* out = _wfopen(argv[1], L"w");
  if (!out) return 4;
  std::fprintf(out, "dpi %d\nscale %.4f\n%s", ScreenLogPixelsY(), dlg.m_fScale, places.c_str());
  return std::fclose(out) == 0 ? 0 : 4;
}

#include "feedback_window_finder.h"

#include <string>

#include "res/resource.h"

namespace {

std::wstring TextOf(HWND hWnd) {
  wchar_t text[128] = {};
  ::GetWindowTextW(hWnd, text, 128);
  return text;
}

struct Search {
  FeedbackWindows found;
};

BOOL CALLBACK TakeOuter(HWND hWnd, LPARAM lParam) {
  auto* search = reinterpret_cast<Search*>(lParam);
  if (::IsWindowVisible(hWnd) && TextOf(hWnd) == CFeedbackWindowFinder::Caption()) {
    search->found.outer = hWnd;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK TakeInner(HWND hWnd, LPARAM lParam) {
  auto* search = reinterpret_cast<Search*>(lParam);
  if (::GetWindow(hWnd, GW_OWNER) == search->found.outer && ::GetDlgItem(hWnd, IDC_FEEDBACK_SOLVED)) {
    search->found.inner = hWnd;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

const wchar_t* CFeedbackWindowFinder::Caption() { return L"系统文件修复工具"; }

std::optional<FeedbackWindows> CFeedbackWindowFinder::WaitFor(DWORD uiThreadId, DWORD timeoutMs) {
  const DWORD start = ::GetTickCount();
  while (::GetTickCount() - start < timeoutMs) {
    Search search;
    ::EnumThreadWindows(uiThreadId, TakeOuter, reinterpret_cast<LPARAM>(&search));
    if (search.found.outer) ::EnumThreadWindows(uiThreadId, TakeInner, reinterpret_cast<LPARAM>(&search));
    if (search.found.inner && search.found.BothVisible()) {
      // The outer shows only after its initialisation has laid out the panel. Let the modal
      // loop settle (centring, the inner raised once more) before acting.
      ::Sleep(150);
      return search.found;
    }
    ::Sleep(20);
  }
  return std::nullopt;
}

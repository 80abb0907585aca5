#include "tools/driver/program_windows.h"

namespace {

struct WindowSearch {
  DWORD processId;
  std::vector<HWND> windows;
};

// A plain function: the enumeration callback is __stdcall on x86, which a lambda cannot be.
BOOL CALLBACK CollectVisibleWindowOf(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(hwnd, &owner);
  if (owner == search->processId && ::IsWindowVisible(hwnd)) search->windows.push_back(hwnd);
  return TRUE;
}

}  // namespace

std::vector<HWND> VisibleTopLevelWindowsOf(DWORD processId) {
  WindowSearch search{processId, {}};
  ::EnumWindows(CollectVisibleWindowOf, reinterpret_cast<LPARAM>(&search));
  return search.windows;
}

std::wstring WindowTextOf(HWND hwnd) {
  // Another process's window answers from its stored text, without running its code.
  const int length = ::GetWindowTextLengthW(hwnd);
  if (length <= 0) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(::GetWindowTextW(hwnd, text.data(), length + 1)));
  return text;
}

std::wstring ControlTextOf(HWND dialog, int id) {
  HWND control = ::GetDlgItem(dialog, id);
  return control ? WindowTextOf(control) : std::wstring();
}

bool HasVisibleControl(HWND dialog, int id) {
  HWND control = ::GetDlgItem(dialog, id);
  return control && ::IsWindowVisible(control);
}

bool IsLayeredWindow(HWND hwnd) { return (::GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED) != 0; }

RECT ScreenRectOf(HWND hwnd) {
  RECT rect{};
  ::GetWindowRect(hwnd, &rect);
  return rect;
}

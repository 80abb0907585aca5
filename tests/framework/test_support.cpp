#include "test_support.h"

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const ULONGLONG end = ::GetTickCount64() + timeoutMs;
  while (!done()) {
    if (::GetTickCount64() > end) return false;
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}

void PumpFor(DWORD ms) {
  const ULONGLONG end = ::GetTickCount64() + ms;
  PumpUntil([end] { return ::GetTickCount64() > end; }, ms + 1000);
}

HWND CreateTopLevel(LPCWSTR title, int x, int y, int width, int height, HWND owner, DWORD style) {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"ZsrTestTopLevel";
    return ::RegisterClassExW(&wc) != 0;
  }();
  if (!registered) return nullptr;
  return ::CreateWindowExW(0, L"ZsrTestTopLevel", title, style, x, y, width, height, owner, nullptr,
                           ::GetModuleHandleW(nullptr), nullptr);
}

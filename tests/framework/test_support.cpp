#include "test_support.h"

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

#include "skin/window_text_message.h"

bool HandleWindowTextMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (msg != WM_SETTEXT && msg != WM_ENABLE) return false;
  result = ::DefWindowProcW(hWnd, msg, wParam, lParam);
  ::InvalidateRect(hWnd, nullptr, TRUE);
  return true;
}

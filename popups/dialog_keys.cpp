#include "popups/dialog_keys.h"

bool IsEnterOrEscapeKeyDown(const MSG* msg) {
  return msg && msg->message == WM_KEYDOWN && (msg->wParam == VK_ESCAPE || msg->wParam == VK_RETURN);
}

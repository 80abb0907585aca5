#include "support/message_pump.h"

#include <algorithm>

namespace {

void DispatchWaitingMessages() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

// Sleeps until a message arrives or `ms` (at most 10) have passed.
void WaitForMessages(ULONGLONG ms) {
  ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(std::min<ULONGLONG>(ms, 10)), QS_ALLINPUT);
}

}  // namespace

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const ULONGLONG end = ::GetTickCount64() + timeoutMs;
  for (;;) {
    DispatchWaitingMessages();
    if (done()) return true;
    const ULONGLONG now = ::GetTickCount64();
    if (now >= end) return false;
    WaitForMessages(end - now);
  }
}

void PumpFor(DWORD ms) {
  const ULONGLONG end = ::GetTickCount64() + ms;
  for (;;) {
    DispatchWaitingMessages();
    const ULONGLONG now = ::GetTickCount64();
    if (now >= end) return;
    WaitForMessages(end - now);
  }
}

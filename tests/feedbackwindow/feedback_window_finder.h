#pragma once
// Finds the problem-solved window of one user-interface thread from another thread, the way
// a user's eye would: the visible outer with its caption, and the panel it owns.
#include <windows.h>

#include <optional>

struct FeedbackWindows {
  HWND outer = nullptr;
  HWND inner = nullptr;
  HWND Button(int id) const { return ::GetDlgItem(inner, id); }
  bool BothVisible() const { return ::IsWindowVisible(outer) && ::IsWindowVisible(inner); }
};

class CFeedbackWindowFinder {
 public:
  // Waits until the thread shows both windows.
  static std::optional<FeedbackWindows> WaitFor(DWORD uiThreadId, DWORD timeoutMs = 10000);
  // The window text the outer carries.
  static const wchar_t* Caption();
};

// Drives the repair tool from outside as its user would: finds each of its windows by what
// it shows, clicks what can be clicked and reads what is written. Every window of the tool is
// a pair (a layered frame and a dialog with the controls); the finders answer the dialog,
// except for the main window, which is the frame of the operations window.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>

class CUserDriver {
 public:
  using Limit = std::chrono::milliseconds;
  static constexpr Limit kWindowLimit{30000};

  explicit CUserDriver(DWORD processId) : m_processId(processId) {}

  HWND StartPage(Limit limit = kWindowLimit) const;
  HWND AgreementText(Limit limit = kWindowLimit) const;
  HWND MainWindow(Limit limit = kWindowLimit) const;
  HWND OperationsWindow(Limit limit = kWindowLimit) const;
  HWND ProgressPopup(Limit limit = kWindowLimit) const;
  HWND Prompt(Limit limit = kWindowLimit) const;
  HWND ProblemSolvedWindow(Limit limit = kWindowLimit) const;
  // The first visible top-level window of the tool that matches, or null after the limit.
  HWND WaitForWindow(const std::function<bool(HWND)>& matches, Limit limit) const;

  // A click on a button as a user can make it: once the button is shown and enabled (a window
  // lays out its controls just after it shows), within the limit. The click is queued, so a
  // window that it opens modally does not hold the driver.
  bool Click(HWND dialog, int buttonId, Limit limit = Limit(3000)) const;
  // A left click at a point of a window's client area.
  bool ClickAt(HWND window, POINT clientPoint) const;
  bool WaitUntilEnabled(HWND dialog, int controlId, Limit limit) const;
  // The control's text once it has one (a window fills in its texts just after it shows),
  // empty after the limit.
  std::wstring WaitForText(HWND dialog, int controlId, Limit limit = Limit(3000)) const;
  // True once the window is gone or hidden.
  bool WaitUntilGone(HWND window, Limit limit) const;

  // The prompt's message, the progress popup's status line, as soon as they are written.
  std::wstring PromptText(HWND prompt) const;
  std::wstring StatusLine(HWND popup) const;
  // The layered frame that carries a dialog.
  static HWND FrameOf(HWND dialog) { return ::GetWindow(dialog, GW_OWNER); }

 private:
  HWND DialogWith(int controlId, Limit limit) const;

  DWORD m_processId;
};

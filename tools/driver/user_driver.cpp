#include "tools/driver/user_driver.h"

#include <thread>

#include "res/resource.h"
#include "tools/driver/program_windows.h"

namespace {

constexpr std::chrono::milliseconds kPoll{50};

template <typename Condition>
bool WaitUntil(Condition condition, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  for (;;) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(kPoll);
  }
}

}  // namespace

HWND CUserDriver::WaitForWindow(const std::function<bool(HWND)>& matches, Limit limit) const {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        for (HWND hwnd : VisibleTopLevelWindowsOf(m_processId))
          if (matches(hwnd)) return (found = hwnd) != nullptr;
        return false;
      },
      limit);
  return found;
}

HWND CUserDriver::DialogWith(int controlId, Limit limit) const {
  return WaitForWindow([controlId](HWND hwnd) { return HasVisibleControl(hwnd, controlId); }, limit);
}

HWND CUserDriver::StartPage(Limit limit) const { return DialogWith(IDC_START_AGREE, limit); }
HWND CUserDriver::AgreementText(Limit limit) const { return DialogWith(IDC_AGREEMENT_TEXT, limit); }
HWND CUserDriver::OperationsWindow(Limit limit) const { return DialogWith(IDC_OP_LOCAL, limit); }
HWND CUserDriver::ProgressPopup(Limit limit) const { return DialogWith(IDC_PROGRESS_STATUS, limit); }
HWND CUserDriver::Prompt(Limit limit) const { return DialogWith(IDC_PROMPT_TEXT, limit); }
HWND CUserDriver::ProblemSolvedWindow(Limit limit) const { return DialogWith(IDC_FEEDBACK_SOLVED, limit); }

HWND CUserDriver::MainWindow(Limit limit) const {
  // The frame that owns the operations window.
  HWND operations = OperationsWindow(limit);
  return operations ? FrameOf(operations) : nullptr;
}

bool CUserDriver::Click(HWND dialog, int buttonId, Limit limit) const {
  HWND button = ::GetDlgItem(dialog, buttonId);
  const bool usable = button && WaitUntil(
                                    [&] {
                                      return ::IsWindowVisible(button) && ::IsWindowEnabled(button) &&
                                             ::IsWindowEnabled(dialog);
                                    },
                                    limit);
  return usable && ::PostMessageW(button, BM_CLICK, 0, 0) != FALSE;
}

bool CUserDriver::ClickAt(HWND window, POINT clientPoint) const {
  if (!::IsWindowVisible(window) || !::IsWindowEnabled(window)) return false;
  const LPARAM at = MAKELPARAM(clientPoint.x, clientPoint.y);
  return ::PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at) && ::PostMessageW(window, WM_LBUTTONUP, 0, at);
}

bool CUserDriver::WaitUntilEnabled(HWND dialog, int controlId, Limit limit) const {
  return WaitUntil(
      [&] {
        HWND control = ::GetDlgItem(dialog, controlId);
        return control && ::IsWindowEnabled(control);
      },
      limit);
}

bool CUserDriver::WaitUntilGone(HWND window, Limit limit) const {
  return WaitUntil([window] { return !::IsWindow(window) || !::IsWindowVisible(window); }, limit);
}

std::wstring CUserDriver::WaitForText(HWND dialog, int controlId, Limit limit) const {
  std::wstring text;
  WaitUntil([&] { return !(text = ControlTextOf(dialog, controlId)).empty(); }, limit);
  return text;
}

std::wstring CUserDriver::PromptText(HWND prompt) const { return WaitForText(prompt, IDC_PROMPT_TEXT); }

std::wstring CUserDriver::StatusLine(HWND popup) const { return WaitForText(popup, IDC_PROGRESS_STATUS); }

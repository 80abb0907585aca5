#pragma once
// The window messages the popups answer. All of them are sent (not posted): the sender waits
// until the receiving window's thread has handled them.
#include <windows.h>

// To the progress popup: the run reached an outcome; the popup's modal run ends with IDOK.
constexpr UINT WM_END_PROGRESS = WM_USER + 501;    // 1525
// To the message prompt: wParam 1 ends it with IDOK, any other value with IDCANCEL.
constexpr UINT WM_PROMPT_RESULT = WM_USER + 533;   // 1557
// To the start page: the user accepted and pressed start; its modal run ends with IDOK.
constexpr UINT WM_START_ACCEPTED = WM_USER + 534;  // 1558

static_assert(WM_END_PROGRESS == 1525 && WM_PROMPT_RESULT == 1557 && WM_START_ACCEPTED == 1558);

#pragma once
// Small helpers shared by the framework tests.
#include <windows.h>

#include <functional>

#include "support/message_pump.h"

// Dispatches this thread's messages until `done` answers true or the time is up.
// A visible top-level window of the framework's plain class, for owners and parents.
HWND CreateTopLevel(LPCWSTR title, int x, int y, int width, int height, HWND owner = nullptr,
                    DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE);

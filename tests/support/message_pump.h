// The test thread's own message loop, for tests that drive real windows on it.
#pragma once

#include <windows.h>

#include <functional>

// Dispatches this thread's messages, then asks `done`, until it answers true; false once
// `timeoutMs` has passed.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);
// Dispatches this thread's messages for `ms` milliseconds (at least once).
void PumpFor(DWORD ms);

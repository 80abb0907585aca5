#pragma once
// Keys that the dialog keyboard interface would turn into OK or Cancel. Popups that only
// their buttons (or the run) may end swallow them before the dialog sees them.
#include <windows.h>

bool IsEnterOrEscapeKeyDown(const MSG* msg);

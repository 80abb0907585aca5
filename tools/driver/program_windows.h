// What anyone can see of another program's windows through the window manager's API: its
// visible top-level windows, their texts, their controls. Nothing here runs inside the program.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

std::vector<HWND> VisibleTopLevelWindowsOf(DWORD processId);
std::wstring WindowTextOf(HWND hwnd);
// The text of a dialog's control, empty when the dialog has no such control.
std::wstring ControlTextOf(HWND dialog, int id);
bool HasVisibleControl(HWND dialog, int id);
bool IsLayeredWindow(HWND hwnd);
RECT ScreenRectOf(HWND hwnd);

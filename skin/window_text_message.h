#pragma once
#include <windows.h>

// For statics that paint themselves: the system's static control draws its own text straight
// onto the screen when its text or enabled state changes. These messages are answered by
// the plain default procedure instead and the control is invalidated. True when handled.
bool HandleWindowTextMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

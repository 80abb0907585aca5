#pragma once
#include <windows.h>

#include "framework/gdi_object.h"

// A copy of the font of `hWnd`'s parent (else the default GUI font, else the system's
// variable-pitch font), `enlarge` logical units taller.
CFont CopyParentFont(HWND hWnd, int enlarge = 0);

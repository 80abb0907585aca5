#pragma once
// A top-down 32-bit DIB section: its bytes are BGRA rows from the top, what GDI+ draws into,
// what UpdateLayeredWindow takes (premultiplied) and what pixel checks read back directly.
#include <windows.h>

#include "framework/gdi_object.h"

// Empty (and *bits null) when the section cannot be made.
CBitmap CreateTopDownDibSection(HDC hdc, int width, int height, void** bits);

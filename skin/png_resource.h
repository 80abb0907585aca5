#pragma once
#include <windows.h>

#include "skin/png_image.h"

// Resource type of every picture of the program.
inline constexpr const wchar_t* kPngResourceType = L"PNG";

// The module that carries the pictures: the program file itself.
HMODULE PictureResourceModule();

// Decodes picture `id` of type "PNG" into `slot`. On failure (no such resource, unreadable,
// out of memory, not a picture GDI+ can decode) the slot is left as it was.
bool LoadPngResource(UINT id, CPngImage& slot);

// Decodes picture `id` of `type` from `module`; empty when it cannot.
CPngImage LoadImageResource(HMODULE module, UINT id, const wchar_t* type);

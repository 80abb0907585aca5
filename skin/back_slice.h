#pragma once
// The drawn statics and the check box paint a slice of their owner's background picture
// under themselves, so that they blend with it.
#include <windows.h>

namespace Gdiplus {
class Graphics;
class Image;
}  // namespace Gdiplus

// `source` (picture pixels) of `image`, stretched over `destination`.
void DrawBackSlice(Gdiplus::Graphics& graphics, Gdiplus::Image* image, const RECT& destination, const RECT& source);

#include "skin/back_slice.h"

#include <gdiplus.h>

void DrawBackSlice(Gdiplus::Graphics& graphics, Gdiplus::Image* image, const RECT& destination, const RECT& source) {
  graphics.DrawImage(image,
                     Gdiplus::Rect(destination.left, destination.top, destination.right - destination.left,
                                   destination.bottom - destination.top),
                     source.left, source.top, source.right - source.left, source.bottom - source.top,
                     Gdiplus::UnitPixel);
}

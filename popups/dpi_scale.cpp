#include "popups/dpi_scale.h"

#include <windows.h>

float ScaleForLogPixels(int logPixelsY) {
  return logPixelsY > 100 ? static_cast<float>(logPixelsY / 100.0) : 1.0f;
}

float ScreenDpiScale(float fallback) {
  HDC screen = GetDC(nullptr);
  if (!screen) return fallback;
  const int logPixelsY = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return ScaleForLogPixels(logPixelsY);
}

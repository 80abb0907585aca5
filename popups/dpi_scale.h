#pragma once

// Scale of the DPI-aware windows: screens above 100 dots per inch scale by dpi / 100.
float ScaleForLogPixels(int logPixelsY);

// The rule applied to the screen's LOGPIXELSY; `fallback` when the screen cannot be asked.
float ScreenDpiScale(float fallback = 1.0f);

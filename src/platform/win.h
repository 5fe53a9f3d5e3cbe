// The one Win32 include of the game (the build defines UNICODE, WIN32_LEAN_AND_MEAN, NOMINMAX
// and the oldest Windows it runs on), and the display scale's arithmetic.
#pragma once
#include <windows.h>

#include <cstdint>
#include <initializer_list>

// The game draws at 96 DPI (1×) and shows its picture at the window's DPI.
constexpr int kBaseDpi = 96;

// A length of 1× pixels at `dpi`, rounded up.
inline int Scaled(int pixels, int dpi) { return (pixels * dpi + kBaseDpi - 1) / kBaseDpi; }
// The 1× pixel that pixel `pixel` at `dpi` shows. The picture and the pointer both go through
// it, so what is under the pointer is what it points at, to the pixel.
inline int Unscaled(int pixel, int dpi) { return pixel * kBaseDpi / dpi; }
// How many 1× pixels `pixels` pixels at `dpi` show. Not the cover rounded up: at 150 % the 311
// pixels of a 207-pixel picture show 1× pixels 0 to 206, none of a 208th.
inline int UnscaledShown(int pixels, int dpi) {
    return pixels > 0 ? Unscaled(pixels - 1, dpi) + 1 : 0;
}

// The system's DPI: the one a window starts with before it knows its monitor.
int SystemDpi();
// A window's DPI: its monitor's under per-monitor awareness, the system's before Windows 10.
int WindowDpi(HWND window);
// Outer size of a window of `style` with one line of menu whose client area is `client` at
// `dpi`: the caption, frame and menu bar as the system gives them at that DPI.
SIZE WindowSizeFor(SIZE client, DWORD style, int dpi);

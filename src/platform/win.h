// The one Win32 include of the game: Unicode, lean headers.
#pragma once
#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <windowsx.h>

#include <cstdint>
#include <initializer_list>

// Client position of a mouse message: the two 16-bit halves of lParam, unsigned.
inline int MouseX(LPARAM lParam) { return static_cast<int>(LOWORD(lParam)); }
inline int MouseY(LPARAM lParam) { return static_cast<int>(HIWORD(lParam)); }

// Outer window size that gives a client area for a field of the given size.
int WindowWidthFor(int columns);
int WindowHeightFor(int rows);

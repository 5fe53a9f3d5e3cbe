#include "platform/win.h"

// Functions of Windows 10 (1607) and later are looked up at run time, so the exe still
// starts on Windows 7 and 8, where the system DPI and the plain calls stand in for them. They
// are looked up at each call (a few per level change): a function-local static would bring in
// the C++ runtime's thread-safe initialisation and its terminate handler, 90 KB.
template <typename Function>
static Function FromUser32(const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

int SystemDpi() {
    const auto forSystem = FromUser32<UINT(WINAPI*)()>("GetDpiForSystem");
    if (forSystem) return static_cast<int>(forSystem());
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kBaseDpi;
}

int WindowDpi(HWND window) {
    const auto forWindow = FromUser32<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
    const int dpi = forWindow ? static_cast<int>(forWindow(window)) : 0;
    return dpi > 0 ? dpi : SystemDpi();
}

SIZE WindowSizeFor(SIZE client, DWORD style, int dpi) {
    const auto adjustForDpi =
        FromUser32<BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi");
    RECT rect = {0, 0, client.cx, client.cy};
    if (adjustForDpi)
        adjustForDpi(&rect, style, TRUE, 0, static_cast<UINT>(dpi));
    else
        AdjustWindowRectEx(&rect, style, TRUE, 0);
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

#include <algorithm>

#include "draw/draw.h"
#include "game/game.h"
#include "store/store.h"
#include "ui/ui.h"

ATOM RegisterMainWindowClass(HINSTANCE instance) {
    WNDCLASSW windowClass = {};
    windowClass.style = CS_VREDRAW | CS_HREDRAW;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_MAIN));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BACKGROUND + 1);
    windowClass.lpszMenuName = MAKEINTRESOURCEW(IDR_MAIN_MENU);
    windowClass.lpszClassName = kWindowClass;
    return RegisterClassW(&windowClass);
}

// The client area the field needs at the current DPI: the 1× layout scaled.
static SIZE ClientNeeded() {
    return SIZE{Scaled(16 * game.settings.Width + 20, game.dpi),
                Scaled(16 * game.settings.Height + 63, game.dpi)};
}

static SIZE MainWindowSize() { return WindowSizeFor(ClientNeeded(), kWindowStyle, game.dpi); }

void FitMainWindow(HWND window, int left, int top) {
    const SIZE need = ClientNeeded();
    SIZE size = MainWindowSize();
    MoveWindow(window, left, top, size.cx, size.cy, TRUE);
    RECT client;
    GetClientRect(window, &client);
    if (client.right == need.cx && client.bottom == need.cy) return;
    // The menu bar is not the one line allowed for it: it wrapped, or the system's bar is
    // taller or shorter. The window takes the difference, so the client fits the field exactly.
    size.cx += need.cx - client.right;
    size.cy += need.cy - client.bottom;
    MoveWindow(window, left, top, size.cx, size.cy, TRUE);
}

// Before the window exists it is sized for the system's DPI; WM_CREATE fits it to its own.
HWND CreateMainWindow(HINSTANCE instance) {
    game.dpi = SystemDpi();
    const SIZE size = MainWindowSize();
    KeepOnScreen(size.cx, size.cy, &game.settings.XPos, &game.settings.Ypos);
    return CreateWindowExW(0, kWindowClass, kWindowTitle, kWindowStyle, game.settings.XPos,
                           game.settings.Ypos, size.cx, size.cy, nullptr, nullptr, instance,
                           nullptr);
}

int RunMessageLoop() {
    MSG message = {};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    return static_cast<int>(message.wParam);
}

int RunGame(HINSTANCE instance) {
    if (!RegisterMainWindowClass(instance)) {
        MessageBoxW(nullptr, L"ウィンドウクラスの作成に失敗しました", nullptr, MB_OK);
        return 0;
    }
    LoadSettings();
    if (!CreateMainWindow(instance)) {
        MessageBoxW(nullptr, L"ウィンドウの生成に失敗しました", nullptr, MB_OK);
        return 0;
    }
    return RunMessageLoop();
}

static void FreeBuffer(BackBuffer& buffer) {
    // The bitmap is still selected; deleting the DC first frees it for deletion.
    DeleteDC(buffer.dc);
    DeleteObject(buffer.bitmap);
    buffer = BackBuffer{};
}

static void FreeBackBuffer() {
    FreeBuffer(game.backBuffer);
    FreeBuffer(game.screenBuffer);
}

static BackBuffer MakeBuffer(HDC windowDc, int width, int height) {
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof(format.bmiHeader);
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;  // top-down: row 0 first
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    BackBuffer buffer;
    void* pixels = nullptr;
    buffer.bitmap = CreateDIBSection(windowDc, &format, DIB_RGB_COLORS, &pixels, nullptr, 0);
    buffer.pixels = static_cast<uint32_t*>(pixels);
    buffer.dc = CreateCompatibleDC(windowDc);
    SelectObject(buffer.dc, buffer.bitmap);
    buffer.width = width;
    buffer.height = height;
    return buffer;
}

// Builds the buffers for the current client size and DPI; the caller frees any old ones first.
// The 1× picture is exactly what the client area shows of it, so the frame fills the client.
static void BuildBackBuffer(HWND window) {
    HDC windowDc = GetDC(window);
    RECT client;
    GetClientRect(window, &client);
    game.windowRect =
        RECT{0, 0, UnscaledShown(client.right, game.dpi), UnscaledShown(client.bottom, game.dpi)};
    game.backBuffer = MakeBuffer(windowDc, game.windowRect.right, game.windowRect.bottom);
    if (game.dpi != kBaseDpi) {
        const int width = std::min<int>(client.right, kMaxScreenWidth);
        game.screenBuffer = MakeBuffer(windowDc, width, client.bottom);
        MapScreenColumns();
    }
    ReleaseDC(window, windowDc);
}

// The window takes its own DPI; a size made for another one (the system's, before the window
// knew its monitor) is fitted, around the same corner.
static void FitToOwnDpi(HWND window) {
    game.dpi = WindowDpi(window);
    RECT place;
    GetWindowRect(window, &place);
    FitMainWindow(window, place.left, place.top);
}

static void OnCreate(HWND window) {
    FitToOwnDpi(window);
    BuildBackBuffer(window);
    game.menu = GetMenu(window);
    game.menuItem.cbSize = sizeof(game.menuItem);
    game.menuItem.fState = 0;
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(LOWORD(game.settings.Difficulty), 1), 0);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(LOWORD(game.settings.ClickMode), 0), 0);
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
    game.cellSheet = LoadSheet(instance, IDB_CELLS);
    game.digitSheet = LoadSheet(instance, IDB_DIGITS);
    game.faceSheet = LoadSheet(instance, IDB_FACES);
    NewGame(window);
}

static void OnBoardChanged(HWND window) {
    FreeBackBuffer();
    BuildBackBuffer(window);
    NewGame(window);
    // A resize to the same size repaints nothing, so the new board asks for its paint itself.
    InvalidateRect(window, nullptr, FALSE);
}

static void OnPaint(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    PaintAll();
    if (game.screenBuffer.dc) {
        ScalePicture();
        BitBlt(dc, 0, 0, game.screenBuffer.width, game.screenBuffer.height, game.screenBuffer.dc, 0,
               0, SRCCOPY);
    } else {
        BitBlt(dc, 0, 0, game.windowRect.right - game.windowRect.left,
               game.windowRect.bottom - game.windowRect.top, game.backBuffer.dc, 0, 0, SRCCOPY);
    }
    EndPaint(window, &paint);
}

// The window went to a monitor of another scale: the same game goes on, drawn at the new one,
// in a window of the size for it at the corner the system suggests.
static void OnDpiChanged(HWND window, WPARAM wParam, LPARAM lParam) {
    const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
    game.dpi = LOWORD(wParam);
    FitMainWindow(window, suggested.left, suggested.top);
    FreeBackBuffer();
    BuildBackBuffer(window);
    InvalidateRect(window, nullptr, FALSE);
}

static void OnTimer(HWND window) {
    ++game.elapsedSeconds;
    InvalidateRect(window, nullptr, FALSE);
}

static void OnAskName(HWND window) {
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
    DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_NEW_RECORD), window, NewRecordDialogProc, 0);
}

static void OnDestroy() {
    FreeBackBuffer();
    for (HBITMAP* sheet : {&game.cellSheet, &game.digitSheet, &game.faceSheet}) {
        DeleteObject(*sheet);
        *sheet = nullptr;
    }
    PostQuitMessage(0);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            OnCreate(window);
            return 0;
        case WM_DESTROY:
            OnDestroy();
            return 0;
        case WM_PAINT:
            OnPaint(window);
            return 0;
        case WM_COMMAND:
            OnCommand(window, wParam);
            return 0;
        case WM_TIMER:
            OnTimer(window);
            return 0;
        case WM_MOUSEMOVE:
            OnMouseMove(window, lParam);
            return 0;
        case WM_LBUTTONDOWN:
            OnLeftDown(window, lParam);
            return 0;
        case WM_LBUTTONUP:
            OnLeftUp(window, lParam);
            return 0;
        case WM_RBUTTONDOWN:
            OnRightDown(window, lParam);
            return 0;
        case WM_RBUTTONUP:
            OnRightUp(window, lParam);
            return 0;
        case WM_MBUTTONDOWN:
            OnMiddleDown(window, lParam);
            return 0;
        case WM_MBUTTONUP:
            OnMiddleUp(window, lParam);
            return 0;
        case MSG_BOARD_CHANGED:
            OnBoardChanged(window);
            return 0;
        case MSG_ASK_NAME:
            OnAskName(window);
            return 0;
        case WM_DPICHANGED:
            OnDpiChanged(window, wParam, lParam);
            return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

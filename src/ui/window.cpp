#include <algorithm>

#include "draw/draw.h"
#include "draw/layout.h"
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
    return SIZE{Scaled(ClientWidth(game.settings.Width), game.dpi),
                Scaled(ClientHeight(game.settings.Height), game.dpi)};
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

// Moves a window rectangle that lies on no monitor onto the nearest monitor's work area.
static void KeepOnScreen(int width, int height, int32_t* x, int32_t* y) {
    // A stored position near the integer limits is first brought to half of them, so that adding
    // the window's size cannot overflow.
    RECT rect;
    rect.left = std::clamp<LONG>(*x, INT32_MIN / 2, INT32_MAX / 2);
    rect.top = std::clamp<LONG>(*y, INT32_MIN / 2, INT32_MAX / 2);
    rect.right = rect.left + width;
    rect.bottom = rect.top + height;
    if (MonitorFromRect(&rect, MONITOR_DEFAULTTONULL)) return;
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (!GetMonitorInfoW(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &info)) return;
    const RECT& area = info.rcWork;
    *x = std::max<LONG>(area.left, std::min<LONG>(rect.left, area.right - width));
    *y = std::max<LONG>(area.top, std::min<LONG>(rect.top, area.bottom - height));
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

static HINSTANCE Instance(HWND window) {
    return reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
}

INT_PTR RunDialog(HWND owner, int id, DLGPROC procedure) {
    return DialogBoxParamW(Instance(owner), MAKEINTRESOURCEW(id), owner, procedure, 0);
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
    MSG message = {};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    return static_cast<int>(message.wParam);
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
    BuildPicture(window);
    game.menu = GetMenu(window);
    game.menuItem.cbSize = sizeof(game.menuItem);
    game.menuItem.fState = 0;
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(LOWORD(game.settings.Difficulty), 1), 0);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(LOWORD(game.settings.ClickMode), 0), 0);
    LoadSheets(Instance(window));
    NewGame(window);
}

static void OnBoardChanged(HWND window) {
    BuildPicture(window);
    NewGame(window);
    // A resize to the same size repaints nothing, so the new board asks for its paint itself.
    InvalidateRect(window, nullptr, FALSE);
}

static void OnPaint(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    PaintAll();
    ShowPicture(dc);
    EndPaint(window, &paint);
}

// The window went to a monitor of another scale: the same game goes on, drawn at the new one,
// in a window of the size for it at the corner the system suggests.
static void OnDpiChanged(HWND window, WPARAM wParam, LPARAM lParam) {
    const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
    game.dpi = LOWORD(wParam);
    FitMainWindow(window, suggested.left, suggested.top);
    BuildPicture(window);
    InvalidateRect(window, nullptr, FALSE);
}

static void OnTimer(HWND window) {
    ++game.elapsedSeconds;
    InvalidateRect(window, nullptr, FALSE);
}

static void OnAskName(HWND window) { RunDialog(window, IDD_NEW_RECORD, NewRecordDialogProc); }

static void OnDestroy() {
    FreePicture();
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

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

HWND CreateMainWindow(HINSTANCE instance) {
    const int width = WindowWidthFor(game.settings.Width);
    const int height = WindowHeightFor(game.settings.Height);
    KeepOnScreen(width, height, &game.settings.XPos, &game.settings.Ypos);
    return CreateWindowExW(0, kWindowClass, kWindowTitle, kWindowStyle, game.settings.XPos,
                           game.settings.Ypos, width, height, nullptr, nullptr, instance, nullptr);
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

static void FreeBackBuffer() {
    DeleteDC(game.backBuffer.dc);
    DeleteObject(game.backBuffer.bitmap);
    game.backBuffer = BackBuffer{};
}

// Builds the back buffer at the current client size; the caller frees any old one first.
static void BuildBackBuffer(HWND window) {
    HDC windowDc = GetDC(window);
    GetClientRect(window, &game.windowRect);
    game.backBuffer.bitmap =
        CreateCompatibleBitmap(windowDc, game.windowRect.right, game.windowRect.bottom);
    game.backBuffer.dc = CreateCompatibleDC(windowDc);
    SelectObject(game.backBuffer.dc, game.backBuffer.bitmap);
    ReleaseDC(window, windowDc);
}

static void OnCreate(HWND window) {
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
    // The back buffer's bitmap is still selected; deleting the DC first frees it for deletion.
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
    BitBlt(dc, 0, 0, game.windowRect.right - game.windowRect.left,
           game.windowRect.bottom - game.windowRect.top, game.backBuffer.dc, 0, 0, SRCCOPY);
    EndPaint(window, &paint);
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
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

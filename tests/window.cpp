// Start-up, the menu commands, the clock and the end of the program, on the real window.
#include "kit.h"
#include "store/store.h"
#include "ui/ui.h"

// The window's corner and size, and the check marks of the four levels and the two modes.
static std::wstring Place() {
    RECT r;
    std::wstring marks;
    for (int id : {CMD_BEGINNER, CMD_INTERMEDIATE, CMD_EXPERT, CMD_CUSTOM, CMD_MODE_ENERGY_SAVING, CMD_MODE_ORIGINAL}) marks += GetMenuState(GetMenu(win), id, MF_BYCOMMAND) & MF_CHECKED ? L'1' : L'0';
    return GetWindowRect(win, &r), std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L" " + std::to_wstring(r.right - r.left) + L"x" + std::to_wstring(r.bottom - r.top) + L" " + marks;
}

// A first start plays the beginner level at (300, 200); a level keeps the window's corner, sizes
// the window for its field, stores itself with that corner and deals a new game, also when it is
// the current level; a new game shows at once; the modes keep the game; the version dialog closes
// on any command; the exit command and the close box end the program with 0.
TEST(Window, AFirstStartAndTheMenuCommands) {
    Start();
    wchar_t name[16];
    const int frameX = 2 * GetSystemMetrics(SM_CXFIXEDFRAME), frameY = GetSystemMetrics(SM_CYCAPTION) + 2 * GetSystemMetrics(SM_CYFIXEDFRAME);
    EXPECT_EQ((GetClassNameW(win, name, 16), std::wstring(name)) + L" " + Text(win), L"Tesselmark テセルマーク");
    EXPECT_EQ(GetWindowLongW(win, GWL_STYLE) & 0xFFFF0000 & ~WS_CLIPSIBLINGS, 0x10CA0000);
    EXPECT_EQ(std::vector<ULONG_PTR>({GetClassLongPtrW(win, GCL_STYLE), GetClassLongPtrW(win, GCLP_HBRBACKGROUND), GetClassLongPtrW(win, GCLP_HCURSOR), !GetClassLongPtrW(win, GCLP_HICON)}),
              std::vector<ULONG_PTR>({CS_HREDRAW | CS_VREDRAW, COLOR_BACKGROUND + 1, reinterpret_cast<ULONG_PTR>(LoadCursorW(nullptr, IDC_ARROW)), 0}));
    EXPECT_EQ(Place() + L" " + Stored(), L"300,200 " + std::to_wstring(frameX + 164) + L"x" + std::to_wstring(frameY + 227) + L" 100001 ClickMode=40031 Difficulty=40014 Height=9 Mines=10 Width=9 XPos=300 Ypos=200");
    for (int again = 0; again < 2; ++again) {
        const HGDIOBJ buffer[] = {game.backBuffer.dc, game.backBuffer.bitmap};
        SetWindowPos(win, nullptr, 40, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        Lay("X......./......../........", Lost), Send(WM_COMMAND, CMD_EXPERT);
        EXPECT_EQ(GetObjectType(buffer[0]) + GetObjectType(buffer[1]), 0u) << "the old back buffer lives on";
        EXPECT_EQ(Place() + L" " + Stored(), L"40,50 " + std::to_wstring(frameX + 500) + L"x" + std::to_wstring(frameY + 339) + L" 001001 ClickMode=40031 Difficulty=40016 Height=16 Mines=99 Width=30 XPos=40 Ypos=50");
        std::string covered(30, '#');
        for (int r = 1; r < 16; ++r) covered += "/" + std::string(30, '#');
        ExpectScreen(covered.c_str(), Smile);
    }
    Lay("F1fX..../.1....../...*....", Lost), Send(WM_COMMAND, CMD_NEW_GAME);
    ExpectScreen("########/########/########", Smile, "003", "000");
    Lay("F1.*..../.1....../...*....");
    game.elapsedSeconds = 5;
    for (int mode : {kEnergy, kOriginal, 40000, 40018, 40025, 40029}) {
        EXPECT_EQ(Send(WM_COMMAND, mode, 0, false), 0);
        EXPECT_EQ(Place().substr(Place().size() - 2) + Stored().substr(0, 15), mode == kEnergy ? L"10ClickMode=40030" : L"01ClickMode=40031");
        EXPECT_EQ(Board(), "F1.*..../.1....../...*....");
    }
    EXPECT_EQ(game.elapsedSeconds * 10 + game.phase, 51);
    for (const auto& way : {std::pair<UINT, WPARAM>{WM_COMMAND, IDC_ABOUT_OK}, {WM_COMMAND, IDOK}, {WM_COMMAND, IDCANCEL}, {WM_CLOSE, 0}}) {
        int shown = 0;
        WithDialog([&](HWND dialog) { return ++shown && PostMessageW(dialog, way.first, way.second, 0); }, [] { Send(WM_COMMAND, CMD_ABOUT, 0, false); });
        EXPECT_EQ(shown, 1);
    }
    Quit(WM_COMMAND);
    Start();
    Quit(WM_CLOSE);
}

// The clock shows 1 at the first opening, ticks once a second, also behind a dialog, and
// counts on past what it can show.
TEST(Window, TheClockCountsFromTheFirstOpening) {
    Start();
    Lay("F..*..../......../...*....", Ready);
    Gesture("L+@3,0 L-");
    ExpectScreen("F##X####/########/###*####", Dead, "002", "001");
    Lay("F..*..../......../...*....", Ready);
    Gesture("L+@2,0 L-");
    const ULONGLONG opened = GetTickCount64();
    for (MSG m; game.elapsedSeconds < 2 && GetTickCount64() < opened + 3000; Sleep(5))
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
    EXPECT_GE(GetTickCount64() - opened, 900u);
    WithDialog([](HWND dialog) { return game.elapsedSeconds >= 3 && PostMessageW(dialog, WM_COMMAND, IDOK, 0); }, [] { Send(WM_COMMAND, CMD_HIGH_SCORES, 0, false); });
    game.elapsedSeconds = 999;
    Repaint();
    Send(WM_TIMER, kGameTimerId);
    EXPECT_EQ(game.elapsedSeconds, 1000);
    ExpectScreen("F#1#####/########/########", Smile, nullptr, "999");
    Quit();
}

static LRESULT CALLBACK RefuseTheFirstWindow(int code, WPARAM, LPARAM) {
    static int windows = 0;
    return code == HCBT_CREATEWND && windows++ == 0;
}

TEST(Window, StartUpFailuresSayWhatFailedAndEndWithZero) {
    std::wstring said;
    auto read = [&](HWND box) {
        for (HWND text = nullptr; (text = FindWindowExW(box, text, L"Static", nullptr));) said += Text(text);
        return PostMessageW(box, WM_COMMAND, IDOK, 0);
    };
    RegisterMainWindowClass(GetModuleHandleW(nullptr));
    WithDialog(read, [] { EXPECT_EQ(RunGame(GetModuleHandleW(nullptr)), 0); });
    UnregisterClassW(kWindowClass, GetModuleHandleW(nullptr));
    HHOOK hook = SetWindowsHookExW(WH_CBT, RefuseTheFirstWindow, nullptr, GetCurrentThreadId());
    WithDialog(read, [] { EXPECT_EQ(RunGame(GetModuleHandleW(nullptr)), 0); });
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(said, L"ウィンドウクラスの作成に失敗しましたウィンドウの生成に失敗しました");
}

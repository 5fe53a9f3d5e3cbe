// Start-up, the menu commands and the end of the program, on the real window.
#include "kit.h"
#include "store/store.h"
#include "ui/ui.h"

// The window's corner and size, and the check marks of the four levels and the two modes.
static std::wstring Place() {
    RECT r;
    std::wstring marks;
    for (int id : {CMD_BEGINNER, CMD_INTERMEDIATE, CMD_EXPERT, CMD_CUSTOM, CMD_MODE_ENERGY_SAVING,
                   CMD_MODE_ORIGINAL})
        marks += GetMenuState(GetMenu(win), id, MF_BYCOMMAND) & MF_CHECKED ? L'1' : L'0';
    return GetWindowRect(win, &r), std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L" " +
                                       std::to_wstring(r.right - r.left) + L"x" +
                                       std::to_wstring(r.bottom - r.top) + L" " + marks;
}

// A first start plays the beginner level at (300, 200) and stores it (every level is played end to
// end); the current level chosen again and a new game show a fresh field at once; the modes keep
// the game; the exit command and the close box end the program with 0; a start at a stored place
// off the screen comes back onto it. (The version dialog is closed end to end.)
TEST(Window, AFirstStartAndTheMenuCommands) {
    Start();
    wchar_t name[16];
    EXPECT_EQ((GetClassNameW(win, name, 16), std::wstring(name)) + L" " + Text(win),
              L"Tesselmark テセルマーク");
    EXPECT_EQ(GetWindowLongW(win, GWL_STYLE) & 0xFFFF0000 & ~WS_CLIPSIBLINGS, 0x10CA0000);
    EXPECT_EQ(Place() + L" " + Stored(),
              L"300,200 " + std::to_wstring(2 * GetSystemMetrics(SM_CXFIXEDFRAME) + 164) + L"x" +
                  std::to_wstring(GetSystemMetrics(SM_CYCAPTION) +
                                  2 * GetSystemMetrics(SM_CYFIXEDFRAME) + 227) +
                  L" 100001 ClickMode=40031 Difficulty=40014 Height=9 Mines=10 Width=9 XPos=300 "
                  L"Ypos=200");
    for (int command :
         {CMD_BEGINNER,
          CMD_NEW_GAME}) {  // the current level again, and a new game: a fresh field at once
        Lay("F1fX..../.1....../...*....", Lost), Send(WM_COMMAND, command);
        ExpectScreen(command == CMD_NEW_GAME ? "########/########/########"
                                             : "#########/#########/#########/#########/#########/"
                                               "#########/#########/#########/#########",
                     Smile, command == CMD_NEW_GAME ? "003" : "010", "000");
    }
    Lay("F1.*..../.1....../...*...."), game.elapsedSeconds = 5;
    for (int mode : {kEnergy, kOriginal, 40000, 40018, 40025, 40029}) {
        EXPECT_EQ(Send(WM_COMMAND, mode, 0, false), 0);
        EXPECT_EQ(Place().substr(Place().size() - 2) + Stored().substr(0, 15),
                  mode == kEnergy ? L"10ClickMode=40030" : L"01ClickMode=40031");
        EXPECT_EQ(Board(), "F1.*..../.1....../...*....");
    }
    EXPECT_EQ(game.elapsedSeconds * 10 + game.phase, 51);
    const DWORD offScreen =
        5000;  // a stored place off every screen comes back to the nearest edge of the screen
    Quit(WM_COMMAND),
        RegSetKeyValueW(HKEY_CURRENT_USER, kStoreKey, L"XPos", REG_DWORD, &offScreen, 4),
        Start(true);
    RECT work, place;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0), GetWindowRect(win, &place), Quit(WM_CLOSE);
    EXPECT_EQ(place.right * 10000 + place.top, work.right * 10000 + 200);
}

static LRESULT CALLBACK RefuseTheFirstWindow(int code, WPARAM, LPARAM) {
    static int windows = 0;
    return code == HCBT_CREATEWND && windows++ == 0;
}

TEST(Window, StartUpFailuresSayWhatFailedAndEndWithZero) {
    std::wstring said;
    auto read = [&](HWND box) {
        for (HWND text = nullptr; (text = FindWindowExW(box, text, L"Static", nullptr));)
            said += Text(text);
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

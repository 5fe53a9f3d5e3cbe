// The registry store, the custom board dialog, the record dialogs and the dialog templates.
#include "store/store.h"

#include <climits>
#include <cstring>
#include <random>

#include "kit.h"
#include "ui/ui.h"

static const wchar_t* const kValueNames[] = {
    L"ClickMode", L"Difficulty", L"Height", L"Width", L"Mines", L"XPos", L"Ypos",
    L"Time1",     L"Time2",      L"Time3",  L"Name1", L"Name2", L"Name3"};

// Stored values of any type, size and content start, with no dialog, a game that fits the board,
// sits on a screen and plays. Values the game itself could have written load exactly: stored
// again they give the same bytes; moving the window and quitting stores nothing.
TEST(Store, AnyStoredValuesStartAPlayableGameAndTheGamesOwnComeBackExactly) {
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    std::mt19937 random(seed);
    const int32_t extremes[] = {INT_MIN, -1, 0,  8,   9,    24,    25,
                                30,      31, 51, 999, 1000, 30000, INT_MAX},
                  commands[] = {40014, 40016, 40017, 40017, 40017, 40024, 40030, 40031};
    const DWORD types[] = {REG_SZ, REG_BINARY, REG_QWORD};
    for (int round = 0; round < 90 && !HasFailure(); ++round) {
        const bool valid = round % 3 == 0;  // values the game itself could have written
        const int32_t width = random() % 2   ? 9 + random() % 22
                              : random() % 2 ? 9
                                             : 30,
                      height = random() % 2   ? 9 + random() % 16
                               : random() % 2 ? 9
                                              : 24;
        const int32_t numbers[] = {
            kEnergy,
            CMD_CUSTOM,
            height,
            width,
            static_cast<int32_t>(10 + random() % ((width - 1) * (height - 1) - 9)),
            static_cast<int32_t>(random() % 1150) - 150,
            static_cast<int32_t>(random() % 850) - 150,
            static_cast<int32_t>(random() % 1000),
            998,
            0};
        std::wstring names[3];
        RegDeleteTreeW(HKEY_CURRENT_USER, kStoreKey);
        for (int i = 0; i < 13; ++i) {
            int32_t junk[40];
            for (int32_t& word : junk)
                word = random() % 2 ? extremes[random() % 14] : static_cast<int32_t>(random());
            junk[0] = i < 2 ? commands[random() % 8]
                            : junk[0];  // stored ids of levels, modes and other commands
            for (int32_t& word : junk)
                word |= i >= 10 ? 0x00410041 : 0;  // names without a terminator
            for (size_t n = random() % 64; i >= 10 && names[i - 10].size() < n;)
                names[i - 10] += static_cast<wchar_t>(0x3041 + random() % 80);
            const bool typed =
                valid || random() % 4;  // of the right type, and for a number of the right size
            const DWORD type = typed ? (i < 10 ? REG_DWORD : REG_SZ) : types[random() % 3];
            const DWORD size = valid && i >= 10  ? static_cast<DWORD>(2 * names[i - 10].size() + 2)
                               : typed && i < 10 ? 4
                               : random() % 2    ? 128
                                                 : random() % 160;
            const void* data = !valid   ? static_cast<const void*>(junk)
                               : i < 10 ? static_cast<const void*>(&numbers[i])
                                        : names[i - 10].c_str();
            if (valid || random() % 5)
                RegSetKeyValueW(HKEY_CURRENT_USER, kStoreKey, kValueNames[i], type, data, size);
        }
        const auto written = Stored();
        WithDialog(
            [](HWND dialog) {
                ADD_FAILURE() << "a dialog opened at start-up";
                return EndDialog(dialog, 2) != 0;
            },
            [] { Start(true); });
        const Settings& s = game.settings;
        EXPECT_TRUE(s.Width >= 9 && s.Width <= 30 && s.Height >= 9 && s.Height <= 24 &&
                    s.Mines >= 10 && s.Mines <= (s.Width - 1) * (s.Height - 1))
            << s.Width << "x" << s.Height << " " << s.Mines;
        EXPECT_TRUE(s.Difficulty >= CMD_BEGINNER && s.Difficulty <= CMD_CUSTOM &&
                    (s.ClickMode == kOriginal || s.ClickMode == kEnergy))
            << s.Difficulty << " " << s.ClickMode;
        for (int32_t time : {s.Time1, s.Time2, s.Time3})
            EXPECT_TRUE(time >= 0 && time <= 999) << time;
        for (const wchar_t* name : {s.Name1, s.Name2, s.Name3})
            EXPECT_TRUE(wmemchr(name, 0, 64));  // terminated within its 64 units
        EXPECT_TRUE(MonitorFromWindow(win, MONITOR_DEFAULTTONULL)) << "the window is on no screen";
        game.settings.Difficulty = CMD_CUSTOM;  // a win asks for no name
        for (int step = 0; step < 10; ++step)
            Send(WM_LBUTTONDOWN + step % 2 + 3 * (random() % 3), 0,
                 MAKELPARAM(12 + random() % (16 * s.Width), 55 + random() % (16 * s.Height)));
        if (valid)
            SaveLevelAndPosition(win), SaveRecords(),
                SaveClickMode();  // all that was loaded, stored again
        EXPECT_TRUE(!valid || Stored() == written) << "loaded and stored again, the values changed";
        SetWindowPos(win, nullptr, 20, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        Quit();
        EXPECT_TRUE(!valid || Stored() == written)
            << "moving the window and quitting stored something";
    }
}

// The four templates as the exe carries them, and every text of every dialog whole in its
// control, in the dialog's own font. The custom dialog shows the field and brings every number
// into range; only OK applies it, and always as a new game.
TEST(Store, TheDialogTemplatesAndTheCustomDialog) {
    Start();
    const struct {
        int id;
        DWORD style, exStyle;
        DLGPROC procedure;
        int levels;
    } templates[] = {{IDD_ABOUT, 0x00C80040, 0, AboutDialogProc, 1},
                     {IDD_CUSTOM, 0x00C80040, 0, CustomDialogProc, 1},
                     {IDD_HIGH_SCORES, 0x00C800C8, 0, HighScoresDialogProc, 1},
                     {IDD_NEW_RECORD, 0x800000C8, WS_EX_WINDOWEDGE, NewRecordDialogProc, 3}};
    for (const auto& t : templates) {
        const DWORD* header = static_cast<const DWORD*>(LockResource(
            LoadResource(Exe(), FindResourceW(Exe(), MAKEINTRESOURCEW(t.id), RT_DIALOG))));
        EXPECT_EQ(std::vector<DWORD>(header, header + 4),
                  std::vector<DWORD>({0xFFFF0001u, 0, t.exStyle, t.style}))
            << "dialog " << t.id;
        for (int level = 0; level < t.levels; ++level) {
            game.settings.Difficulty = CMD_BEGINNER + level;
            HWND dialog = CreateDialogParamW(Exe(), MAKEINTRESOURCEW(t.id), win, t.procedure, 0);
            for (HWND control = GetWindow(dialog, GW_CHILD); control;
                 control = GetWindow(control, GW_HWNDNEXT)) {
                wchar_t kind[8];
                const std::wstring text = (GetClassNameW(control, kind, 8), Text(control));
                const bool button = !lstrcmpiW(kind, L"Button");
                RECT box, need;
                GetClientRect(control, &box);
                InflateRect(&box, button ? -3 : 0, 0);
                HDC dc = GetDC(control);
                HGDIOBJ old = SelectObject(
                    dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
                DrawTextW(dc, text.c_str(), -1, &(need = box),
                          DT_CALCRECT | (button ? DT_SINGLELINE : DT_WORDBREAK));
                SelectObject(dc, old), ReleaseDC(control, dc);
                EXPECT_TRUE(text.empty() || !lstrcmpiW(kind, L"Edit") ||
                            (need.right <= box.right && need.bottom <= box.bottom))
                    << testing::PrintToString(text) << " needs " << need.right - need.left << "x"
                    << need.bottom - need.top << ", has " << box.right - box.left << "x"
                    << box.bottom - box.top;
            }
            DestroyWindow(dialog);
        }
    }
    Send(WM_COMMAND, CMD_EXPERT);
    const struct {
        const wchar_t *rows, *columns, *mines;
        UINT end;
        int height, width, count;
    } cases[] = {
        {L"8", L"8", L"9", IDC_CUSTOM_OK, 9, 9, 10},
        {L"25", L"31", L"9", IDC_CUSTOM_OK, 24, 30, 10},
        {L"", L"", L"", IDC_CUSTOM_OK, 9, 9, 10},
        {L"9", L"9", L"100", IDC_CUSTOM_OK, 9, 9, 64},
        {L"9", L"9", L"64", IDC_CUSTOM_OK, 9, 9, 64},
        {L"9", L"9", L"65", IDC_CUSTOM_OK, 9, 9, 64},
        {L"100", L"100", L"1000", IDC_CUSTOM_OK, 24, 30, 667},
        {L"4294967295", L"2147483648", L"3000000000", IDC_CUSTOM_OK, 24, 30, 667},
        {L"12", L"10", L"99", IDC_CUSTOM_CANCEL},
        {L"12", L"10", L"99", WM_CLOSE},
        {L"10", L"12", L"99", IDC_CUSTOM_OK, 10, 12, 99},
        {L"10", L"12", L"99", IDC_CUSTOM_OK, 10, 12, 99},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << &c - cases);
        if (!game.board[0][0].flagged) Gesture("R+@0,0 R-");
        const Settings before = game.settings;
        const auto stored = Stored();
        const UINT checked = GetMenuState(GetMenu(win), CMD_CUSTOM, MF_BYCOMMAND);
        WithDialog(
            [&](HWND dialog) {
                EXPECT_EQ(Text(dialog, IDC_HEIGHT) + L" " + Text(dialog, IDC_WIDTH) + L" " +
                              Text(dialog, IDC_MINES),
                          std::to_wstring(before.Height) + L" " + std::to_wstring(before.Width) +
                              L" " + std::to_wstring(before.Mines));
                for (int id : {IDC_HEIGHT, IDC_WIDTH, IDC_MINES})
                    EXPECT_TRUE(GetWindowLongW(GetDlgItem(dialog, id), GWL_STYLE) & ES_NUMBER);
                SetDlgItemTextW(dialog, IDC_HEIGHT, c.rows),
                    SetDlgItemTextW(dialog, IDC_WIDTH, c.columns),
                    SetDlgItemTextW(dialog, IDC_MINES, c.mines);
                SendMessageW(dialog, WM_COMMAND, IDOK, 0),
                    SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
                EXPECT_TRUE(IsWindowVisible(dialog))
                    << "the window system's OK or cancel ended the dialog";
                return PostMessageW(dialog, c.end == WM_CLOSE ? WM_CLOSE : WM_COMMAND,
                                    c.end == WM_CLOSE ? 0 : c.end, 0);
            },
            [&] { Send(WM_COMMAND, CMD_CUSTOM, 0, c.end == IDC_CUSTOM_OK); });
        const Settings& s = game.settings;
        if (c.end != IDC_CUSTOM_OK) {
            EXPECT_TRUE(!std::memcmp(&s, &before, sizeof s) && game.board[0][0].flagged &&
                        Stored() == stored &&
                        GetMenuState(GetMenu(win), CMD_CUSTOM, MF_BYCOMMAND) == checked)
                << "cancelling changed something";
            continue;
        }
        EXPECT_EQ(std::vector<int>({s.customHeight, s.customWidth, s.customMines, s.Height, s.Width,
                                    s.Mines, s.Difficulty, game.minesLeft, game.phase,
                                    game.windowRect.right, (game.windowRect.bottom - 63) / 16}),
                  std::vector<int>({c.height, c.width, c.count, c.height, c.width, c.count,
                                    CMD_CUSTOM, c.count, Ready, 16 * c.width + 20, c.height}));
        EXPECT_NE(
            Stored().find(L"Difficulty=40017 Height=" + std::to_wstring(c.height) + L" Mines=" +
                          std::to_wstring(c.count) + L" Width=" + std::to_wstring(c.width) + L" "),
            std::wstring::npos);
        EXPECT_TRUE(GetMenuState(GetMenu(win), CMD_CUSTOM, MF_BYCOMMAND) & MF_CHECKED);
    }
    Quit();
}

// A win faster than the level's best asks for the holder's name over the won board, then
// shows the records, which can be cleared there; every win stores them.
TEST(Store, AFasterWinAsksForTheNameShowsTheRecordsAndStoresThem) {
    Start();
    const wchar_t kNone[] = L"Name2='名前なし' Name3='名前なし' Time1=999 Time2=999 Time3=999";
    const struct {
        int level, seconds;
        const wchar_t *typed, *title;
        int dialogs;
        bool clear;
        std::wstring stored;
    } wins[] = {
        {CMD_BEGINNER, 41, L"0123456789abcdefghij", L"初級のハイスコアです!", 2, false,
         L"Name1='0123456789abcde' Name2='名前なし' Name3='名前なし' Time1=41 Time2=999 Time3=999"},
        {CMD_BEGINNER, 41, nullptr, nullptr, 0, false,
         L"Name1='0123456789abcde' Name2='名前なし' Name3='名前なし' Time1=41 Time2=999 Time3=999"},
        {CMD_INTERMEDIATE, 998, nullptr, L"中級のハイスコアです!", 2, false,
         L"Name1='0123456789abcde' Name2='名前なし' Name3='名前なし' Time1=41 Time2=998 Time3=999"},
        {CMD_EXPERT, 10, L"taro", L"上級のハイスコアです!", 2, true,
         std::wstring(L"Name1='名前なし' ") + kNone},
        {CMD_CUSTOM, 5, nullptr, nullptr, 0, false, std::wstring(L"Name1='名前なし' ") + kNone},
    };
    for (const auto& w : wins) {
        SCOPED_TRACE(testing::Message() << "win " << &w - wins);
        RegDeleteTreeW(HKEY_CURRENT_USER, kStoreKey);
        Lay("........./........./........./........./........./........./........./........*/"
            "*********");
        game.settings.Difficulty = w.level;
        game.elapsedSeconds = w.seconds;
        const int slot = w.level - CMD_BEGINNER;
        const wchar_t* const names[] = {game.settings.Name1, game.settings.Name2,
                                        game.settings.Name3, L""};
        const std::wstring holder = names[slot];
        int dialogs = 0;
        WithDialog(
            [&](HWND dialog) {
                HWND edit = GetDlgItem(dialog, IDC_NAME_EDIT);
                DWORD from = 1, to = 0;
                if (++dialogs, !edit) {  // the records: cleared at once, the dialog staying open
                    EXPECT_EQ(Text(dialog, IDC_TIME1 + slot) + Text(dialog, IDC_NAME1 + slot),
                              std::to_wstring(w.seconds) + L" 秒" +
                                  (w.typed ? std::wstring(w.typed).substr(0, 15) : holder));
                    SendMessageW(dialog, WM_COMMAND, w.clear ? IDC_RESET_SCORES : IDCANCEL, 0);
                    for (int i = 0; i < 3 && w.clear; ++i)
                        EXPECT_EQ(Text(dialog, IDC_TIME1 + i) + Text(dialog, IDC_NAME1 + i),
                                  L"999 秒名前なし");
                    return IsWindowVisible(dialog) &&
                           PostMessageW(dialog, w.clear ? WM_CLOSE : WM_COMMAND, w.clear ? 0 : IDOK,
                                        0);
                }
                EXPECT_TRUE(paintedPhase == Won && paintedWhole)
                    << "the won board was not on screen before the dialog";
                ExpectScreen(nullptr, Sunglasses, "000");
                SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&from),
                             reinterpret_cast<LPARAM>(&to));
                EXPECT_EQ(Text(dialog, IDC_RECORD_TITLE) + L" " + Text(edit) + L" " +
                              std::to_wstring(from) + L"-" + std::to_wstring(to),
                          std::wstring(w.title) + L" " + holder + L" 0-" +
                              std::to_wstring(holder.size()));
                SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
                if (w.typed) SetWindowTextW(edit, w.typed);
                return IsWindowVisible(dialog) &&
                       PostMessageW(dialog, w.typed ? WM_COMMAND : WM_CLOSE, w.typed ? IDOK : 0, 0);
            },
            [] { Gesture("L+@0,0 L-"); });
        EXPECT_EQ(game.phase * 10 + dialogs, Won * 10 + w.dialogs);
        EXPECT_EQ(Stored(), w.stored) << "the six records are stored after every win";
    }
    Quit();
}

// The registry store and the dialogs that edit it: the custom field, the name of a record
// holder and the records.
#include "store/store.h"

#include <sddl.h>

#include <algorithm>
#include <climits>
#include <cwchar>
#include <random>

#include "kit.h"

using Values = std::map<std::wstring, std::wstring>;
static const wchar_t* const kNames[] = {L"ClickMode", L"Difficulty", L"Height", L"Width", L"Mines",
                                        L"XPos",      L"Ypos",       L"Time1",  L"Time2", L"Time3",
                                        L"Name1",     L"Name2",      L"Name3"};

// One of the two limits, or a value between them.
static int32_t Within(std::mt19937& random, int32_t low, int32_t high) {
    const int32_t pick = static_cast<int32_t>(random() % 3);
    return pick == 0 ? low : pick == 1 ? high : low + static_cast<int32_t>(random() % (high - low));
}

// Values the game itself could have written: a custom field in range, its limits included,
// times, names of up to 63 units.
static void PutValid(std::mt19937& random) {
    const int32_t width = Within(random, 9, 30), height = Within(random, 9, 24);
    const int32_t numbers[] = {random() % 2 ? kEnergy : kOriginal,
                               CMD_CUSTOM,
                               height,
                               width,
                               Within(random, 10, (width - 1) * (height - 1)),
                               static_cast<int32_t>(random() % 1150) - 150,
                               static_cast<int32_t>(random() % 850) - 150,
                               static_cast<int32_t>(random() % 1000),
                               998,
                               0};
    for (int i = 0; i < 10; ++i) Put(kNames[i], REG_DWORD, &numbers[i], 4);
    for (int i = 10; i < 13; ++i) {
        std::wstring name;
        for (size_t n = random() % 64; name.size() < n;) name += wchar_t(0x3041 + random() % 80);
        PutName(kNames[i], name);
    }
}

// Damaged values: missing, of another type or size, numbers at and beyond every limit, ids of
// other commands, names with no terminator.
static void PutDamaged(std::mt19937& random) {
    const int32_t extremes[] = {INT_MIN, -1, 0, 8, 9, 24, 25, 30, 31, 51, 999, 1000, INT_MAX};
    const int32_t commands[] = {40014, 40016, 40017, 40024, 40030, 40031};
    const DWORD otherTypes[] = {REG_SZ, REG_BINARY, REG_QWORD};
    for (int i = 0; i < 13; ++i) {
        if (random() % 5 == 0) continue;
        int32_t junk[40];
        for (int32_t& word : junk) {
            word = random() % 2 ? extremes[random() % 13] : static_cast<int32_t>(random());
            if (i >= 10) word |= 0x00410041;
        }
        if (i < 2) junk[0] = commands[random() % 6];
        const bool typed = random() % 4 != 0;
        const DWORD type = !typed ? otherTypes[random() % 3] : i < 10 ? REG_DWORD : REG_SZ;
        const DWORD size = typed && i < 10 ? 4 : random() % 2 ? 128 : random() % 160;
        Put(kNames[i], type, junk, size);
    }
}

// Stored values of any type, size and content start, with no dialog, a fresh game of a field in
// range on a screen, the stored level and mode ticked. Values the game itself could have written
// load exactly: stored again they give the same bytes; moving the window and quitting stores
// nothing. First of all, the expert's level stored beside a beginner's size and off every screen
// comes onto the screen whole, by the expert's size.
TEST(Store, AnyStoredValuesStartAFreshGameInRange) {
    const unsigned seed = Seed();
    SCOPED_TRACE(testing::Message() << "replay with TESSELMARK_SEED=" << seed);
    std::mt19937 random(seed);
    for (int round = 0; round < 60 && !HasFailure(); ++round) {
        const bool valid = round % 3 == 1;
        RegDeleteTreeW(HKEY_CURRENT_USER, kStoreKey);
        const DWORD expert = CMD_EXPERT, nine = 9, offScreen = 5000;
        if (round == 0) {
            for (const wchar_t* size : {L"Width", L"Height"}) Put(size, REG_DWORD, &nine, 4);
            Put(L"Difficulty", REG_DWORD, &expert, 4);
            Put(L"XPos", REG_DWORD, &offScreen, 4);
            Put(L"Ypos", REG_DWORD, &offScreen, 4);
        } else if (valid) {
            PutValid(random);
        } else {
            PutDamaged(random);
        }
        const Values written = Stored();
        WithDialog([](HWND dialog) { ADD_FAILURE() << "a dialog at start-up: " << Text(dialog); },
                   [] { Start(true); });
        Values kept = Stored();  // what the start itself stored
        const Settings& s = game.settings;
        const struct {
            const char* what;
            int32_t value, low, high;
        } ranges[] = {{"columns", s.Width, 9, 30},
                      {"rows", s.Height, 9, 24},
                      {"mines", s.Mines, 10, (s.Width - 1) * (s.Height - 1)},
                      {"time 1", s.Time1, 0, 999},
                      {"time 2", s.Time2, 0, 999},
                      {"time 3", s.Time3, 0, 999}};
        for (const auto& range : ranges) {
            EXPECT_GE(range.value, range.low) << range.what;
            EXPECT_LE(range.value, range.high) << range.what;
        }
        for (const wchar_t* name : {s.Name1, s.Name2, s.Name3}) {
            EXPECT_NE(wmemchr(name, 0, kNameCapacity), nullptr) << "a name with no end";
        }
        EXPECT_NE(MonitorFromWindow(win, MONITOR_DEFAULTTONULL), nullptr) << "off every screen";
        RECT place;
        RECT work;
        GetWindowRect(win, &place);
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        if (round == 0) {
            EXPECT_EQ(place.right, work.right) << "brought on screen by its width";
            EXPECT_EQ(place.bottom, work.bottom) << "brought on screen by its height";
        }
        const wchar_t* levels[] = {L"初級(&B)", L"中級(&I)", L"上級(&E)", L"盤面の変更(&C)"};
        const wchar_t* mode = s.ClickMode == kEnergy ? L"省エネ" : L"オリジナル";
        EXPECT_EQ(Checked(), (std::vector<std::wstring>{
                                 levels[std::clamp(s.Difficulty - CMD_BEGINNER, 0, 3)], mode}));
        // A fresh field on screen, read where the whole window is on the screen (no pixels are
        // kept for a part outside it), then put back.
        SetWindowPos(win, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        ExpectScreen("", Smile);
        SetWindowPos(win, nullptr, place.left, place.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        if (valid) {
            SaveLevelAndPosition(win);
            SaveRecords();
            SaveClickMode();
            EXPECT_EQ(Stored(), written) << "loaded and stored again, the values changed";
            kept = written;
        }
        SetWindowPos(win, nullptr, 20, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        Quit(round % 2 ? WM_CLOSE : WM_COMMAND);
        EXPECT_EQ(Stored(), kept) << "moving the window and quitting stored something";
    }
}

// The custom dialog shows the current field. What is typed into it (after Tab from OK and Cancel
// to the rows, then to the columns and the mines), or pasted into the rows, is read as a number
// and brought into range; Enter and Esc do not end it; OK applies it as a new game even when
// nothing changed, while Cancel and the close box change nothing.
TEST(Store, TheCustomDialogTakesWhatIsTyped) {
    Start();
    Choose(L"上級(&E)");
    const wchar_t *kOk = L"\t ", *kCancel = L"\t\t ", *kClose = L"close";
    const struct {
        const wchar_t *typed, *paste, *end;
        int rows, columns, mines;
    } cases[] = {
        {L"8\t8\t9", L"", kOk, 9, 9, 10},
        {L"\b\t\b\t\b", L"", kOk, 9, 9, 10},
        {L"9\t9\t65", L"", kOk, 9, 9, 64},
        {L"4294967296\t99999999999\t2147483648", L"", kOk, 24, 30, 667},
        {L"1a2\t1b0\t4c0", L"", kOk, 12, 10, 40},
        {L"\t10\t40", L"-5", kOk, 9, 10, 40},
        {L"\t10\t40", L" 12 ", kOk, 12, 10, 40},
        {L"\t10\t40", L"12x", kOk, 9, 10, 40},
        {L"12\t10\t99", L"", kCancel},
        {L"12\t10\t99", L"", kClose},
        {L"10\t12\t99", L"", kOk, 10, 12, 99},
        {L"10\t12\t99", L"", kOk, 10, 12, 99},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.typed) + c.paste + L" " + c.end));
        if (!game.board[0][0].flagged) Gesture("R+@0,0 R-");
        const Settings before = game.settings;
        const Values stored = Stored();
        WithDialog(
            [&](HWND dialog) {
                EXPECT_EQ(Text(dialog, IDC_HEIGHT), std::to_wstring(before.Height));
                EXPECT_EQ(Text(dialog, IDC_WIDTH), std::to_wstring(before.Width));
                EXPECT_EQ(Text(dialog, IDC_MINES), std::to_wstring(before.Mines));
                Type(L"\t\t");
                // A paste puts in what the edits' own filtering would refuse to take from keys.
                SendMessageW(GetFocus(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(c.paste));
                Type(std::wstring(c.typed) + L"\r\x1b");
                EXPECT_TRUE(IsWindowVisible(dialog)) << "Enter or Esc ended the dialog";
                if (c.end == kClose) {
                    PostMessageW(dialog, WM_CLOSE, 0, 0);
                } else {
                    Type(c.end);
                }
            },
            [&] { Choose(L"盤面の変更(&C)", c.end == kOk); });
        const Settings& s = game.settings;
        if (c.end != kOk) {
            EXPECT_TRUE(game.board[0][0].flagged) << "the game in play ended";
            EXPECT_EQ(Stored(), stored);
            continue;
        }
        EXPECT_EQ(s.Height, c.rows) << "rows";
        EXPECT_EQ(s.Width, c.columns) << "columns";
        EXPECT_EQ(s.Mines, c.mines) << "mines";
        ExpectScreen("", Smile, nullptr, "000");
        EXPECT_EQ(Stored().at(L"Difficulty"), L"40017");
        EXPECT_EQ(Stored().at(L"Height"), std::to_wstring(c.rows));
        EXPECT_EQ(Stored().at(L"Width"), std::to_wstring(c.columns));
        EXPECT_EQ(Stored().at(L"Mines"), std::to_wstring(c.mines));
        EXPECT_EQ(Checked(), (std::vector<std::wstring>{L"盤面の変更(&C)", L"オリジナル"}));
    }
    Quit();
}

// A field that the next click at (0,0) wins.
static const char kLastClick[] =
    "........./........./........./........./........./"
    "........./........./........*/*********";

// A win faster than the level's best asks for the holder's name over the won board, the old
// holder's name selected so that typing replaces it; Esc does nothing, Enter keeps at most 15
// units, the close box keeps the old name. The records follow, to be closed or cleared; every
// win stores all six.
TEST(Store, AFasterWinAsksForTheNameShowsTheRecordsAndStoresThem) {
    Start();
    const struct {
        int level, seconds;
        const wchar_t *typed, *end;  // nullptr: no name is asked; end: the key, or the close box
        const wchar_t *title, *name;
        bool clear;
    } wins[] = {
        {CMD_BEGINNER, 41, L"0123456789abcdefghij", L"\r", L"初級のハイスコアです!",
         L"0123456789abcde", false},
        {CMD_BEGINNER, 41, nullptr},
        {CMD_INTERMEDIATE, 998, L"", L"\r", L"中級のハイスコアです!", L"名前なし", false},
        {CMD_EXPERT, 10, L"taro", nullptr, L"上級のハイスコアです!", L"名前なし", true},
        {CMD_CUSTOM, 5, nullptr},
    };
    Values records = {{L"Name1", L"'名前なし'"}, {L"Name2", L"'名前なし'"},
                      {L"Name3", L"'名前なし'"}, {L"Time1", L"999"},
                      {L"Time2", L"999"},        {L"Time3", L"999"}};
    for (const auto& w : wins) {
        SCOPED_TRACE(testing::Message() << "a win at level " << w.level << " in " << w.seconds);
        RegDeleteTreeW(HKEY_CURRENT_USER, kStoreKey);
        Lay(kLastClick);
        game.settings.Difficulty = w.level;
        game.elapsedSeconds = w.seconds;
        const int row = w.level - CMD_BEGINNER;
        int dialogs = 0;
        WithDialog(
            [&](HWND dialog) {
                if (++dialogs == 1) {  // the name
                    ExpectScreen(nullptr, Sunglasses, "000");
                    EXPECT_EQ(Said(dialog), std::wstring(w.title) + L"名前を入力しましょう。");
                    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_NAME_EDIT)) << "no focus";
                    EXPECT_EQ(Text(dialog, IDC_NAME_EDIT), L"名前なし");
                    Type(std::wstring(L"\x1b") + w.typed + (w.end ? w.end : L""));
                    if (!w.end) PostMessageW(dialog, WM_CLOSE, 0, 0);
                    return;
                }
                EXPECT_EQ(Text(dialog, IDC_TIME1 + row), std::to_wstring(w.seconds) + L" 秒");
                EXPECT_EQ(Text(dialog, IDC_NAME1 + row), w.name);
                if (w.clear) {
                    SendMessageW(GetDlgItem(dialog, IDC_RESET_SCORES), BM_CLICK, 0, 0);
                    EXPECT_EQ(Text(dialog, IDC_TIME3), L"999 秒") << "after clearing";
                    EXPECT_EQ(Text(dialog, IDC_NAME3), L"名前なし") << "after clearing";
                }
                SendMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
            },
            [] { Gesture("L+@0,0 L-"); });
        EXPECT_EQ(game.phase, Won);
        EXPECT_EQ(dialogs, w.typed ? 2 : 0) << "the dialogs of the win";
        const std::wstring slot = std::to_wstring(row + 1);
        if (w.typed) {
            records[L"Time" + slot] = std::to_wstring(w.seconds);
            records[L"Name" + slot] = L"'" + std::wstring(w.name) + L"'";
        }
        for (int k = 1; k <= 3 && w.clear; ++k) {
            records[L"Time" + std::to_wstring(k)] = L"999";
            records[L"Name" + std::to_wstring(k)] = L"'名前なし'";
        }
        EXPECT_EQ(Stored(), records) << "the records stored after the win";
    }
    Quit();
}

// A key the player may read but not write (a managed profile): the records show (a stored name
// longer than the game keeps by its first 63 units), while clearing them and a faster win are
// told as not kept and change nothing.
TEST(Store, UnderAReadOnlyKeyNothingIsShownAsKept) {
    const DWORD fifty = 50;
    RegDeleteTreeW(HKEY_CURRENT_USER, kStoreKey);
    Put(L"Time1", REG_DWORD, &fifty, 4);
    PutName(L"Name2", std::wstring(100, L'あ'));
    HKEY key = nullptr;
    RegOpenKeyExW(HKEY_CURRENT_USER, kStoreKey, 0, WRITE_DAC, &key);
    const auto allow = [key](const wchar_t* access) {
        PSECURITY_DESCRIPTOR rights = nullptr;
        const std::wstring dacl = std::wstring(L"D:P(A;;") + access + L";;;WD)";
        ConvertStringSecurityDescriptorToSecurityDescriptorW(dacl.c_str(), SDDL_REVISION_1, &rights,
                                                             nullptr);
        EXPECT_EQ(RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, rights), ERROR_SUCCESS);
        LocalFree(rights);
    };
    allow(L"KR");
    const Values stored = Stored();
    std::vector<std::wstring> said;
    Start(true);
    WithDialog(
        [&](HWND dialog) {
            if (!GetDlgItem(dialog, IDC_RESET_SCORES)) {  // a box
                said.push_back(Said(dialog));
                PostMessageW(dialog, WM_COMMAND, IDOK, 0);
                return;
            }
            EXPECT_EQ(Text(dialog, IDC_NAME2), std::wstring(63, L'あ')) << "a long name";
            SendMessageW(GetDlgItem(dialog, IDC_RESET_SCORES), BM_CLICK, 0, 0);
            EXPECT_EQ(Text(dialog, IDC_TIME1), L"50 秒") << "the records after the clear button";
            SendMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
        },
        [] {
            Choose(L"ハイスコア(&H)", false);
            Lay(kLastClick);
            game.settings.Difficulty = CMD_BEGINNER;
            Gesture("L+@0,0 L-");
        });
    Quit();
    EXPECT_EQ(said, (std::vector<std::wstring>{
                        L"ハイスコアを保存できないため、クリアできませんでした。",
                        L"ハイスコアを保存できないため、記録は残せませんでした。"}));
    EXPECT_EQ(Stored(), stored) << "a read-only key changed";
    allow(L"KA");
    RegCloseKey(key);
}

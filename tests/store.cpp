// The registry store and the dialogs that edit it: the custom field, the name of a record
// holder and the records.
#include "store/store.h"

#include <sddl.h>

#include <climits>
#include <cstdlib>
#include <cwchar>
#include <random>

#include "kit.h"

static const wchar_t* const kNames[] = {L"ClickMode", L"Difficulty", L"Height", L"Width", L"Mines",
                                        L"XPos",      L"Ypos",       L"Time1",  L"Time2", L"Time3",
                                        L"Name1",     L"Name2",      L"Name3"};

// The seed of the random rounds: TESSELMARK_SEED when set, else a fresh one (the case traces it).
static unsigned Seed() {
    const char* fixed = std::getenv("TESSELMARK_SEED");
    return fixed ? static_cast<unsigned>(std::strtoul(fixed, nullptr, 10)) : std::random_device{}();
}

// One of the two limits, or a value between them.
static int32_t Within(std::mt19937& random, int32_t low, int32_t high) {
    const int32_t pick = static_cast<int32_t>(random() % 3);
    return pick == 0 ? low : pick == 1 ? high : low + static_cast<int32_t>(random() % (high - low));
}

// Values the game itself could have written: a custom field in range, its limits included,
// times, names of up to 63 units.
static void PutValid(std::mt19937& random) {
    const int32_t width = Within(random, 9, 30), height = Within(random, 9, 24);
    const int32_t mode = random() % 2 ? CMD_MODE_ENERGY_SAVING : CMD_MODE_ORIGINAL;
    const int32_t mines = Within(random, 10, (width - 1) * (height - 1));
    const auto draw = [&random](uint32_t n) { return static_cast<int32_t>(random() % n); };
    const int32_t x = draw(1150) - 150, y = draw(850) - 150, time = draw(1000);
    const int32_t numbers[] = {mode, CMD_CUSTOM, height, width, mines, x, y, time, 998, 0};
    for (int i = 0; i < 10; ++i) PutNumber(kNames[i], numbers[i]);
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
// range on a screen, one level and one mode ticked. Values the game itself could have written
// load exactly: stored again they give the same bytes; moving the window and quitting stores
// nothing.
TEST(Store, AnyStoredValuesStartAFreshGameInRange) {
    const unsigned seed = Seed();
    SCOPED_TRACE(testing::Message() << "replay with TESSELMARK_SEED=" << seed);
    std::mt19937 random(seed);
    for (int round = 0; round < 60 && !HasFailure(); ++round) {
        const bool valid = round % 3 == 0;
        RegDeleteTreeW(HKEY_CURRENT_USER, kStoreKey);
        valid ? PutValid(random) : PutDamaged(random);
        const Values written = Stored();
        WithDialog([](HWND dialog) { ADD_FAILURE() << "a dialog at start-up: " << Text(dialog); },
                   StartWithStore);
        Values kept = Stored();  // what the start itself stored
        const Settings& s = game.settings;
        const auto expectWithin = [](int32_t value, int32_t low, int32_t high, const char* what) {
            EXPECT_GE(value, low) << what;
            EXPECT_LE(value, high) << what;
        };
        expectWithin(s.Width, 9, 30, "columns");
        expectWithin(s.Height, 9, 24, "rows");
        expectWithin(s.Mines, 10, (s.Width - 1) * (s.Height - 1), "mines");
        for (int32_t time : {s.Time1, s.Time2, s.Time3}) expectWithin(time, 0, 999, "a time");
        for (const wchar_t* name : {s.Name1, s.Name2, s.Name3}) {
            EXPECT_NE(wmemchr(name, 0, kNameCapacity), nullptr) << "a name with no end";
        }
        EXPECT_NE(MonitorFromWindow(win, MONITOR_DEFAULTTONULL), nullptr) << "off every screen";
        EXPECT_EQ(Checked().size(), 2u) << "one level and one mode ticked";
        if (valid) {
            SetWindowPos(win, nullptr, s.XPos, s.Ypos, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
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

// What is typed into the custom dialog (after Tab from OK and Cancel to the rows, then to the
// columns and the mines), or pasted into the rows, and how it ends; the field it must give.
struct Custom {
    const wchar_t *typed, *paste;
    enum { Ok, Cancel } end;
    int rows, columns, mines;
};
void PrintTo(const Custom& c, std::ostream* out) {
    *out << testing::PrintToString(std::wstring(c.paste) + c.typed) << " end " << c.end;
}

class CustomDialog : public testing::TestWithParam<Custom> {};

// The dialog shows the current field (the expert's, a flag on it: OK with nothing typed applies
// it). Numbers are read and brought into range; Enter and Esc do not end the dialog; OK applies the
// field as a new game even when nothing changed, while Cancel changes nothing.
TEST_P(CustomDialog, TakesWhatIsTyped) {
    const Custom& c = GetParam();
    Start();
    Choose(L"上級(&E)");
    Gesture("R+@0,0 R-");
    const Values stored = Stored();
    WithDialog(
        [&c](HWND dialog) {
            Type(L"\t\t");
            // A paste puts in what the edits' own filtering would refuse to take from keys.
            if (*c.paste) {
                SendMessageW(GetFocus(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(c.paste));
            }
            Type(std::wstring(c.typed) + L"\r\x1b");
            EXPECT_TRUE(IsWindowVisible(dialog)) << "Enter or Esc ended the dialog";
            Type(c.end == Custom::Ok ? L"\t " : L"\t\t ");
        },
        [] { Choose(L"盤面の変更(&C)"); });
    if (c.end != Custom::Ok) {
        EXPECT_TRUE(game.board[0][0].flagged) << "the game in play ended";
        EXPECT_EQ(Stored(), stored);
    } else {
        EXPECT_EQ(Stored(), Stored(40017, c.columns, c.rows, c.mines, 40031, {300, 200}));
        EXPECT_EQ(Checked(), (std::vector<std::wstring>{L"盤面の変更(&C)", L"オリジナル"}));
        ExpectScreen("", Smile, c.mines, 0);
    }
    Quit();
}

const Custom kFields[] = {
    // Typed: emptied (below the limits), beyond the mines' limit for the field, beyond 32 bits,
    // letters among the digits (the edits refuse them), nothing changed.
    {L"\b\t\b\t\b", L"", Custom::Ok, 9, 9, 10},
    {L"9\t9\t65", L"", Custom::Ok, 9, 9, 64},
    {L"4294967296\t99999999999\t2147483648", L"", Custom::Ok, 24, 30, 667},
    {L"1a2\t1b0\t4c0", L"", Custom::Ok, 12, 10, 40},
    {L"\t\t", L"", Custom::Ok, 16, 30, 99},
    // Pasted into the rows: a sign, spaces.
    {L"\t10\t40", L"-5", Custom::Ok, 9, 10, 40},
    {L"\t10\t40", L" 12 ", Custom::Ok, 12, 10, 40},
    // Cancelled.
    {L"12\t10\t99", L"", Custom::Cancel},
};
INSTANTIATE_TEST_SUITE_P(Fields, CustomDialog, testing::ValuesIn(kFields));

// A field in play that the next click at (0,0) wins.
static const char kLastClick[] =
    "........0/........./........./........./........./"
    "........./........./........*/*********";

// A win at a level in some seconds, beside a time stored before (0: none); what is typed into
// the name dialog (nullptr: no name is asked) and how it ends (nullptr: the close box); the
// dialog's title and the name kept.
struct Win {
    int level, storedTime, seconds;
    const wchar_t *typed, *end, *title, *name;
};
void PrintTo(const Win& w, std::ostream* out) { *out << w.level << " in " << w.seconds << " s"; }

class FasterWin : public testing::TestWithParam<Win> {};

// A win faster than the level's best asks for the holder's name over the won board, in a dialog
// with no caption, the old holder's name selected so that typing replaces it; Esc does nothing,
// Enter keeps at most 15 units, the close box keeps the old name. The records follow with the new
// time and name; every win stores all six.
TEST_P(FasterWin, AsksForTheNameShowsTheRecordsAndStoresThem) {
    const Win& w = GetParam();
    Start();
    if (w.storedTime) game.settings.Time1 = w.storedTime;
    RegDeleteTreeW(HKEY_CURRENT_USER, kStoreKey);
    Lay(kLastClick);
    game.settings.Difficulty = w.level;
    game.elapsedSeconds = w.seconds;
    const int row = w.level - CMD_BEGINNER;
    int dialogs = 0;
    WithDialog(
        [&](HWND dialog) {
            if (++dialogs == 1) {  // the name
                EXPECT_EQ(GetWindowLongW(dialog, GWL_STYLE), LONG(0x940000CC)) << "no caption";
                ExpectScreen(nullptr, Sunglasses, 0, w.seconds);
                EXPECT_EQ(Said(dialog), std::wstring(w.title) + L"名前を入力しましょう。");
                EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_NAME_EDIT)) << "no focus";
                EXPECT_EQ(Text(dialog, IDC_NAME_EDIT), L"名前なし");
                Type(std::wstring(L"\x1b") + w.typed + (w.end ? w.end : L""));
                if (!w.end) PostMessageW(dialog, WM_CLOSE, 0, 0);
                return;
            }
            EXPECT_EQ(Text(dialog, IDC_TIME1 + row), std::to_wstring(w.seconds) + L" 秒");
            EXPECT_EQ(Text(dialog, IDC_NAME1 + row), w.name);
            SendMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
        },
        [] { Gesture("L+@0,0 L-"); });
    EXPECT_EQ(game.phase, Won);
    EXPECT_EQ(dialogs, w.typed ? 2 : 0) << "the dialogs of the win: the name, the records";
    Values records = {{L"Name1", L"'名前なし'"}, {L"Name2", L"'名前なし'"},
                      {L"Name3", L"'名前なし'"}, {L"Time1", L"999"},
                      {L"Time2", L"999"},        {L"Time3", L"999"}};
    if (w.storedTime) records[L"Time1"] = std::to_wstring(w.storedTime);
    if (w.typed) {
        records[L"Time" + std::to_wstring(row + 1)] = std::to_wstring(w.seconds);
        records[L"Name" + std::to_wstring(row + 1)] = L"'" + std::wstring(w.name) + L"'";
    }
    EXPECT_EQ(Stored(), records) << "the records stored after the win";
    Quit();
}

const Win kWins[] = {
    {CMD_BEGINNER, 0, 41, L"0123456789abcdefghij", L"\r", L"初級のハイスコアです!",
     L"0123456789abcde"},
    {CMD_INTERMEDIATE, 0, 998, L"", L"\r", L"中級のハイスコアです!", L"名前なし"},
    {CMD_EXPERT, 0, 10, L"taro", nullptr, L"上級のハイスコアです!", L"名前なし"},
    // A time equal to the best asks for nothing (a custom field's neither: the gesture cases win
    // custom fields with no dialog).
    {CMD_BEGINNER, 41, 41},
};
INSTANTIATE_TEST_SUITE_P(Wins, FasterWin, testing::ValuesIn(kWins));

// The clear button clears the records shown and stored.
TEST(Store, ClearingTheRecordsStoresThemCleared) {
    RegDeleteTreeW(HKEY_CURRENT_USER, kStoreKey);
    PutNumber(L"Time2", 50);
    PutName(L"Name2", L"taro");
    StartWithStore();
    WithDialog(
        [](HWND dialog) {
            SendMessageW(GetDlgItem(dialog, IDC_RESET_SCORES), BM_CLICK, 0, 0);
            EXPECT_EQ(Text(dialog, IDC_TIME2), L"999 秒") << "shown after the clear button";
            EXPECT_EQ(Text(dialog, IDC_NAME2), L"名前なし") << "shown after the clear button";
            SendMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
        },
        [] { Choose(L"ハイスコア(&H)"); });
    Quit();
    EXPECT_EQ(Stored().at(L"Time2"), L"999") << "stored after the clear button";
    EXPECT_EQ(Stored().at(L"Name2"), L"'名前なし'") << "stored after the clear button";
}

// A key the player may read but not write (a managed profile): the records show (a stored name
// longer than the game keeps by its first 63 units), while clearing them and a faster win are
// told as not kept and change nothing.
TEST(Store, UnderAReadOnlyKeyNothingIsShownAsKept) {
    RegDeleteTreeW(HKEY_CURRENT_USER, kStoreKey);
    PutNumber(L"Time1", 50);
    PutName(L"Name2", std::wstring(100, L'あ'));
    HKEY key = nullptr;
    RegOpenKeyExW(HKEY_CURRENT_USER, kStoreKey, 0, WRITE_DAC, &key);
    const auto allow = [key](const wchar_t* dacl) {
        PSECURITY_DESCRIPTOR rights = nullptr;
        ConvertStringSecurityDescriptorToSecurityDescriptorW(dacl, SDDL_REVISION_1, &rights,
                                                             nullptr);
        EXPECT_EQ(RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, rights), ERROR_SUCCESS);
        LocalFree(rights);
    };
    allow(L"D:P(A;;KR;;;WD)");  // everyone may read
    const Values stored = Stored();
    std::vector<std::wstring> said;
    StartWithStore();
    WithDialog(
        [&](HWND dialog) {
            if (Text(dialog) != L"ハイスコア") {  // a box
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
            Choose(L"ハイスコア(&H)");
            Lay(kLastClick);
            game.settings.Difficulty = CMD_BEGINNER;
            Gesture("L+@0,0 L-");
        });
    Quit();
    EXPECT_EQ(said, (std::vector<std::wstring>{
                        L"ハイスコアを保存できないため、クリアできませんでした。",
                        L"ハイスコアを保存できないため、記録は残せませんでした。"}));
    EXPECT_EQ(Stored(), stored) << "a read-only key changed";
    allow(L"D:P(A;;KA;;;WD)");
    RegCloseKey(key);
}

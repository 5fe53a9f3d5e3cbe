// The custom board, high-score and new-record dialogs, opened by the real main window
// and driven as a player drives them, with the records read back from the registry.
#include <gtest/gtest.h>

#include <string>

#include "store/store.h"
#include "testkit.h"
#include "ui/ui.h"

namespace {

void Command(HWND window, int id) { SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

// A key pressed in the focused control, through the dialog manager as the modal loop does.
void PressKey(HWND dialog, WPARAM key)
{
    MSG message = {GetFocus(), WM_KEYDOWN, key, 0, 0, {}};
    if (!message.hwnd) message.hwnd = dialog;
    IsDialogMessageW(dialog, &message);
}

// The window system's own OK and cancel commands, by key and by id, must not end the dialog.
void ExpectSystemCommandsIgnored(HWND dialog)
{
    PressKey(dialog, VK_RETURN);
    PressKey(dialog, VK_ESCAPE);
    SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(IsWindowVisible(dialog)) << "the dialog ended on Enter, Esc or IDCANCEL";
}

// Rows 0 to 6 hold no mine: one opening at (0, 0) floods every safe cell and wins.
void WinningBoard()
{
    LayBoard({".........", ".........", ".........", ".........", ".........", ".........", ".........",
              "........*", "*********"});
}

// Wins the laid board with one click after `seconds` seconds.
void WinAfter(HWND window, int seconds)
{
    game.phase = Running;
    game.elapsedSeconds = seconds;
    Mouse(window, WM_LBUTTONDOWN, CellX(0), CellY(0));
    Mouse(window, WM_LBUTTONUP, CellX(0), CellY(0));
}

class Store : public ::testing::Test {
protected:
    void SetUp() override { window = StartGame(); }
    void TearDown() override { EndGame(window); }
    HWND window = nullptr;
};

TEST_F(Store, CustomDialogBringsEveryNumberIntoRange)
{
    struct Case { const wchar_t *rows, *columns, *mines; int height, width, count; } cases[] = {
        {L"8", L"8", L"9", 9, 9, 10},
        {L"25", L"31", L"9", 24, 30, 10},
        {L"", L"", L"", 9, 9, 10},
        {L"9", L"9", L"100", 9, 9, 64},
        {L"9", L"9", L"64", 9, 9, 64},
        {L"9", L"9", L"65", 9, 9, 64},
        {L"100", L"100", L"1000", 24, 30, 667},
        {L"24", L"30", L"667", 24, 30, 667},
        {L"4294967295", L"2147483648", L"3000000000", 24, 30, 667},
        {L"4294967296", L"x", L"12", 9, 9, 12},
        {L"10", L"12", L"99", 10, 12, 99},
    };
    Command(window, CMD_EXPERT);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::string(c.rows, c.rows + wcslen(c.rows)) << " rows");
        const Settings before = game.settings;
        WithDialog(
            [&](HWND dialog) {
                // It opens with the current field and the focus on its first tab stop.
                EXPECT_EQ(DialogText(dialog, IDC_HEIGHT), std::to_wstring(before.Height));
                EXPECT_EQ(DialogText(dialog, IDC_WIDTH), std::to_wstring(before.Width));
                EXPECT_EQ(DialogText(dialog, IDC_MINES), std::to_wstring(before.Mines));
                SetDlgItemTextW(dialog, IDC_HEIGHT, c.rows);
                SetDlgItemTextW(dialog, IDC_WIDTH, c.columns);
                SetDlgItemTextW(dialog, IDC_MINES, c.mines);
                SetFocus(GetDlgItem(dialog, IDC_MINES));
                ExpectSystemCommandsIgnored(dialog);
                EXPECT_EQ(game.settings.Width, before.Width) << "the field changed before OK";
                SendMessageW(GetDlgItem(dialog, IDC_CUSTOM_OK), BM_CLICK, 0, 0);
            },
            [&] { Command(window, CMD_CUSTOM); });
        EXPECT_EQ(game.settings.customHeight, c.height);
        EXPECT_EQ(game.settings.customWidth, c.width);
        EXPECT_EQ(game.settings.customMines, c.count);
        EXPECT_EQ(game.settings.Height, c.height);
        EXPECT_EQ(game.settings.Width, c.width);
        EXPECT_EQ(CountMines(), c.count);
        EXPECT_EQ(StoredNumber(L"Difficulty"), static_cast<DWORD>(CMD_CUSTOM));
        EXPECT_EQ(StoredNumber(L"Height"), static_cast<DWORD>(c.height));
        EXPECT_EQ(StoredNumber(L"Width"), static_cast<DWORD>(c.width));
        EXPECT_EQ(StoredNumber(L"Mines"), static_cast<DWORD>(c.count));
        RECT client;
        GetClientRect(window, &client);
        EXPECT_EQ(client.right, 16 * c.width + 20);
    }

    // Cancel and close keep the last choice, even after the edits were changed.
    for (bool viaClose : {false, true}) {
        WithDialog(
            [&](HWND dialog) {
                SetDlgItemTextW(dialog, IDC_HEIGHT, L"20");
                SetDlgItemTextW(dialog, IDC_MINES, L"11");
                if (viaClose) PostMessageW(dialog, WM_CLOSE, 0, 0);
                else SendMessageW(GetDlgItem(dialog, IDC_CUSTOM_CANCEL), BM_CLICK, 0, 0);
            },
            [&] { Command(window, CMD_CUSTOM); });
        EXPECT_EQ(game.settings.customHeight, 10);
        EXPECT_EQ(game.settings.customWidth, 12);
        EXPECT_EQ(game.settings.customMines, 99);
        EXPECT_EQ(game.settings.Height, 10);
    }
}

TEST_F(Store, HighScoresClearAtOnceAndStayOpen)
{
    game.settings.Time1 = 7;
    game.settings.Time2 = 0;
    game.settings.Time3 = 998;
    lstrcpyW(game.settings.Name1, L"さくら");
    lstrcpyW(game.settings.Name2, L"");
    lstrcpyW(game.settings.Name3, L"Kelvin");
    WithDialog(
        [&](HWND dialog) {
            EXPECT_EQ(DialogText(dialog, IDC_TIME1), L"7 秒");
            EXPECT_EQ(DialogText(dialog, IDC_TIME2), L"0 秒");
            EXPECT_EQ(DialogText(dialog, IDC_TIME3), L"998 秒");
            EXPECT_EQ(DialogText(dialog, IDC_NAME1), L"さくら");
            EXPECT_EQ(DialogText(dialog, IDC_NAME2), L"");
            EXPECT_EQ(DialogText(dialog, IDC_NAME3), L"Kelvin");
            PressKey(dialog, VK_ESCAPE);
            SendMessageW(dialog, WM_COMMAND, 4242, 0);
            EXPECT_TRUE(IsWindowVisible(dialog)) << "Esc or an unknown command closed the dialog";
            SendMessageW(GetDlgItem(dialog, IDC_RESET_SCORES), BM_CLICK, 0, 0);
            EXPECT_TRUE(IsWindowVisible(dialog)) << "clearing closed the dialog";
            for (int i = 0; i < 3; ++i) {
                EXPECT_EQ(DialogText(dialog, IDC_TIME1 + i), L"999 秒");
                EXPECT_EQ(DialogText(dialog, IDC_NAME1 + i), L"名前なし");
            }
            // Stored at once, while the dialog is still up.
            for (const wchar_t* name : {L"Time1", L"Time2", L"Time3"}) EXPECT_EQ(StoredNumber(name), 999u);
            for (const wchar_t* name : {L"Name1", L"Name2", L"Name3"}) EXPECT_EQ(StoredText(name), L"名前なし");
            SendMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
        },
        [&] { Command(window, CMD_HIGH_SCORES); });
    EXPECT_EQ(game.settings.Time2, 999);
    EXPECT_STREQ(game.settings.Name2, L"名前なし");
}

TEST_F(Store, ANewRecordAsksForTheNameThenShowsTheRecords)
{
    struct Case {
        int level, seconds;
        const wchar_t *title, *holder, *typed, *stored;
        int32_t Settings::*time;
        wchar_t (Settings::*name)[64];
    } cases[] = {
        {CMD_BEGINNER, 998, L"初級のハイスコアです!", L"名前なし", L"ABCDEFGHIJKLMNOPQRST", L"ABCDEFGHIJKLMNO", &Settings::Time1, &Settings::Name1},
        {CMD_INTERMEDIATE, 1, L"中級のハイスコアです!", L"みどり", nullptr, L"みどり", &Settings::Time2, &Settings::Name2},
        {CMD_EXPERT, 120, L"上級のハイスコアです!", L"", L"ゆき", L"ゆき", &Settings::Time3, &Settings::Name3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level);
        game.settings.Difficulty = c.level;
        lstrcpyW(game.settings.*c.name, c.holder);
        game.settings.*c.time = c.seconds + 1;
        WinningBoard();
        int dialogs = 0;
        WithDialog(
            [&](HWND dialog) {
                ++dialogs;
                HWND edit = GetDlgItem(dialog, IDC_NAME_EDIT);
                if (dialogs == 1) {
                    ASSERT_NE(edit, nullptr) << "the first dialog is not the name entry";
                    EXPECT_EQ(game.phase, Won);
                    EXPECT_EQ(game.settings.*c.time, c.seconds) << "the time is not in place before the name";
                    EXPECT_EQ(DialogText(dialog, IDC_RECORD_TITLE), c.title);
                    EXPECT_EQ(DialogText(dialog, IDC_NAME_EDIT), c.holder);
                    EXPECT_EQ(GetFocus(), edit);
                    DWORD start = 99, end = 99;
                    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
                    EXPECT_EQ(start, 0u);
                    EXPECT_EQ(end, wcslen(c.holder)) << "the holder's name is not wholly selected";
                    PressKey(dialog, VK_ESCAPE);
                    EXPECT_TRUE(IsWindowVisible(dialog)) << "Esc ended the name entry";
                    if (c.typed) SetWindowTextW(edit, c.typed);
                    PressKey(dialog, VK_RETURN);
                } else {
                    EXPECT_EQ(edit, nullptr) << "the second dialog is not the high scores";
                    EXPECT_EQ(DialogText(dialog, IDC_TIME1 + (c.level - CMD_BEGINNER)), std::to_wstring(c.seconds) + L" 秒");
                    EXPECT_EQ(DialogText(dialog, IDC_NAME1 + (c.level - CMD_BEGINNER)), c.stored);
                    SendMessageW(dialog, WM_COMMAND, IDOK, 0);
                }
            },
            [&] { WinAfter(window, c.seconds); });
        EXPECT_EQ(dialogs, 2);
        EXPECT_STREQ(game.settings.*c.name, c.stored);
        const wchar_t* timeName[] = {L"Time1", L"Time2", L"Time3"};
        const wchar_t* nameName[] = {L"Name1", L"Name2", L"Name3"};
        EXPECT_EQ(StoredNumber(timeName[c.level - CMD_BEGINNER]), static_cast<DWORD>(c.seconds));
        EXPECT_EQ(StoredText(nameName[c.level - CMD_BEGINNER]), c.stored);
    }
}

TEST_F(Store, WinsWithoutARecordStoreTheRecordsWithoutADialog)
{
    // An equal time is no record; a custom win has no slot; 999 seconds beats no one.
    struct Case { int level, best, seconds; } cases[] = {
        {CMD_INTERMEDIATE, 50, 50}, {CMD_CUSTOM, 999, 1}, {CMD_BEGINNER, 999, 999}, {CMD_EXPERT, 999, 1500}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level);
        DeleteStore();
        game.settings.Difficulty = c.level;
        game.settings.Time1 = game.settings.Time2 = game.settings.Time3 = c.best;
        lstrcpyW(game.settings.Name2, L"前の人");
        WinningBoard();
        EXPECT_EQ(DialogsOpenedBy([&] { WinAfter(window, c.seconds); }), 0);
        EXPECT_EQ(game.phase, Won);
        for (const wchar_t* name : {L"Time1", L"Time2", L"Time3"}) EXPECT_EQ(StoredNumber(name), static_cast<DWORD>(c.best));
        EXPECT_EQ(StoredText(L"Name2"), L"前の人");
        EXPECT_EQ(StoredText(L"Name1"), L"名前なし");
    }
}

TEST_F(Store, ClearingDuringTheRecordsDialogOfANewRecordDiscardsIt)
{
    game.settings.Difficulty = CMD_BEGINNER;
    WinningBoard();
    bool closedName = false;
    WithDialog(
        [&](HWND dialog) {
            if (!closedName) {
                closedName = true;
                PostMessageW(dialog, WM_CLOSE, 0, 0);  // keeps the former holder's name
                return;
            }
            EXPECT_EQ(DialogText(dialog, IDC_TIME1), L"42 秒");
            SendMessageW(GetDlgItem(dialog, IDC_RESET_SCORES), BM_CLICK, 0, 0);
            SendMessageW(dialog, WM_COMMAND, IDOK, 0);
        },
        [&] { WinAfter(window, 42); });
    EXPECT_EQ(game.settings.Time1, 999);
    EXPECT_EQ(StoredNumber(L"Time1"), 999u);
    EXPECT_EQ(StoredText(L"Name1"), L"名前なし");
}

TEST(StoreWindow, QuittingKeepsTheStoredPositionAndTheNextStartUsesIt)
{
    HWND window = StartGame();
    SetWindowPos(window, nullptr, 140, 90, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Command(window, CMD_INTERMEDIATE);
    SetWindowPos(window, nullptr, 260, 170, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(window, WM_CLOSE, 0, 0);
    PumpMessages();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(StoredNumber(L"XPos"), 140u);
    EXPECT_EQ(StoredNumber(L"Ypos"), 90u);
    window = StartGameKeepingStore();
    RECT rect;
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.left, 140);
    EXPECT_EQ(rect.top, 90);
    EXPECT_EQ(game.settings.Width, 16);
    EndGame(window);
}

}  // namespace

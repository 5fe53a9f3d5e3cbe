// The menu as a player uses it, on the real window, at the display's scale.
#include "kit.h"
#include "store/store.h"
#include "ui/ui.h"

// A game menu item chosen by its text, after `first` (if any), with a game under way and the
// window moved into the corner (where the expert's window is whole on the screen at 200 %).
struct Item {
    const wchar_t *first, *item;
    int columns, rows, mines;
    const wchar_t *level, *mode;  // the items ticked afterwards
    int levelId, modeId;          // and what is stored for them
    POINT stored;                 // the corner stored
};
void PrintTo(const Item& item, std::ostream* out) {
    *out << testing::PrintToString(std::wstring(item.item));
}

class MenuItem : public testing::TestWithParam<Item> {};

// A level keeps the window's corner, fits the window to its field, shows a fresh game at once,
// ticks itself alone and stores itself with the window's corner, also when it is the current
// level; a
// mode ticks and stores itself and leaves the game as it was; スタート shows a fresh game of the
// same size and stores nothing (what stays stored is the first start's: a beginner's field in
// the original mode at 300, 200).
TEST_P(MenuItem, DoesWhatItsTextSays) {
    const Item& it = GetParam();
    Start();
    if (it.first) Choose(it.first);
    SetWindowPos(win, nullptr, 4, 8, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Gesture("L+@1,1 L- R+@2,2 R-");
    const std::string before = Board();
    Choose(it.item);
    EXPECT_EQ(Checked(), (std::vector<std::wstring>{it.level, it.mode}));
    EXPECT_EQ(Stored(), Stored(it.levelId, it.columns, it.rows, it.mines, it.modeId, it.stored));
    if (std::wstring(it.item) == it.mode) {
        EXPECT_EQ(Board(), before) << "the game in play";
    } else {
        ExpectScreen("", Smile, it.mines, 0);
    }
    Quit();
}

const Item kItems[] = {
    {nullptr, L"上級(&E)", 30, 16, 99, L"上級(&E)", L"オリジナル", 40016, 40031, {4, 8}},
    {nullptr, L"中級(&I)", 16, 16, 40, L"中級(&I)", L"オリジナル", 40015, 40031, {4, 8}},
    {L"上級(&E)", L"初級(&B)", 9, 9, 10, L"初級(&B)", L"オリジナル", 40014, 40031, {4, 8}},
    {nullptr, L"初級(&B)", 9, 9, 10, L"初級(&B)", L"オリジナル", 40014, 40031, {4, 8}},
    {nullptr, L"スタート(&N)", 9, 9, 10, L"初級(&B)", L"オリジナル", 40014, 40031, {300, 200}},
    {L"上級(&E)", L"省エネ", 30, 16, 99, L"上級(&E)", L"省エネ", 40016, 40030, {300, 200}},
    {L"省エネ", L"オリジナル", 9, 9, 10, L"初級(&B)", L"オリジナル", 40014, 40031, {300, 200}},
};
INSTANTIATE_TEST_SUITE_P(Game, MenuItem, testing::ValuesIn(kItems));

class DialogInPlay : public testing::TestWithParam<const wchar_t*> {};

// A dialog opened during a game leaves its clock running: it ticks behind the dialog, a second
// after the first opening.
TEST_P(DialogInPlay, LeavesTheClockRunning) {
    Start();
    Lay("F..*..../......../...*....");
    Gesture("L+@2,0 L-");
    const ULONGLONG opened = GetTickCount64();
    WithDialog(
        [opened](HWND dialog) {
            EXPECT_TRUE(Pump([] { return game.elapsedSeconds == 2; }, 1150)) << "no tick";
            EXPECT_GE(GetTickCount64() - opened, 850u) << "a tick before the second was out";
            PostMessageW(dialog, WM_CLOSE, 0, 0);
        },
        [] { Choose(GetParam()); });
    EXPECT_EQ(game.phase, Running);
    Quit();
}
INSTANTIATE_TEST_SUITE_P(Menu, DialogInPlay,
                         testing::Values(L"ハイスコア(&H)", L"盤面の変更(&C)",
                                         L"バージョン情報(&A)"));

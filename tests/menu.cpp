// Start-up and the menu as a player uses it, on the real window, at the display's scale.
#include <cstdio>

#include "kit.h"
#include "store/store.h"
#include "ui/ui.h"

static POINT Corner() {
    RECT place;
    GetWindowRect(win, &place);
    return {place.left, place.top};
}

static bool operator==(POINT a, POINT b) { return a.x == b.x && a.y == b.y; }
static std::ostream& operator<<(std::ostream& out, POINT p) {
    return out << "(" << p.x << ", " << p.y << ")";
}

// A first start registers the class (no double clicks, the game's icon, the arrow), titles and
// styles the window, and shows and stores a fresh beginner's field in the original mode at 300,
// 200.
TEST(Start, AFirstStartShowsAFreshBeginnersFieldAt300And200) {
    Start();
    WNDCLASSEXW registered = {};
    registered.cbSize = sizeof registered;
    ASSERT_TRUE(GetClassInfoExW(GetModuleHandleW(nullptr), L"Tesselmark", &registered));
    const HINSTANCE exe = GetModuleHandleW(nullptr);
    EXPECT_EQ(registered.style, static_cast<UINT>(CS_HREDRAW | CS_VREDRAW)) << "the class style";
    EXPECT_EQ(registered.hIcon, LoadIconW(exe, MAKEINTRESOURCEW(IDI_MAIN))) << "the icon";
    EXPECT_EQ(registered.hCursor, LoadCursorW(nullptr, IDC_ARROW)) << "the cursor";
    EXPECT_EQ(Text(win), L"テセルマーク") << "the title";
    EXPECT_EQ(GetWindowLongW(win, GWL_STYLE) & ~WS_CLIPSIBLINGS, 0x10CA0000) << "the style";
    // The system adds the raised edge to every captioned window; nothing else is extended.
    EXPECT_EQ(GetWindowLongW(win, GWL_EXSTYLE) & ~WS_EX_WINDOWEDGE, 0) << "the extended style";
    EXPECT_EQ(Corner(), (POINT{300, 200}));
    EXPECT_EQ(Checked(), (std::vector<std::wstring>{L"初級(&B)", L"オリジナル"}));
    EXPECT_EQ(Stored(), Stored(40014, 9, 9, 10, 40031, {300, 200}));
    ExpectScreen("", Smile, "010", "000");
    Quit();
}

// A game menu item chosen by its text, after `first` (if any), with a game under way and the
// window moved into the corner (where the expert's window is whole on the screen at 200 %).
struct Item {
    const wchar_t* first;
    const wchar_t* item;
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
// ticks itself alone and stores itself with the corner, also when it is the current level; a
// mode ticks and stores itself and leaves the game as it was; スタート shows a fresh game of the
// same size and stores nothing.
TEST_P(MenuItem, DoesWhatItsTextSays) {
    const Item& it = GetParam();
    Start();
    if (it.first) Choose(it.first);
    SetWindowPos(win, nullptr, 4, 8, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Gesture("L+@1,1 L- R+@2,2 R-");
    const std::string before = Board();
    Choose(it.item);
    EXPECT_EQ(Checked(), (std::vector<std::wstring>{it.level, it.mode}));
    EXPECT_EQ(Corner(), (POINT{4, 8}));
    EXPECT_EQ(Stored(), Stored(it.levelId, it.columns, it.rows, it.mines, it.modeId, it.stored));
    if (std::wstring(it.item) == it.mode) {
        EXPECT_EQ(Board(), before) << "the game in play";
    } else {
        char mines[8];
        std::snprintf(mines, sizeof mines, "%03d", it.mines);
        ExpectScreen("", Smile, mines, "000");
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

// A dialog opened during a game leaves its clock running: it ticks behind the dialog.
TEST_P(DialogInPlay, LeavesTheClockRunning) {
    Start();
    Lay("F..*..../......../...*....", Ready);
    Gesture("L+@2,0 L-");
    WithDialog(
        [](HWND dialog) {
            EXPECT_TRUE(Pump([] { return game.elapsedSeconds == 2; }, 1500)) << "no tick";
            PostMessageW(dialog, WM_CLOSE, 0, 0);
        },
        [] { Choose(GetParam()); });
    EXPECT_EQ(game.phase, Running);
    Quit();
}
INSTANTIATE_TEST_SUITE_P(Menu, DialogInPlay,
                         testing::Values(L"ハイスコア(&H)", L"盤面の変更(&C)",
                                         L"バージョン情報(&A)"));

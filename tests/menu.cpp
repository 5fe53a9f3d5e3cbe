// Start-up and the menu as a player uses it, on the real window, at the display's scale.
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

// A first start, then each item of the game menu chosen by its text with the window moved away
// from where it started (into the corner, where the expert's window is whole on the screen at
// 200 %). The first start registers the class (no double clicks, the game's icon, the arrow),
// titles and styles the window and shows a fresh beginner's field at 300, 200. A level keeps the
// window's corner, fits the window to its field, shows a fresh game at once, ticks itself alone
// and stores itself with the corner, also when it is the current level; a mode ticks and stores
// itself and leaves the game as it was; スタート shows a fresh game of the same size. The version
// dialog opens over the game and closes on Esc.
TEST(Menu, AFirstStartAndEachItemDoWhatTheirTextsSay) {
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
    const struct {
        const wchar_t* item;  // nullptr: the first start
        int columns, rows, mines;
        const wchar_t *level, *mode;  // the items ticked afterwards
        int levelId, modeId;          // and what is stored for them
    } items[] = {
        {nullptr, 9, 9, 10, L"初級(&B)", L"オリジナル", 40014, 40031},
        {L"上級(&E)", 30, 16, 99, L"上級(&E)", L"オリジナル", 40016, 40031},
        {L"省エネ", 30, 16, 99, L"上級(&E)", L"省エネ", 40016, 40030},
        {L"中級(&I)", 16, 16, 40, L"中級(&I)", L"省エネ", 40015, 40030},
        {L"オリジナル", 16, 16, 40, L"中級(&I)", L"オリジナル", 40015, 40031},
        {L"初級(&B)", 9, 9, 10, L"初級(&B)", L"オリジナル", 40014, 40031},
        {L"初級(&B)", 9, 9, 10, L"初級(&B)", L"オリジナル", 40014, 40031},
        {L"スタート(&N)", 9, 9, 10, L"初級(&B)", L"オリジナル", 40014, 40031},
    };
    for (const auto& it : items) {
        const std::wstring item = it.item ? it.item : L"the first start";
        SCOPED_TRACE(testing::PrintToString(item));
        const bool mode = item == it.mode;
        const std::string before = Board();
        if (it.item) Choose(it.item, !mode);
        const POINT corner = it.item ? POINT{4, 8} : POINT{300, 200};
        EXPECT_EQ(Checked(), (std::vector<std::wstring>{it.level, it.mode}));
        EXPECT_EQ(Corner(), corner);
        const std::map<std::wstring, std::wstring> stored = {
            {L"ClickMode", std::to_wstring(it.modeId)},
            {L"Difficulty", std::to_wstring(it.levelId)},
            {L"Height", std::to_wstring(it.rows)},
            {L"Mines", std::to_wstring(it.mines)},
            {L"Width", std::to_wstring(it.columns)},
            {L"XPos", std::to_wstring(corner.x)},
            {L"Ypos", std::to_wstring(corner.y)}};
        EXPECT_EQ(Stored(), stored);
        if (mode) {
            EXPECT_EQ(Board(), before) << "the game in play";
        } else {
            ExpectScreen("", Smile, nullptr, "000");
        }
        SetWindowPos(win, nullptr, 4, 8, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        Gesture("L+@1,1 L- R+@2,2 R-");
    }
    WithDialog([](HWND) { Type(L"\x1b"); }, [] { Choose(L"バージョン情報(&A)", false); });
    Quit(WM_COMMAND);
}

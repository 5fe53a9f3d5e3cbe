// Start-up, the menu as a player uses it, and the end of the program, on the real window.
#include "kit.h"
#include "store/store.h"
#include "ui/ui.h"

static POINT Corner() {
    RECT place;
    GetWindowRect(win, &place);
    return {place.left, place.top};
}

static SIZE Size() {
    RECT place;
    GetWindowRect(win, &place);
    return {place.right - place.left, place.bottom - place.top};
}

// The window the layout asks for around a field of this size.
static SIZE SizeFor(int columns, int rows) {
    return {
        2 * GetSystemMetrics(SM_CXFIXEDFRAME) + 16 * columns + 20,
        GetSystemMetrics(SM_CYCAPTION) + 2 * GetSystemMetrics(SM_CYFIXEDFRAME) + 16 * rows + 83};
}

static bool operator==(POINT a, POINT b) { return a.x == b.x && a.y == b.y; }
static bool operator==(SIZE a, SIZE b) { return a.cx == b.cx && a.cy == b.cy; }
static std::ostream& operator<<(std::ostream& out, POINT p) {
    return out << "(" << p.x << ", " << p.y << ")";
}
static std::ostream& operator<<(std::ostream& out, SIZE s) { return out << s.cx << "x" << s.cy; }

// A field of this size with every cell covered, as ExpectScreen reads it.
static std::string Covered(int columns, int rows) {
    std::string text(columns, '#');
    for (int r = 1; r < rows; ++r) text += "/" + std::string(columns, '#');
    return text;
}

// A first start: the window class as registered, the title, style, place and size of the
// window, the beginner level and the original mode ticked, and what that stores.
TEST(Menu, AFirstStart) {
    Start();
    WNDCLASSEXW registered = {};
    registered.cbSize = sizeof registered;
    ASSERT_TRUE(GetClassInfoExW(GetModuleHandleW(nullptr), L"Tesselmark", &registered));
    const HINSTANCE exe = GetModuleHandleW(nullptr);
    EXPECT_EQ(registered.style, static_cast<UINT>(CS_HREDRAW | CS_VREDRAW)) << "the class style";
    EXPECT_EQ(registered.lpfnWndProc, MainWindowProc) << "the window procedure";
    EXPECT_EQ(registered.cbClsExtra + registered.cbWndExtra, 0) << "extra bytes";
    EXPECT_EQ(registered.hIcon, LoadIconW(exe, MAKEINTRESOURCEW(IDI_MAIN))) << "the icon";
    EXPECT_EQ(registered.hCursor, LoadCursorW(nullptr, IDC_ARROW)) << "the cursor";
    EXPECT_EQ(registered.hbrBackground, reinterpret_cast<HBRUSH>(COLOR_BACKGROUND + 1));
    EXPECT_EQ(registered.lpszMenuName, MAKEINTRESOURCEW(IDR_MAIN_MENU)) << "the menu";
    EXPECT_EQ(Text(win), L"テセルマーク") << "the title";
    EXPECT_EQ(GetWindowLongW(win, GWL_STYLE) & ~WS_CLIPSIBLINGS, 0x10CA0000) << "the style";
    // The system adds the raised edge to every captioned window; nothing else is extended.
    EXPECT_EQ(GetWindowLongW(win, GWL_EXSTYLE) & ~WS_EX_WINDOWEDGE, 0) << "the extended style";
    EXPECT_EQ(Corner(), (POINT{300, 200}));
    EXPECT_EQ(Size(), SizeFor(9, 9));
    EXPECT_EQ(Checked(), (std::vector<std::wstring>{L"初級(&B)", L"オリジナル"}));
    const std::map<std::wstring, std::wstring> stored = {
        {L"ClickMode", L"40031"}, {L"Difficulty", L"40014"}, {L"Height", L"9"}, {L"Mines", L"10"},
        {L"Width", L"9"},         {L"XPos", L"300"},         {L"Ypos", L"200"}};
    EXPECT_EQ(Stored(), stored);
    Quit();
}

// Each item of the game menu, chosen by its text with the window moved away from where it
// started. A level keeps the window's corner, fits the window to its field, shows a fresh game
// at once, ticks itself alone and stores itself with the corner, also when it is the current
// level; a mode ticks and stores itself and leaves the game as it was; スタート shows a fresh
// game of the same size. Commands no item sends do nothing.
TEST(Menu, EachItemDoesWhatItsTextSays) {
    Start();
    SetWindowPos(win, nullptr, 40, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    const struct {
        const wchar_t* item;
        int columns, rows, mines;
        const wchar_t *level, *mode;  // the items ticked afterwards
        int levelId, modeId;          // and what is stored for them
    } items[] = {
        {L"上級(&E)", 30, 16, 99, L"上級(&E)", L"オリジナル", 40016, 40031},
        {L"省エネ", 30, 16, 99, L"上級(&E)", L"省エネ", 40016, 40030},
        {L"中級(&I)", 16, 16, 40, L"中級(&I)", L"省エネ", 40015, 40030},
        {L"オリジナル", 16, 16, 40, L"中級(&I)", L"オリジナル", 40015, 40031},
        {L"初級(&B)", 9, 9, 10, L"初級(&B)", L"オリジナル", 40014, 40031},
        {L"初級(&B)", 9, 9, 10, L"初級(&B)", L"オリジナル", 40014, 40031},
        {L"スタート(&N)", 9, 9, 10, L"初級(&B)", L"オリジナル", 40014, 40031},
    };
    for (const auto& it : items) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(it.item)));
        const bool mode = std::wstring(it.item) == it.mode;
        Gesture("L+@1,1 L- R+@2,2 R-");
        const std::string before = Board();
        Choose(it.item, !mode);
        EXPECT_EQ(Checked(), (std::vector<std::wstring>{it.level, it.mode}));
        EXPECT_EQ(Corner(), (POINT{40, 60}));
        EXPECT_EQ(Size(), SizeFor(it.columns, it.rows));
        const std::map<std::wstring, std::wstring> stored = {
            {L"ClickMode", std::to_wstring(it.modeId)},
            {L"Difficulty", std::to_wstring(it.levelId)},
            {L"Height", std::to_wstring(it.rows)},
            {L"Mines", std::to_wstring(it.mines)},
            {L"Width", std::to_wstring(it.columns)},
            {L"XPos", L"40"},
            {L"Ypos", L"60"}};
        EXPECT_EQ(Stored(), stored);
        if (mode) {
            EXPECT_EQ(Board(), before) << "the game in play";
        } else {
            ExpectScreen(Covered(it.columns, it.rows).c_str(), Smile, nullptr, "000");
        }
    }
    const std::string before = Board();
    for (WPARAM stray : {40000, 40018, 40021, 40025, 40029, 40032}) {
        EXPECT_EQ(Send(WM_COMMAND, stray, 0, false), 0) << "command " << stray;
        EXPECT_EQ(Board(), before) << "command " << stray;
        EXPECT_EQ(Checked(), (std::vector<std::wstring>{L"初級(&B)", L"オリジナル"}));
    }
    Quit();
}

// The items that open a dialog: each opens its own, owned by the game with the game disabled
// behind it, its client area at the template's corner in the game's client area. The version
// dialog closes on its button, on Enter, on Esc and on its close box.
TEST(Menu, DialogItemsOpenTheirDialogOverTheGame) {
    Start();
    const struct {
        const wchar_t *item, *caption;
        int top;  // the template's corner, in dialog units below the client's top
    } items[] = {
        {L"盤面の変更(&C)", L"盤面の変更", 0},
        {L"ハイスコア(&H)", L"ハイスコア", 25},
        {L"バージョン情報(&A)", L"テセルマークのバージョン情報", 0},
    };
    for (const auto& it : items) {
        WithDialog(
            [&](HWND dialog) {
                EXPECT_EQ(Text(dialog), it.caption);
                POINT corner = {0, 0};
                ClientToScreen(win, &corner);
                RECT offset = {0, it.top, 0, 0};
                MapDialogRect(dialog, &offset);
                POINT placed = {0, 0};
                ClientToScreen(dialog, &placed);
                EXPECT_EQ(placed.x, corner.x) << "the dialog's left";
                EXPECT_EQ(placed.y, corner.y + offset.top) << "the dialog's top";
                PostMessageW(dialog, WM_CLOSE, 0, 0);
            },
            [&] { Choose(it.item, false); });
    }
    for (const wchar_t* keys : {L"\r", L"\x1b", L"button", L"close box"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(keys)));
        WithDialog(
            [&](HWND dialog) {
                if (keys[1] == 0) Type(keys);
                if (keys[0] == L'b') PostMessageW(GetDlgItem(dialog, IDC_ABOUT_OK), BM_CLICK, 0, 0);
                if (keys[0] == L'c') PostMessageW(dialog, WM_CLOSE, 0, 0);
            },
            [] { Choose(L"バージョン情報(&A)", false); });
    }
    Quit();
}

// The exit item and the close box end the program with 0 and store nothing, so a moved window
// starts again where it was stored. (A stored place off every screen: Dpi.TheWindowFits….)
TEST(Menu, TheEndAndTheNextStart) {
    for (UINT how : {WM_COMMAND, WM_CLOSE}) {
        Start();
        SetWindowPos(win, nullptr, 40, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        const auto stored = Stored();
        Quit(how);
        EXPECT_EQ(Stored(), stored) << "ending stored something";
        Start(true);
        EXPECT_EQ(Corner(), (POINT{300, 200})) << "where the next start opens";
        Quit();
    }
}

static LRESULT CALLBACK RefuseTheFirstWindow(int code, WPARAM, LPARAM) {
    static int windows = 0;
    return code == HCBT_CREATEWND && windows++ == 0;
}

// A class that cannot be registered and a window that cannot be made are told in a box of no
// owner, and the program ends with 0.
TEST(Menu, StartUpFailuresSayWhatFailedAndEndWithZero) {
    const HINSTANCE exe = GetModuleHandleW(nullptr);
    std::wstring said;
    const auto read = [&](HWND box) {
        said = Said(box);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    };
    RegisterMainWindowClass(exe);  // already registered: registering again fails
    WithDialog(
        read, [&] { EXPECT_EQ(RunGame(exe), 0); }, nullptr);
    EXPECT_EQ(said, L"ウィンドウクラスの作成に失敗しました");
    UnregisterClassW(kWindowClass, exe);
    HHOOK hook = SetWindowsHookExW(WH_CBT, RefuseTheFirstWindow, nullptr, GetCurrentThreadId());
    WithDialog(
        read, [&] { EXPECT_EQ(RunGame(exe), 0); }, nullptr);
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(said, L"ウィンドウの生成に失敗しました");
}

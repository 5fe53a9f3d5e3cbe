#include "kit.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <sstream>

#include "store/store.h"
#include "ui/ui.h"

HWND win;
static int erases;

static LRESULT CALLBACK Spy(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) ++erases;
    return MainWindowProc(window, message, wParam, lParam);
}

void StartWithStore() {
    RegisterMainWindowClass(GetModuleHandleW(nullptr));
    WNDCLASSEXW registered = {sizeof registered};
    GetClassInfoExW(GetModuleHandleW(nullptr), L"Tesselmark", &registered);
    ASSERT_EQ(registered.style, static_cast<UINT>(CS_HREDRAW | CS_VREDRAW)) << "no double clicks";
    game = GameState{};
    LoadSettings();
    win = CreateMainWindow(GetModuleHandleW(nullptr));
    if (const char* asked = std::getenv("TESSELMARK_DPI")) {  // set by scripts/at-dpi
        ASSERT_EQ(game.dpi, std::atoi(asked)) << "the window is not at the DPI of the prefix";
    }
    SetWindowLongPtrW(win, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Spy));
    UpdateWindow(win);
}

void Start() {
    RegDeleteTreeW(HKEY_CURRENT_USER, kStoreKey);
    StartWithStore();
}

void Quit(UINT how) {
    if (how == WM_COMMAND) {
        Choose(L"テセルマークの終了(&X)");
    } else if (how) {
        SendMessageW(win, how, 0, 0);
    } else {
        DestroyWindow(win);
    }
    EXPECT_FALSE(IsWindow(win)) << "the window outlived its end";
    // The game's end posts the quit message (the end-to-end run sees its exit code): taken here,
    // it ends no dialog's loop later.
    MSG quit;
    PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

void PrintTo(GamePhase phase, std::ostream* out) {
    const char* names[] = {"Ready", "Running", "Won", "Lost"};
    *out << names[phase];
}

// The messages the kit sends: their steps in a gesture, and their names in a failure.
static const struct {
    const char* step;
    UINT message;
    const char* name;
} kMessages[] = {{">", WM_MOUSEMOVE, "WM_MOUSEMOVE"},  {"L+", WM_LBUTTONDOWN, "WM_LBUTTONDOWN"},
                 {"L-", WM_LBUTTONUP, "WM_LBUTTONUP"}, {"R+", WM_RBUTTONDOWN, "WM_RBUTTONDOWN"},
                 {"R-", WM_RBUTTONUP, "WM_RBUTTONUP"}, {"M+", WM_MBUTTONDOWN, "WM_MBUTTONDOWN"},
                 {"M-", WM_MBUTTONUP, "WM_MBUTTONUP"}, {"", WM_COMMAND, "WM_COMMAND"},
                 {"", WM_TIMER, "WM_TIMER"},           {"", WM_DPICHANGED, "WM_DPICHANGED"}};

// How many cells the board notation shows as one of `letters`.
static int Count(const char* letters) {
    const std::string board = Board();
    return static_cast<int>(std::count_if(board.begin(), board.end(), [letters](char shown) {
        return std::strchr(letters, shown) != nullptr;
    }));
}

// What every message leaves of the game record (see Send).
static void ExpectRecordWhole(const std::string& after) {
    const Settings& s = game.settings;
    EXPECT_EQ(Count("!"), 0) << "flags on opened cells " << after;
    EXPECT_EQ(Count("*FX"), s.Mines) << "mines on the field " << after;
    EXPECT_EQ(game.cellsToOpen, Count(".f")) << "cells to open, against the closed safe " << after;
    EXPECT_EQ(game.minesLeft, game.phase == Won ? 0 : s.Mines - Count("fF"))
        << "mine counter " << after;
    EXPECT_EQ(Count("X") > 0, game.phase == Lost) << "an opened mine exactly in a loss " << after;
    if (game.phase == Ready) {
        EXPECT_EQ(Count("012345678X"), 0) << "opened cells before the first opening " << after;
        EXPECT_EQ(game.elapsedSeconds, 0) << "the clock before the first opening " << after;
    }
    if (game.phase == Running) {
        EXPECT_GE(game.elapsedSeconds, 1) << "the clock in play " << after;
    }
    // The window holds the game's timer exactly in play: killing it finds it there (it is set
    // again at once) and none elsewhere.
    const bool ticking = KillTimer(win, kGameTimerId);
    EXPECT_EQ(ticking, game.phase == Running) << "the window's clock timer " << after;
    if (ticking) SetTimer(win, kGameTimerId, kTimerPeriodMs, nullptr);
}

static LRESULT SendAndCheck(UINT message, WPARAM wParam, LPARAM lParam, bool repaints) {
    std::string after = "after message " + std::to_string(message);
    for (const auto& known : kMessages) {
        if (known.message == message) after = std::string("after ") + known.name;
    }
    RECT before, moved, update, client;
    GetWindowRect(win, &before);
    UpdateWindow(win);
    ValidateRect(win, nullptr);
    erases = 0;
    const LRESULT result = SendMessageW(win, message, wParam, lParam);
    if (!IsWindow(win)) return result;
    GetUpdateRect(win, &update, FALSE);
    GetClientRect(win, &client);
    if (repaints) {
        EXPECT_TRUE(EqualRect(&update, &client))
            << "the whole client not left to repaint " << after;
    }
    UpdateWindow(win);
    GetWindowRect(win, &moved);
    if (EqualRect(&before, &moved)) {
        EXPECT_EQ(erases, 0) << "the background erased " << after;
    }
    if (message >= WM_LBUTTONDOWN && message <= WM_MBUTTONUP) {
        const bool press = (message - WM_LBUTTONDOWN) % 3 == 0;
        EXPECT_EQ(GetCapture() == win, press) << "the capture " << after;
    }
    ExpectRecordWhole(after);
    return result;
}

LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) {
    return SendAndCheck(message, wParam, lParam, true);
}

LRESULT SendWithoutRepaint(UINT message, WPARAM wParam, LPARAM lParam) {
    return SendAndCheck(message, wParam, lParam, false);
}

bool Pump(const std::function<bool()>& done, int ms) {
    const ULONGLONG end = GetTickCount64() + ms;
    ULONGLONG idleSince = GetTickCount64();
    while (done ? !done() : GetTickCount64() < idleSince + 30) {
        if (GetTickCount64() >= end) return false;
        MSG m;
        if (!PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 2, QS_ALLINPUT);
            continue;
        }
        if (m.message != WM_TIMER && m.message != WM_PAINT) idleSince = GetTickCount64();
        if (GetActiveWindow() && IsDialogMessageW(GetActiveWindow(), &m)) continue;
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
    return true;
}

// How many screen pixels each 1× pixel takes, repeating, at the scales the tests run: the
// nearest-pixel look the player sees (at 150 % the 1× pixels are 2, 1, 2, 1 ... pixels wide).
static const std::vector<int>& PixelWidths() {
    static const std::map<int, std::vector<int>> kWidths = {{96, {1}}, {144, {2, 1}}, {192, {2}}};
    return kWidths.at(game.dpi);
}

// The first screen pixel that shows 1× pixel p.
static int ScreenPixel(int p) {
    const std::vector<int>& widths = PixelWidths();
    int x = 0;
    for (int i = 0; i < p; ++i) x += widths[i % widths.size()];
    return x;
}

void Gesture(const std::string& steps) {
    int x = 0, y = 0;
    std::istringstream words(steps);
    for (std::string word; words >> word;) {
        const size_t at = word.find('@');
        const std::string place = at == std::string::npos ? "" : word.substr(at + 1);
        int a = 0, b = 0;
        if (std::sscanf(place.c_str(), "%d:%d", &a, &b) == 2) {
            x = a;
            y = b;
        } else if (std::sscanf(place.c_str(), "%d,%d", &a, &b) == 2) {
            x = 12 + 16 * a + 8;  // the cells are 16 pixels square from (12, 55)
            y = 55 + 16 * b + 8;
        }
        const auto step =
            std::find_if(std::begin(kMessages), std::end(kMessages),
                         [&](const auto& known) { return word.substr(0, at) == known.step; });
        ASSERT_NE(step, std::end(kMessages)) << "no such step: " << word;
        Send(step->message, 0, MAKELPARAM(ScreenPixel(x), ScreenPixel(y)));
    }
}

void Lay(const char* board) {
    Settings& s = game.settings;
    const int length = static_cast<int>(std::strlen(board));
    s.Width = static_cast<int32_t>(std::strcspn(board, "/"));
    s.Height = (length + 1) / (s.Width + 1);
    s.Mines = static_cast<int32_t>(std::count_if(
        board, board + length, [](char laid) { return std::strchr("*FX", laid) != nullptr; }));
    s.Difficulty = CMD_CUSTOM;  // a win on a laid field asks for no name
    // The window fits the field as a level change fits it, and a game of its size is dealt.
    RECT place;
    GetWindowRect(win, &place);
    FitMainWindow(win, place.left, place.top);
    SendMessageW(win, MSG_BOARD_CHANGED, 0, 0);
    for (int c = 0; c < s.Width; ++c) {
        for (int r = 0; r < s.Height; ++r) {
            const char laid = board[r * (s.Width + 1) + c];
            Cell& cell = game.board[c][r];
            cell.mine = std::strchr("*FX", laid) != nullptr;
            cell.flagged = laid == 'f' || laid == 'F';
            cell.opened = laid == 'X' || std::isdigit(laid);
        }
    }
    CountNeighbours();
    GamePhase phase = std::strpbrk(board, "012345678") ? Running : Ready;
    if (!std::strpbrk(board, ".f")) phase = Won;
    if (std::strchr(board, 'X')) phase = Lost;
    game.cellsToOpen = Count(".f");
    game.minesLeft = phase == Won ? 0 : s.Mines - Count("fF");
    game.mouse = MouseState{};
    game.phase = phase;
    game.elapsedSeconds = phase == Ready ? 0 : 7;
    // The new game dealt has no timer; a laid game in play has one, as the game's own would.
    if (phase == Running) SetTimer(win, kGameTimerId, kTimerPeriodMs, nullptr);
    InvalidateRect(win, nullptr, FALSE);
    UpdateWindow(win);
}

std::string Board() {
    std::string text;
    for (int r = 0; r < game.settings.Height; ++r) {
        if (r > 0) text += '/';
        for (int c = 0; c < game.settings.Width; ++c) {
            const Cell& cell = game.board[c][r];
            const char closed = ".*fF"[cell.mine + 2 * cell.flagged];
            const char opened = cell.flagged ? '!' : cell.mine ? 'X' : '0' + cell.adjacentMines;
            text += cell.opened ? opened : closed;
        }
    }
    return text;
}

// The pixels `from` shows in its top-left w x h, as 0xRRGGBB values row by row.
static std::vector<DWORD> Pixels(HDC from, int w, int h) {
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    DWORD* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS,
                                      reinterpret_cast<void**>(&bits), nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    BitBlt(dc, 0, 0, w, h, from, 0, 0, SRCCOPY);
    GdiFlush();
    std::vector<DWORD> pixels(bits, bits + w * h);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
    for (DWORD& pixel : pixels) pixel &= 0xFFFFFF;
    return pixels;
}

// A sprite sheet as the game carries it (the suite links the game's own resources), `w` pixels
// wide and `h` high.
static std::vector<DWORD> Sheet(int id, int w, int h) {
    HGDIOBJ sheet = LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0,
                               LR_CREATEDIBSECTION);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, sheet);
    std::vector<DWORD> pixels = Pixels(dc, w, h);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(sheet);
    return pixels;
}

// The cell sprite of each letter of the screen notation but the digits.
static const std::map<char, CellSprite> kShown = {
    {'#', Covered}, {'P', Flag}, {'M', Mine}, {'B', ExplodedMine}, {'W', WrongFlag}};

void ExpectScreen(const char* cells, FaceSprite face, int mineCount, int seconds) {
    static const std::vector<DWORD> kCells = Sheet(IDB_CELLS, 16, 256);
    static const std::vector<DWORD> kFaces = Sheet(IDB_FACES, 24, 120);
    static const std::vector<DWORD> kDigits = Sheet(IDB_DIGITS, 13, 276);
    const DWORD kAny = 0xFF000000;  // a pixel not checked: no colour read back matches it
    // The field's cells are 16 pixels square from (12, 55), 8 pixels in from the right and bottom.
    const int columns = game.settings.Width, w = 16 * columns + 20;
    const int h = 16 * game.settings.Height + 63;
    RECT client;
    GetClientRect(win, &client);
    ASSERT_EQ(client.right, ScreenPixel(w)) << "the client's width against the field's at scale";
    ASSERT_EQ(client.bottom, ScreenPixel(h)) << "the client's height against the field's at scale";
    std::vector<DWORD> want(w * h, kAny);  // the 1x picture the player should see
    auto paste = [&](const std::vector<DWORD>& sheet, int size, int high, int k, int x, int y) {
        for (int i = 0; i < size * high; ++i) {
            want[(y + i / size) * w + x + i % size] = sheet.at(size_t(k * size * high + i));
        }
    };
    // The counters stand at (17, 16) and 54 in from the right, the face at half the field's width.
    char mines[8], timer[8];
    std::snprintf(mines, sizeof mines, "%03d", mineCount);
    std::snprintf(timer, sizeof timer, "%03d", seconds);
    for (int k = 0; k < 3; ++k) {
        const int mine = mines[k] == '-' ? Minus : Digit0 - (mines[k] - '0');
        paste(kDigits, 13, 23, mine, 17 + 13 * k, 16);
        paste(kDigits, 13, 23, Digit0 - (timer[k] - '0'), w - 54 + 13 * k, 16);
    }
    paste(kFaces, 24, 24, face, 8 * columns, 16);
    for (int i = 0; cells && i < columns * game.settings.Height; ++i) {
        const int c = i % columns, r = i / columns;
        const char shown = *cells ? cells[r * (columns + 1) + c] : '#';
        const int sprite = std::isdigit(shown) ? Open - (shown - '0') : kShown.at(shown);
        paste(kCells, 16, 16, sprite, 12 + 16 * c, 55 + 16 * r);
    }
    // Each client pixel shows the 1x pixel under it at the window's scale, no colour mixed.
    std::vector<int> from1x;  // the 1x pixel that each screen pixel shows, across and down
    for (int p = 0; static_cast<int>(from1x.size()) < std::max(client.right, client.bottom); ++p) {
        from1x.insert(from1x.end(), PixelWidths()[p % PixelWidths().size()], p);
    }
    UpdateWindow(win);
    HDC dc = GetDC(win);
    const std::vector<DWORD> got = Pixels(dc, client.right, client.bottom);
    ReleaseDC(win, dc);
    for (int i = 0; i < client.right * client.bottom; ++i) {
        const int x = i % client.right, y = i / client.right;
        const DWORD expected = want[from1x[y] * w + from1x[x]];
        if (expected == kAny || got[i] == expected) continue;
        ADD_FAILURE() << "screen pixel (" << x << "," << y << "), 1x pixel (" << from1x[x] << ","
                      << from1x[y] << "), is " << std::hex << got[i] << ", not " << expected;
        return;
    }
}

// The menu at any depth: the id of each item by its text, and the texts of the checked ones.
static void Walk(HMENU menu, std::map<std::wstring, UINT>& ids,
                 std::vector<std::wstring>& checked) {
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t label[64] = {};
        GetMenuStringW(menu, static_cast<UINT>(i), label, 64, MF_BYPOSITION);
        ids[label] = GetMenuItemID(menu, i);
        if (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_CHECKED) {
            checked.push_back(label);
        }
        if (HMENU submenu = GetSubMenu(menu, i)) Walk(submenu, ids, checked);
    }
}

void Choose(const wchar_t* text) {
    std::map<std::wstring, UINT> ids;
    std::vector<std::wstring> checked;
    Walk(GetMenu(win), ids, checked);
    ASSERT_EQ(ids.count(text), 1u) << "no menu item " << testing::PrintToString(std::wstring(text));
    SendWithoutRepaint(WM_COMMAND, MAKEWPARAM(ids[text], 0), 0);
}

std::vector<std::wstring> Checked() {
    std::map<std::wstring, UINT> ids;
    std::vector<std::wstring> checked;
    Walk(GetMenu(win), ids, checked);
    return checked;
}

static struct {
    std::function<void(HWND)> drive;
    std::vector<HWND> seen;
    ULONGLONG deadline;
} dialogs;

// Hands the newest dialog of this thread to the test once; ends one that outlives the deadline.
static BOOL CALLBACK DriveDialog(HWND window, LPARAM) {
    wchar_t kind[8] = {};
    GetClassNameW(window, kind, 8);
    if (lstrcmpW(kind, L"#32770") != 0 || !IsWindowVisible(window)) return TRUE;
    if (GetTickCount64() > dialogs.deadline) {
        ADD_FAILURE() << "a dialog was still open after five seconds";
        EndDialog(window, 99);
    } else if (std::find(dialogs.seen.begin(), dialogs.seen.end(), window) == dialogs.seen.end()) {
        const HWND owner = GetWindow(window, GW_OWNER);
        const bool nested = std::count(dialogs.seen.begin(), dialogs.seen.end(), owner) > 0;
        EXPECT_TRUE(owner == win || nested) << "the dialog's owner";
        if (owner) {
            EXPECT_FALSE(IsWindowEnabled(owner)) << "the owner took input";
        }
        dialogs.seen.push_back(window);
        dialogs.drive(window);
    }
    return FALSE;
}

void WithDialog(const std::function<void(HWND)>& drive, const std::function<void()>& open) {
    dialogs.drive = drive;
    dialogs.seen.clear();
    dialogs.deadline = GetTickCount64() + 5000;
    // The timer also fires inside a drive's own waits and dialogs; a dialog is driven once.
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR, DWORD) {
        EnumThreadWindows(GetCurrentThreadId(), DriveDialog, 0);
    });
    open();
    KillTimer(nullptr, timer);
    if (IsWindow(win)) {
        EXPECT_TRUE(IsWindowEnabled(win)) << "the game stays disabled";
    }
}

void Type(const std::wstring& keys) {
    std::vector<INPUT> inputs;
    for (wchar_t key : keys) {
        // The keys named in the notation have their characters as their virtual-key codes.
        const bool named = key != 0 && std::wcschr(L"\t\r\x1b\b ", key) != nullptr;
        INPUT input = {INPUT_KEYBOARD};
        input.ki.wVk = named ? key : 0;
        input.ki.wScan = named ? 0 : key;
        input.ki.dwFlags = named ? 0 : KEYEVENTF_UNICODE;
        inputs.push_back(input);
        input.ki.dwFlags |= KEYEVENTF_KEYUP;
        inputs.push_back(input);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    Pump(nullptr, 5000);
}

std::wstring Text(HWND window, int id) {
    wchar_t text[256] = {};
    GetWindowTextW(id ? GetDlgItem(window, id) : window, text, 256);
    return text;
}

std::wstring Said(HWND box) {
    std::wstring said;
    for (HWND text = nullptr; (text = FindWindowExW(box, text, L"Static", nullptr));) {
        said += Text(text);
    }
    return said;
}

Values Stored() {
    Values values;
    HKEY key = nullptr;
    RegOpenKeyExW(HKEY_CURRENT_USER, kStoreKey, 0, KEY_READ, &key);
    wchar_t name[64];
    wchar_t data[128];
    DWORD length = 64, type = 0, size = sizeof data;
    for (DWORD i = 0; RegEnumValueW(key, i, name, &length, nullptr, &type,
                                    reinterpret_cast<BYTE*>(data), &size) == ERROR_SUCCESS;
         ++i) {
        std::wstring& value = values[name];
        value = L"?";
        if (type == REG_DWORD && size == 4)
            value = std::to_wstring(int32_t(uint32_t(data[1]) << 16 | data[0]));
        if (type == REG_SZ && size == 2 * wcsnlen(data, 128) + 2)
            value = L"'" + std::wstring(data) + L"'";
        length = 64;
        size = sizeof data;
    }
    RegCloseKey(key);
    return values;
}

Values Stored(int level, int columns, int rows, int mines, int mode, POINT corner) {
    return {{L"ClickMode", std::to_wstring(mode)}, {L"Difficulty", std::to_wstring(level)},
            {L"Height", std::to_wstring(rows)},    {L"Mines", std::to_wstring(mines)},
            {L"Width", std::to_wstring(columns)},  {L"XPos", std::to_wstring(corner.x)},
            {L"Ypos", std::to_wstring(corner.y)}};
}

void Put(const wchar_t* name, DWORD type, const void* data, DWORD size) {
    RegSetKeyValueW(HKEY_CURRENT_USER, kStoreKey, name, type, data, size);
}

void PutNumber(const wchar_t* name, int32_t value) { Put(name, REG_DWORD, &value, 4); }

void PutName(const wchar_t* name, const std::wstring& text) {
    Put(name, REG_SZ, text.c_str(), static_cast<DWORD>(2 * text.size() + 2));
}

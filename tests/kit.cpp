#include "kit.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <map>

#include "store/store.h"
#include "ui/ui.h"

HWND win;
GamePhase paintedPhase;
bool paintedWhole;
static int erases;

static bool WholeClientDue(HWND window) {
    RECT update, client;
    return GetUpdateRect(window, &update, FALSE), GetClientRect(window, &client),
           EqualRect(&update, &client);
}

static LRESULT CALLBACK Spy(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    erases += message == WM_ERASEBKGND;
    if (message == WM_PAINT) paintedPhase = game.phase, paintedWhole = WholeClientDue(window);
    return MainWindowProc(window, message, wParam, lParam);
}

void Start(bool keepStore) {
    RegisterMainWindowClass(GetModuleHandleW(nullptr));
    if (!keepStore) RegDeleteTreeW(HKEY_CURRENT_USER, kStoreKey);
    game = GameState{};
    LoadSettings();
    win = CreateMainWindow(GetModuleHandleW(nullptr));
    SetWindowLongPtrW(win, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Spy));
    UpdateWindow(win);
}

void Quit(UINT how) {
    const HGDIOBJ held[] = {game.backBuffer.dc, game.backBuffer.bitmap, game.cellSheet,
                            game.digitSheet, game.faceSheet};
    how ? (void)SendMessageW(win, how, how == WM_COMMAND ? CMD_EXIT : 0, 0)
        : (void)DestroyWindow(win);
    MSG quit = {};
    EXPECT_TRUE(!IsWindow(win) && PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) &&
                quit.wParam == 0);
    for (HGDIOBJ object : held)
        EXPECT_EQ(GetObjectType(object), 0u) << "a drawing object outlived the window";
}

LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam, bool repaints) {
    RECT before, after;
    GetWindowRect(win, &before), UpdateWindow(win), ValidateRect(win, nullptr), erases = 0;
    const LRESULT result = SendMessageW(win, message, wParam, lParam);
    if (!IsWindow(win)) return result;
    if (repaints)
        EXPECT_TRUE(WholeClientDue(win))
            << "message " << message << " asked for no repaint of the client";
    UpdateWindow(win), GetWindowRect(win, &after);
    if (EqualRect(&before, &after))
        EXPECT_EQ(erases, 0) << "message " << message << " asked for an erase";
    if (message >= WM_LBUTTONDOWN && message <= WM_MBUTTONUP)
        EXPECT_EQ(GetCapture() == win, (message - WM_LBUTTONDOWN) % 3 == 0);
    return CheckRecord(), result;
}

void CheckRecord() {
    const Settings& s = game.settings;
    int mines = 0, flags = 0, opened = 0, closedSafe = 0, openMines = 0, flaggedOpen = 0,
        phase = game.phase;
    for (int i = 0; i < s.Width * s.Height; ++i) {
        const Cell& cell = game.board[i % s.Width][i / s.Width];
        mines += cell.mine, flags += cell.flagged, opened += cell.opened,
            closedSafe += !cell.mine && !cell.opened;
        openMines += cell.mine && cell.opened, flaggedOpen += cell.flagged && cell.opened;
    }
    const bool ticking =
        KillTimer(win, kGameTimerId) && SetTimer(win, kGameTimerId, kTimerPeriodMs, nullptr);
    // flagged open cells, mines, cells to open, mine counter, an opened mine only in a loss,
    // nothing open in Ready, the clock
    EXPECT_EQ(std::vector<int>({flaggedOpen, mines, game.cellsToOpen, game.minesLeft, openMines > 0,
                                phase != Ready || opened == 0, ticking}),
              std::vector<int>({0, s.Mines, closedSafe, phase == Won ? 0 : s.Mines - flags,
                                phase == Lost, 1, phase == Running}));
}

void Repaint() { InvalidateRect(win, nullptr, FALSE), UpdateWindow(win); }

void Gesture(const std::string& steps) {
    static int x, y;
    for (const char* p = steps.c_str(); *p; p += std::strcspn(p, " "), p += *p == ' ') {
        const UINT message =
            std::string("> L+L-??R+R-??M+M-").find(std::string(p, *p == '>' ? 1 : 2)) / 2 +
            WM_MOUSEMOVE;
        const char* at = std::strchr(p, '@');
        if (at && at < p + std::strcspn(p, " ")) {
            char* end;
            const long a = std::strtol(at + 1, &end, 10), b = std::strtol(end + 1, nullptr, 10);
            x = at[1] == 'F'  ? 8 * game.settings.Width + 12
                : *end == ':' ? a
                              : kFieldLeft + kCellSize * a + 8;
            y = at[1] == 'F' ? 28 : *end == ':' ? b : kFieldTop + kCellSize * b + 8;
        }
        Send(message, 0, MAKELPARAM(x, y));
    }
}

void Lay(const char* rows, GamePhase phase) {
    Settings& s = game.settings;
    s.Width = static_cast<int32_t>(std::strcspn(rows, "/"));
    s.Height = static_cast<int32_t>((std::strlen(rows) + 1) / (s.Width + 1));
    s.Mines = game.minesLeft = game.cellsToOpen = 0;
    for (int i = 0; i < s.Width * s.Height; ++i) {
        const char laid = rows[i / s.Width * (s.Width + 1) + i % s.Width];
        const bool mine = std::strchr("*FX", laid), opened = laid == 'X' || std::isdigit(laid),
                   flag = laid == 'f' || laid == 'F';
        game.board[i % s.Width][i / s.Width] = Cell{mine, flag, opened, 0};
        s.Mines += mine, game.minesLeft += mine - flag, game.cellsToOpen += !mine && !opened;
    }
    for (int i = 0; i < s.Width * s.Height; ++i) {
        const int c = i % s.Width, r = i / s.Width;
        for (int x = std::max(c - 1, 0); x <= std::min(c + 1, s.Width - 1); ++x)
            for (int y = std::max(r - 1, 0); y <= std::min(r + 1, s.Height - 1); ++y)
                game.board[c][r].adjacentMines += (x != c || y != r) && game.board[x][y].mine;
        if (std::isdigit(rows[r * (s.Width + 1) + c]))
            EXPECT_EQ(game.board[c][r].adjacentMines, rows[r * (s.Width + 1) + c] - '0')
                << "laid wrong at " << c << "," << r;
    }
    s.Difficulty = CMD_CUSTOM;  // a win on a laid field asks for no name
    game.minesLeft *= phase != Won, game.mouse = MouseState{}, game.phase = phase,
                                    game.elapsedSeconds = phase != Ready;
    phase == Running ? (void)SetTimer(win, kGameTimerId, kTimerPeriodMs, nullptr)
                     : (void)KillTimer(win, kGameTimerId);
    Repaint();
}

std::string Board() {
    std::string text;
    for (int i = 0; i < game.settings.Width * game.settings.Height; ++i) {
        const Cell& cell = game.board[i % game.settings.Width][i / game.settings.Width];
        text += std::string(i && i % game.settings.Width == 0, '/') +
                (cell.opened ? "X012345678"[cell.mine ? 0 : 1 + cell.adjacentMines]
                             : "*.Ff"[!cell.mine + 2 * cell.flagged]);
    }
    return text;
}

std::vector<DWORD> Drawn(int w, int h, DWORD fill, const std::function<void(HDC)>& paint) {
    BITMAPINFO info = {{sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    DWORD* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS,
                                      reinterpret_cast<void**>(&bits), nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    std::fill_n(bits, w * h, fill), paint(dc), GdiFlush();
    std::vector<DWORD> px(bits, bits + w * h);
    SelectObject(dc, old), DeleteDC(dc), DeleteObject(bitmap);
    for (DWORD& p : px) p &= 0xFFFFFF;
    return px;
}

// The pixels of `from`, or of a sprite sheet as the exe carries it.
static std::vector<DWORD> Grab(HDC from, int w, int h) {
    return Drawn(w, h, 0, [&](HDC dc) { BitBlt(dc, 0, 0, w, h, from, 0, 0, SRCCOPY); });
}
static std::vector<DWORD> Sheet(int id, int w, int h) {
    return Drawn(w, h, 0, [&](HDC dc) {
        HDC from = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(
            from, LoadImageW(Exe(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        BitBlt(dc, 0, 0, w, h, from, 0, 0, SRCCOPY), DeleteObject(SelectObject(from, old)),
            DeleteDC(from);
    });
}

// The frame as a player sees it: a white band along the left and top edges, and sunken bevels
// (shadow along the upper and left sides, white along the lower and right, the two corners where
// they meet in the surface colour) round the panel, the field and the counters, with a shadow
// outline round the face.
static DWORD Frame(int x, int y, int W, int H, int F, DWORD surface, DWORD shadow) {
    const int boxes[][6] = {{9, 9, W - 6, 45, 2, 0},
                            {9, 52, W - 6, H - 6, 3, 0},
                            {16, 15, 56, 39, 1, 0},
                            {W - 55, 15, W - 15, 39, 1, 0},
                            {F - 1, 15, F + 24, 40, 1, 1}};
    for (const auto& b : boxes) {
        for (int k = 0, l = b[0], t = b[1], r = b[2], bottom = b[3]; k < b[4] && x >= 3 && y >= 3;
             ++k, ++l, ++t, --r, --bottom) {
            if (!((x == l || x == r) && y >= t && y <= bottom) &&
                !((y == t || y == bottom) && x >= l && x <= r))
                continue;
            return (x == l && y == bottom) || (x == r && y == t) ? surface
                   : b[5] || x == l || y == t                    ? shadow
                                                                 : 0xFFFFFF;
        }
    }
    return x < 3 || y < 3 ? 0xFFFFFF : surface;
}

void ExpectScreen(const char* cells, int face, const char* mines, const char* timer) {
    static const std::vector<DWORD> kCells = Sheet(IDB_CELLS, 16, 256),
                                    kFaces = Sheet(IDB_FACES, 24, 120),
                                    kDigits = Sheet(IDB_DIGITS, 13, 276);
    const int W = game.windowRect.right, H = game.windowRect.bottom, F = 8 * game.settings.Width,
              columns = game.settings.Width;
    const std::vector<DWORD> got = Grab(game.backBuffer.dc, W, H);
    std::vector<DWORD> want(W * H);
    for (int i = 0; i < W * H; ++i)
        want[i] = Frame(i % W, i / W, W, H, F, 0xC0C0C0,
                        0x808080);  // light and dark grey, as the covered cell shows
    auto paste = [&](const std::vector<DWORD>* sheet, int w, int h, int sprite, int left, int top) {
        for (int i = 0; i < w * h; ++i)
            want[(top + i / w) * W + left + i % w] =
                sheet ? (*sheet)[(sprite * h + i / w) * w + i % w]
                      : got[(top + i / w) * W + left + i % w];
    };
    char shown[2][8];
    std::snprintf(shown[0], 8, game.minesLeft < 0 ? "-%02d" : "%03d", std::abs(game.minesLeft)),
        std::snprintf(shown[1], 8, "%03d", game.elapsedSeconds);
    for (int k = 0; k < 3; ++k) {
        const char m = mines ? mines[k] : shown[0][k], t = timer ? timer[k] : shown[1][k];
        paste(&kDigits, 13, 23, m == '-' ? 0 : 11 - (m - '0'), 17 + 13 * k, 16),
            paste(&kDigits, 13, 23, 11 - (t - '0'), W - 54 + 13 * k, 16);
    }
    paste(&kFaces, 24, 24, face, F, 16);
    for (int i = 0; i < columns * game.settings.Height; ++i) {
        const char cell = cells ? cells[i / columns * (columns + 1) + i % columns] : 0,
                   *letter = std::strchr("#F?XW*", cell);
        paste(cells ? &kCells : nullptr, 16, 16,
              letter ? static_cast<int>(letter - "#F?XW*") : 15 - (cell - '0'),
              12 + 16 * (i % columns), 55 + 16 * (i / columns));
    }
    const auto miss = std::mismatch(got.begin(), got.end(), want.begin());
    if (miss.first != got.end())
        ADD_FAILURE() << "screen pixel (" << (miss.first - got.begin()) % W << ","
                      << (miss.first - got.begin()) / W << ") is " << std::hex << *miss.first
                      << ", not " << *miss.second;
}

static std::function<bool(HWND)> gDrive;
static std::vector<HWND> gDone;
static ULONGLONG gDeadline;

// Drives the newest dialog of this thread once it is up; ends one that outlives the deadline.
static BOOL CALLBACK DriveDialog(HWND window, LPARAM) {
    wchar_t name[8] = {};
    if (GetClassNameW(window, name, 8), lstrcmpW(name, L"#32770") != 0 || !IsWindowVisible(window))
        return TRUE;
    if (GetTickCount64() > gDeadline)
        ADD_FAILURE() << "a dialog was still open after five seconds", EndDialog(window, 99);
    else if (!std::count(gDone.begin(), gDone.end(), window) && gDrive(window))
        gDone.push_back(window);
    return FALSE;
}

void WithDialog(const std::function<bool(HWND)>& drive, const std::function<void()>& open) {
    gDrive = drive, gDone.clear(), gDeadline = GetTickCount64() + 5000;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR, DWORD) {
        EnumThreadWindows(GetCurrentThreadId(), DriveDialog, 0);
    });
    open(), KillTimer(nullptr, timer);
}

std::wstring Text(HWND window, int id) {
    wchar_t text[256] = {};
    return GetWindowTextW(id ? GetDlgItem(window, id) : window, text, 256), text;
}

std::wstring Stored() {
    std::map<std::wstring, std::wstring> values;
    HKEY key = nullptr;
    wchar_t name[64];
    union {
        wchar_t text[128];
        int32_t number;
    } data;
    RegOpenKeyExW(HKEY_CURRENT_USER, kStoreKey, 0, KEY_READ, &key);
    for (DWORD i = 0, length = 64, type, size = 256;
         key && !RegEnumValueW(key, i, name, &length, nullptr, &type,
                               reinterpret_cast<BYTE*>(&data), &size);
         ++i, length = 64, size = 256)
        values[name] = type == REG_SZ && size == 2 * wcsnlen(data.text, 128) + 2
                           ? L"'" + std::wstring(data.text) + L"'"
                       : type == REG_DWORD && size == 4 ? std::to_wstring(data.number)
                                                        : L"?";
    std::wstring all;
    for (const auto& value : values)
        all += (all.empty() ? L"" : L" ") + value.first + L"=" + value.second;
    return RegCloseKey(key), all;
}

HMODULE Exe() {
    static wchar_t path[MAX_PATH];
    static const HMODULE exe = (GetModuleFileNameW(nullptr, path, MAX_PATH),
                                lstrcpyW(wcsrchr(path, L'\\') + 1, L"..\\tesselmark.exe"),
                                LoadLibraryExW(path, nullptr, LOAD_LIBRARY_AS_DATAFILE));
    return exe;
}

void Verify(const Play& p) {
    SCOPED_TRACE(std::string(p.board) + "  " + p.steps);
    game.settings.ClickMode = p.mode;
    Lay(p.board, p.phase), Gesture(p.steps);
    if (std::strcmp(p.after, "new"))
        EXPECT_EQ(Board(), p.after);
    else
        EXPECT_EQ(game.cellsToOpen + game.minesLeft, game.settings.Width * game.settings.Height);
    EXPECT_EQ(game.phase, p.then);
    if (p.face >= 0) ExpectScreen(p.cells, p.face);
}

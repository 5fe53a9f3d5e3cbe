// Measures what a player feels: the paint cycle, a mouse move with its redraw, a new
// deal, a flood over the whole field and the start-up to the first paint. Each figure is
// a median, printed next to the floor this machine gives for the same work in the run.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "draw/draw.h"
#include "draw/layout.h"
#include "game/game.h"
#include "store/store.h"
#include "ui/ui.h"

namespace {

LARGE_INTEGER gFrequency;

int CellX(int column) { return kFieldLeft + kCellSize * column + kCellSize / 2; }
int CellY(int row) { return kFieldTop + kCellSize * row + kCellSize / 2; }

double Now() {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1e6 / static_cast<double>(gFrequency.QuadPart);
}

// Median in microseconds of `runs` timed calls of `work` after `warmup` untimed ones;
// `prepare` runs untimed before each call.
template <typename Work, typename Prepare>
double Median(int warmup, int runs, Work work, Prepare prepare) {
    std::vector<double> times;
    for (int i = 0; i < warmup + runs; ++i) {
        prepare();
        const double start = Now();
        work(i);
        const double end = Now();
        if (i >= warmup) times.push_back(end - start);
    }
    std::nth_element(times.begin(), times.begin() + runs / 2, times.end());
    return times[runs / 2];
}
template <typename Work>
double Median(int warmup, int runs, Work work) {
    return Median(warmup, runs, work, [] {});
}

void Print(const char* what, double median, const char* floorName, double floor) {
    std::printf("%-44s %9.1f us   %-28s %9.1f us   ratio %.2f\n", what, median, floorName, floor,
                median / floor);
}

// Starts the game's own exe and waits until it is idle after its first paint.
double StartUpOnce(const wchar_t* exe) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    wchar_t commandLine[MAX_PATH + 2];
    wsprintfW(commandLine, L"\"%s\"", exe);
    const double start = Now();
    if (!CreateProcessW(exe, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return -1;
    WaitForInputIdle(process.hProcess, 10000);
    const double end = Now();
    struct Find {
        DWORD pid;
        HWND window;
    } find = {process.dwProcessId, nullptr};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* f = reinterpret_cast<Find*>(param);
            DWORD pid = 0;
            GetWindowThreadProcessId(window, &pid);
            if (pid != f->pid) return TRUE;
            f->window = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&find));
    if (find.window) PostMessageW(find.window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return end - start;
}

// A 30 x 24 field whose only mines wall in the bottom-right cell: an opening at the
// top-left corner floods every other cell at once and the game goes on.
void LayFloodBoard() {
    Settings& s = game.settings;
    s.Width = 30;
    s.Height = 24;
    for (int c = 0; c < s.Width; ++c)
        for (int r = 0; r < s.Height; ++r) game.board[c][r] = Cell{};
    const int mines[][2] = {{27, 23}, {27, 22}, {27, 21}, {28, 21}, {29, 21},
                            {28, 22}, {29, 22}, {28, 23}, {26, 0},  {0, 23}};
    for (const auto& m : mines) game.board[m[0]][m[1]].mine = 1;
    CountNeighbours();
    s.Mines = 10;
    game.minesLeft = 10;
    game.cellsToOpen = s.Width * s.Height - 10;
    game.phase = Running;
}

double PaintCycle(HWND window, int runs) {
    return Median(200, runs, [&](int) {
        InvalidateRect(window, nullptr, FALSE);
        UpdateWindow(window);
        GdiFlush();
    });
}

// 720 cell blits into the back buffer: the floor that the drawing is set against.
double BareBlits(int runs) {
    HDC sheetDc = CreateCompatibleDC(game.backBuffer.dc);
    HGDIOBJ old = SelectObject(sheetDc, game.cellSheet);
    const double blits = Median(200, runs, [&](int i) {
        for (int c = 0; c < 30; ++c)
            for (int r = 0; r < 24; ++r)
                BitBlt(game.backBuffer.dc, kFieldLeft + kCellSize * c, kFieldTop + kCellSize * r,
                       kCellSize, kCellSize, sheetDc, 0, kCellSize * ((c + r + i) & 15), SRCCOPY);
        GdiFlush();
    });
    SelectObject(sheetDc, old);
    DeleteDC(sheetDc);
    return blits;
}

// A move with the left button held: the pressed cell follows the pointer. The positions are
// the window's own pixels, at its DPI.
double MouseMove(HWND window, int runs) {
    auto at = [](int column, int row) {
        return MAKELPARAM(Scaled(CellX(column), game.dpi), Scaled(CellY(row), game.dpi));
    };
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at(20, 12));
    const double move = Median(200, runs, [&](int i) {
        SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, at(20 + (i & 7), 12 + (i & 3)));
        UpdateWindow(window);
        GdiFlush();
    });
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(65535, 65535));
    return move;
}

// The paint cycle of a window of the same size at `left` whose window procedure only begins
// and ends the paint: what Wine itself costs.
double EmptyPaintCycle(HWND like, int left, int runs) {
    WNDCLASSW plain = {};
    plain.lpfnWndProc = [](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
        if (m != WM_PAINT) return DefWindowProcW(w, m, wp, lp);
        PAINTSTRUCT ps;
        BeginPaint(w, &ps);
        EndPaint(w, &ps);
        return 0;
    };
    plain.hInstance = GetModuleHandleW(nullptr);
    plain.lpszClassName = L"BenchEmpty";
    RegisterClassW(&plain);
    RECT outer;
    GetWindowRect(like, &outer);
    HWND empty = CreateWindowExW(0, L"BenchEmpty", L"", kWindowStyle, left, outer.top,
                                 outer.right - outer.left, outer.bottom - outer.top, nullptr,
                                 nullptr, plain.hInstance, nullptr);
    UpdateWindow(empty);
    const double cycle = Median(200, runs, [&](int) {
        InvalidateRect(empty, nullptr, FALSE);
        UpdateWindow(empty);
        GdiFlush();
    });
    DestroyWindow(empty);
    return cycle;
}

// A bare window of the game's size that does nothing: the floor for a cold start.
int RunPlainWindow() {
    WNDCLASSW plain = {};
    plain.lpfnWndProc = [](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
        if (m == WM_DESTROY) PostQuitMessage(0);
        return DefWindowProcW(w, m, wp, lp);
    };
    plain.hInstance = GetModuleHandleW(nullptr);
    plain.lpszClassName = L"BenchPlain";
    RegisterClassW(&plain);
    const SIZE beginner =
        WindowSizeFor({ClientWidth(9), ClientHeight(9)}, kWindowStyle, SystemDpi());
    CreateWindowExW(0, L"BenchPlain", L"", kWindowStyle, 300, 200, beginner.cx, beginner.cy,
                    nullptr, nullptr, plain.hInstance, nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc > 1 && lstrcmpW(argv[1], L"--plain") == 0) return RunPlainWindow();
    QueryPerformanceFrequency(&gFrequency);
    // --scaled: only the figures that the display's scale changes, at the prefix's DPI.
    const int scaledOnly = argc > 1 && lstrcmpW(argv[1], L"--scaled") == 0;
    const int runs = argc > 1 + scaledOnly ? _wtoi(argv[1 + scaledOnly]) : 2000;
    std::printf("medians over %d runs after a warm-up\n", runs);

    // Start-up: the exe next to this one, with the wineserver already up.
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    *wcsrchr(exe, L'\\') = 0;
    *wcsrchr(exe, L'\\') = 0;
    lstrcatW(exe, L"\\tesselmark.exe");
    if (!scaledOnly) {
        std::vector<double> times;
        for (int i = 0; i < 7; ++i) times.push_back(StartUpOnce(exe));
        std::sort(times.begin(), times.end());
        std::printf("%-44s %9.1f us   (wineserver up; cold start: see scripts/bench)\n",
                    "start-up to idle after the first paint", times[times.size() / 2]);
    }

    HINSTANCE instance = GetModuleHandleW(nullptr);
    LoadSettings();
    game.settings.Difficulty = CMD_CUSTOM;
    game.settings.Width = 30;
    game.settings.Height = 24;
    game.settings.Mines = 130;
    game.settings.ClickMode = CMD_MODE_ORIGINAL;
    RegisterMainWindowClass(instance);
    HWND window = CreateMainWindow(instance);
    if (!window) return 1;
    UpdateWindow(window);
    OpenCell(5, 5, window);  // a board with open regions, numbers and covered cells

    RECT client;
    GetClientRect(window, &client);
    const double cycle = PaintCycle(window, runs);
    if (scaledOnly) {
        char cycleName[64], moveName[64];
        std::snprintf(cycleName, sizeof(cycleName), "paint cycle 30x24 at %d DPI (%ldx%ld)",
                      game.dpi, client.right, client.bottom);
        std::snprintf(moveName, sizeof(moveName), "mouse move with its redraw at %d DPI", game.dpi);
        const double move = MouseMove(window, runs), blits = BareBlits(runs);
        const double scaling = Median(200, runs, [](int) { ScalePicture(); });
        HDC windowDc = GetDC(window);
        const double copy = Median(200, runs, [&](int) {
            BitBlt(windowDc, 0, 0, client.right, client.bottom, game.screenBuffer.dc, 0, 0,
                   SRCCOPY);
            GdiFlush();
        });
        ReleaseDC(window, windowDc);
        Print(cycleName, cycle, "720 bare 16x16 blits", blits);
        // At 0, 0: a window beside the game's would reach past the screen's edge.
        Print(cycleName, cycle, "empty paint cycle, same size", EmptyPaintCycle(window, 0, runs));
        Print("  of which the scaling to the window's size", scaling, "720 bare 16x16 blits",
              blits);
        Print("  of which the copy to the window", copy, "720 bare 16x16 blits", blits);
        Print(moveName, move, "720 bare 16x16 blits", blits);
        DestroyWindow(window);
        return 0;
    }
    HDC windowDc = GetDC(window);
    const double copy = Median(200, runs, [&](int) {
        BitBlt(windowDc, 0, 0, client.right, client.bottom, game.backBuffer.dc, 0, 0, SRCCOPY);
        GdiFlush();
    });
    ReleaseDC(window, windowDc);
    const double copyReleased = Median(200, runs, [&](int) {
        HDC dc = GetDC(window);
        BitBlt(dc, 0, 0, client.right, client.bottom, game.backBuffer.dc, 0, 0, SRCCOPY);
        ReleaseDC(window, dc);
        GdiFlush();
    });
    RECT outer;
    GetWindowRect(window, &outer);
    const double emptyCycle = EmptyPaintCycle(window, outer.right + 10, runs);
    const double paintOnly = Median(200, runs, [&](int) {
        PaintAll();
        GdiFlush();
    });
    const double frameOnly = Median(200, runs, [&](int) {
        DrawFrame(game.backBuffer.dc);
        GdiFlush();
    });
    const double boardOnly = Median(200, runs, [&](int) {
        DrawBoard(game.backBuffer.dc);
        GdiFlush();
    });
    const double blits = BareBlits(runs);
    Print("paint cycle 30x24 (invalidate, WM_PAINT, copy)", cycle, "720 bare 16x16 blits", blits);
    Print("PaintAll 30x24 into the back buffer", paintOnly, "720 bare 16x16 blits", blits);
    Print("  of which the frame", frameOnly, "720 bare 16x16 blits", blits);
    Print("  of which the board", boardOnly, "720 bare 16x16 blits", blits);
    Print("paint cycle 30x24 (invalidate, WM_PAINT, copy)", cycle, "empty paint cycle, same size",
          emptyCycle);
    Print("copy to the window alone", copy, "(one full-client BitBlt)", copy);
    Print("copy through GetDC/ReleaseDC", copyReleased, "(one full-client BitBlt)", copy);

    const double move = MouseMove(window, runs);
    Print("mouse move with its redraw", move, "720 bare 16x16 blits", blits);

    game.settings.Mines = 667;
    const double deal = Median(200, runs, [&](int) { NewGame(window); });
    volatile int sink = 0;
    const double draws = Median(200, runs, [&](int) {
        for (int i = 0; i < 2 * 667; ++i) sink = sink + rand();
    });
    Print("NewGame 30x24 with 667 mines", deal, "1334 bare rand() calls", draws);
    const double flood = Median(
        20, runs, [&](int) { OpenCell(0, 0, window); }, LayFloodBoard);
    const int opened = 30 * 24 - 10 - game.cellsToOpen;
    const double visits = Median(20, runs, [&](int) {
        for (int c = 0; c < 30; ++c)
            for (int r = 0; r < 24; ++r) sink = sink + game.board[c][r].adjacentMines;
    });
    Print("flood opening 30x24 at once", flood, "a loop reading 720 cells", visits);
    std::printf("  (the flood opened %d of %d safe cells)\n", opened, 30 * 24 - 10);
    NewGame(window);
    DestroyWindow(window);
    return 0;
}

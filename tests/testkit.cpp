#include "testkit.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "store/store.h"
#include "ui/ui.h"

static void EnsureClass()
{
    static bool registered = false;
    if (!registered) registered = RegisterMainWindowClass(GetModuleHandleW(nullptr)) != 0;
}

void DeleteStore() { RegDeleteTreeW(HKEY_CURRENT_USER, kStoreKey); }

HWND StartGameKeepingStore()
{
    EnsureClass();
    game = GameState{};
    LoadSettings();
    HWND window = CreateMainWindow(GetModuleHandleW(nullptr));
    PumpMessages();
    return window;
}

HWND StartGame()
{
    DeleteStore();
    return StartGameKeepingStore();
}

void EndGame(HWND window)
{
    if (IsWindow(window)) DestroyWindow(window);
    // Swallow the quit message that WM_DESTROY posts so the next test starts clean.
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
}

void PumpMessages()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) continue;
        DispatchMessageW(&message);
    }
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs)
{
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
    while (!done() && GetTickCount64() < end) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        PumpMessages();
    }
    return done();
}

void LayBoard(const std::initializer_list<const char*>& rows)
{
    Settings& s = game.settings;
    s.Height = static_cast<int32_t>(rows.size());
    s.Width = static_cast<int32_t>(std::strlen(*rows.begin()));
    int mines = 0;
    int r = 0;
    for (const char* line : rows) {
        for (int c = 0; c < s.Width; ++c) {
            game.board[c][r] = Cell{};
            game.board[c][r].mine = line[c] == '*' ? 1 : 0;
            mines += game.board[c][r].mine;
        }
        ++r;
    }
    for (int c = 0; c < s.Width; ++c) {
        for (r = 0; r < s.Height; ++r) {
            int count = 0;
            for (int dc = -1; dc <= 1; ++dc)
                for (int dr = -1; dr <= 1; ++dr) {
                    const int cc = c + dc, rr = r + dr;
                    if ((dc || dr) && cc >= 0 && rr >= 0 && cc < s.Width && rr < s.Height) count += game.board[cc][rr].mine;
                }
            game.board[c][r].adjacentMines = count;
        }
    }
    s.Mines = mines;
    game.minesLeft = mines;
    game.cellsToOpen = s.Width * s.Height - mines;
    game.phase = Ready;
    game.elapsedSeconds = 0;
}

static int CountField(int Cell::*field)
{
    int n = 0;
    for (int c = 0; c < game.settings.Width; ++c)
        for (int r = 0; r < game.settings.Height; ++r) n += game.board[c][r].*field;
    return n;
}

int CountMines() { return CountField(&Cell::mine); }
int CountOpened() { return CountField(&Cell::opened); }
int CountFlagged() { return CountField(&Cell::flagged); }

void Mouse(HWND window, UINT message, int x, int y)
{
    SendMessageW(window, message, 0, MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
}

int CellX(int column) { return kFieldLeft + kCellSize * column + 8; }
int CellY(int row) { return kFieldTop + kCellSize * row + 8; }

namespace {
struct DialogDriver {
    std::function<void(HWND)> drive;
    std::vector<HWND> seen;
    bool timedOut = false;
    ULONGLONG deadline = 0;
};
DialogDriver* gDriver = nullptr;

BOOL CALLBACK FindDialog(HWND window, LPARAM found)
{
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (lstrcmpW(name, L"#32770") == 0 && IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK DriverTick(HWND, UINT, UINT_PTR, DWORD)
{
    if (!gDriver) return;
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog) return;
    bool known = false;
    for (HWND seen : gDriver->seen) known = known || seen == dialog;
    if (!known) {
        gDriver->seen.push_back(dialog);
        gDriver->drive(dialog);
    } else if (GetTickCount64() > gDriver->deadline) {
        gDriver->timedOut = true;
        EndDialog(dialog, 99);
    }
}
}  // namespace

void WithDialog(const std::function<void(HWND)>& drive, const std::function<void()>& open)
{
    DialogDriver driver;
    driver.drive = drive;
    driver.deadline = GetTickCount64() + 5000;
    gDriver = &driver;
    UINT_PTR timer = SetTimer(nullptr, 0, 30, DriverTick);
    open();
    KillTimer(nullptr, timer);
    gDriver = nullptr;
    EXPECT_FALSE(driver.seen.empty()) << "the dialog never appeared";
    EXPECT_FALSE(driver.timedOut) << "the dialog did not close and was ended by the watchdog";
}

int FreeGdiSlots()
{
    std::vector<HPEN> pens;
    pens.reserve(70000);
    for (;;) {
        HPEN pen = CreatePen(PS_SOLID, 0, RGB(1, 2, 3));
        if (!pen) break;
        pens.push_back(pen);
        if (pens.size() >= 70000) break;
    }
    for (HPEN pen : pens) DeleteObject(pen);
    return static_cast<int>(pens.size());
}

std::wstring DialogText(HWND dialog, int id)
{
    wchar_t text[256] = {};
    GetDlgItemTextW(dialog, id, text, 256);
    return text;
}

static HWND FindDialogOfThread()
{
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM out) -> BOOL {
            wchar_t name[16] = {};
            GetClassNameW(window, name, 16);
            if (lstrcmpW(name, L"#32770") != 0) return TRUE;
            *reinterpret_cast<HWND*>(out) = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

static int gStrayDialogs = 0;
static void CALLBACK EndStrayDialog(HWND, UINT, UINT_PTR, DWORD)
{
    if (HWND dialog = FindDialogOfThread()) {
        ++gStrayDialogs;
        EndDialog(dialog, 2);
    }
}

// Runs `action` and counts the dialogs it opens, ending each so that the test goes on.
int DialogsOpenedBy(const std::function<void()>& action)
{
    gStrayDialogs = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, EndStrayDialog);
    action();
    KillTimer(nullptr, timer);
    return gStrayDialogs;
}

DWORD StoredNumber(const wchar_t* name)
{
    DWORD value = 0xDEADBEEF, size = sizeof(value);
    RegGetValueW(HKEY_CURRENT_USER, kStoreKey, name, RRF_RT_REG_DWORD, nullptr, &value, &size);
    return value;
}

void StoreNumber(const wchar_t* name, DWORD value)
{
    RegSetKeyValueW(HKEY_CURRENT_USER, kStoreKey, name, REG_DWORD, &value, sizeof(value));
}

std::wstring StoredText(const wchar_t* name)
{
    wchar_t text[128] = L"(missing)";
    DWORD size = sizeof(text);
    RegGetValueW(HKEY_CURRENT_USER, kStoreKey, name, RRF_RT_REG_SZ, nullptr, text, &size);
    return text;
}

// Whether the game's one-second timer exists; it is set again as it was.
bool TimerRunning(HWND window)
{
    if (!KillTimer(window, kGameTimerId)) return false;
    SetTimer(window, kGameTimerId, kTimerPeriodMs, nullptr);
    return true;
}

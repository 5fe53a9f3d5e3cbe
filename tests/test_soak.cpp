// Long random sessions against the real window: random mouse messages with the game
// record's invariants checked after each one, random stored values at start-up, and
// the number of GDI objects over many level changes and paints.
#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <random>
#include <sstream>
#include <string>

#include "store/store.h"
#include "testkit.h"
#include "ui/ui.h"

namespace {

unsigned SeedFromEnvironment()
{
    const char* fixed = std::getenv("TESSELMARK_SEED");
    return fixed ? static_cast<unsigned>(std::strtoul(fixed, nullptr, 10)) : std::random_device{}();
}

// Empty when the game record is consistent, otherwise what is wrong.
std::string BrokenInvariant(HWND window)
{
    const Settings& s = game.settings;
    int opened = 0, flagged = 0, openedMines = 0;
    for (int c = 0; c < s.Width; ++c)
        for (int r = 0; r < s.Height; ++r) {
            const Cell& cell = game.board[c][r];
            if (cell.opened && cell.flagged) return "a cell both opened and flagged";
            opened += cell.opened && !cell.mine;
            openedMines += cell.opened && cell.mine;
            flagged += cell.flagged;
        }
    if (game.cellsToOpen != s.Width * s.Height - s.Mines - opened) return "cellsToOpen does not count the covered safe cells";
    if (game.minesLeft != s.Mines - flagged) return "minesLeft is not mines less flags";
    if (openedMines && game.phase != Lost) return "a mine opened outside a lost game";
    if ((game.phase == Won) != (game.cellsToOpen == 0)) return "won and cellsToOpen disagree";
    if (TimerRunning(window) != (game.phase == Running)) return "the timer runs outside a running game, or not in one";
    return {};
}

// A position: inside the field, on the face, elsewhere in the client, or an extreme.
int Coordinate(std::mt19937& rng, bool horizontal)
{
    const int extent = horizontal ? kFieldLeft + kCellSize * game.settings.Width + 8 : kFieldTop + kCellSize * game.settings.Height + 8;
    switch (rng() % 8) {
    case 0: return 0;
    case 1: return 65535;
    case 2: return static_cast<int>(rng() % 65536);
    case 3: return horizontal ? (kFieldLeft + kCellSize * game.settings.Width) / 2 + static_cast<int>(rng() % 30) - 15
                              : 16 + static_cast<int>(rng() % 24);
    default: return static_cast<int>(rng() % static_cast<unsigned>(extent));
    }
}

TEST(Soak, HundredThousandRandomMessagesKeepTheInvariants)
{
    const unsigned seed = SeedFromEnvironment();
    std::mt19937 rng(seed);
    HWND window = StartGame();
    game.settings.Time1 = game.settings.Time2 = game.settings.Time3 = 0;  // no win is a record: no dialog
    const UINT buttons[] = {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP, WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MOUSEMOVE, WM_MOUSEMOVE};
    const int commands[] = {CMD_BEGINNER, CMD_INTERMEDIATE, CMD_EXPERT, CMD_NEW_GAME, CMD_MODE_ORIGINAL, CMD_MODE_ENERGY_SAVING};
    std::deque<std::string> recent;
    int wins = 0, losses = 0;
    GamePhase last = game.phase;
    for (int i = 0; i < 100000; ++i) {
        std::ostringstream step;
        if (rng() % 500 == 0) {
            const int id = commands[rng() % 6];
            step << "command " << id;
            SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, 0), 0);
        } else {
            const UINT message = buttons[rng() % 8];
            const int x = Coordinate(rng, true), y = Coordinate(rng, false);
            step << "message 0x" << std::hex << message << std::dec << " at " << x << "," << y;
            Mouse(window, message, x, y);
        }
        if (i % 64 == 0) UpdateWindow(window);
        recent.push_back(step.str());
        if (recent.size() > 30) recent.pop_front();
        const std::string broken = BrokenInvariant(window);
        if (!broken.empty()) {
            std::ostringstream story;
            for (const std::string& line : recent) story << "\n  " << line;
            FAIL() << broken << " after message " << i << " (TESSELMARK_SEED=" << seed << "), last messages:" << story.str();
        }
        wins += game.phase == Won && last != Won;
        losses += game.phase == Lost && last != Lost;
        last = game.phase;
    }
    std::printf("seed %u: %d games won and %d lost\n", seed, wins, losses);
    EXPECT_GT(losses, 0) << "the random session never lost a game: the soak is not reaching the rules";
    EndGame(window);
}

void PutRandomValue(std::mt19937& rng, HKEY key, const wchar_t* name)
{
    static const DWORD types[] = {REG_DWORD, REG_SZ, REG_BINARY, REG_QWORD, REG_MULTI_SZ, REG_EXPAND_SZ, REG_NONE};
    static const int32_t telling[] = {0, -1, INT32_MIN, INT32_MAX, 8, 9, 24, 25, 30, 31, 667, 999, 1000, 40014, 40017, 40018,
                                      40020, 40021, 40022, 40030, 40031, -32000, 100000};
    switch (rng() % 4) {
    case 0: return;  // missing
    case 1: {
        const int32_t value = telling[rng() % (sizeof(telling) / sizeof(telling[0]))];
        RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4);
        return;
    }
    default: {
        BYTE bytes[160];
        const DWORD size = rng() % 161;
        for (DWORD b = 0; b < size; ++b) bytes[b] = static_cast<BYTE>(rng());
        RegSetValueExW(key, name, 0, types[rng() % 7], bytes, size);
    }
    }
}

TEST(Faults, ThousandRandomStoresStartPlayAndQuit)
{
    const unsigned seed = SeedFromEnvironment();
    std::mt19937 rng(seed);
    const wchar_t* const names[] = {L"ClickMode", L"Difficulty", L"Height", L"Width", L"Mines", L"XPos", L"Ypos",
                                    L"Time1", L"Time2", L"Time3", L"Name1", L"Name2", L"Name3"};
    for (int run = 0; run < 1000; ++run) {
        SCOPED_TRACE(testing::Message() << "run " << run << " of TESSELMARK_SEED=" << seed);
        DeleteStore();
        if (rng() % 20) {
            HKEY key = nullptr;
            RegCreateKeyExW(HKEY_CURRENT_USER, kStoreKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
            for (const wchar_t* name : names) PutRandomValue(rng, key, name);
            if (rng() % 10 == 0) {
                HKEY sub = nullptr;
                RegCreateKeyExW(key, L"Time1", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &sub, nullptr);
                RegCloseKey(sub);
            }
            RegCloseKey(key);
        }
        HWND window = nullptr;
        ASSERT_EQ(DialogsOpenedBy([&] { window = StartGameKeepingStore(); }), 0) << "a dialog opened at start";
        ASSERT_TRUE(IsWindow(window));
        RECT rect;
        GetWindowRect(window, &rect);
        ASSERT_NE(MonitorFromRect(&rect, MONITOR_DEFAULTTONULL), nullptr) << "the window is off every monitor";
        const Settings& s = game.settings;
        ASSERT_TRUE(s.Width >= 9 && s.Width <= 30 && s.Height >= 9 && s.Height <= 24) << s.Width << "x" << s.Height;
        ASSERT_TRUE(s.Mines >= 10 && s.Mines <= (s.Width - 1) * (s.Height - 1)) << s.Mines;
        ASSERT_EQ(CountMines(), s.Mines);
        for (const wchar_t* name : {s.Name1, s.Name2, s.Name3}) ASSERT_LT(wcsnlen(name, 64), 64u);
        DialogsOpenedBy([&] {
            for (int click = 0; click < 4; ++click) {
                const int x = CellX(static_cast<int>(rng() % static_cast<unsigned>(s.Width)));
                const int y = CellY(static_cast<int>(rng() % static_cast<unsigned>(s.Height)));
                const UINT down = click == 3 ? WM_RBUTTONDOWN : WM_LBUTTONDOWN;
                Mouse(window, down, x, y);
                Mouse(window, down + 1, x, y);
            }
            UpdateWindow(window);
        });
        ASSERT_EQ(BrokenInvariant(window), "");
        SendMessageW(window, WM_CLOSE, 0, 0);
        ASSERT_FALSE(IsWindow(window));
        EndGame(window);
    }
}

TEST(Faults, LevelChangesAndPaintsKeepTheGdiObjects)
{
    HWND window = StartGame();
    const int levels[] = {CMD_BEGINNER, CMD_INTERMEDIATE, CMD_EXPERT};
    for (int i = 0; i < 30; ++i) SendMessageW(window, WM_COMMAND, levels[i % 3], 0);
    const int before = FreeGdiSlots();
    for (int i = 0; i < 1000; ++i) {
        SendMessageW(window, WM_COMMAND, levels[i % 3], 0);
        for (int paint = 0; paint < 10; ++paint) {
            InvalidateRect(window, nullptr, FALSE);
            UpdateWindow(window);
        }
    }
    EXPECT_EQ(FreeGdiSlots(), before);
    EndGame(window);
}

}  // namespace

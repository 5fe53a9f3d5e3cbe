// The clock, and what painting and play must give back to the system.
#include <algorithm>
#include <vector>

#include "kit.h"
#include "store/store.h"

// The clock runs on the game's own timer: 1 at the first opening, then a tick a second, on
// behind a dialog and across a chord; it stands still in a new game and after a loss, and past
// 999 it keeps showing 999.
TEST(Screen, TheClockRunsOnTheGamesOwnTimer) {
    Start();
    const auto ticked = [](int seconds, int ms) {
        return Pump([seconds] { return game.elapsedSeconds == seconds; }, ms);
    };
    Lay("F..*..../......../...*....", Ready);
    Gesture("L+@2,0 L-");
    EXPECT_EQ(game.elapsedSeconds, 1) << "the clock at the first opening";
    ULONGLONG tick = GetTickCount64();
    WithDialog(
        [&](HWND dialog) {
            EXPECT_TRUE(ticked(2, 1500)) << "no tick behind a dialog";
            EXPECT_NEAR(GetTickCount64() - tick, 1000.0, 150.0) << "the first second";
            tick = GetTickCount64();
            PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        },
        [] { Choose(L"ハイスコア(&H)", false); });
    Gesture("L+@1,0 L- M+@1,0 M-");
    EXPECT_EQ(Board(), "F11*..../112...../...*....") << "the chord";
    EXPECT_EQ(game.elapsedSeconds, 2) << "the clock across the chord";
    EXPECT_TRUE(ticked(3, 1500)) << "no tick after the chord";
    EXPECT_NEAR(GetTickCount64() - tick, 1000.0, 150.0) << "the second after the chord";
    Gesture("L+@F L-");
    EXPECT_FALSE(ticked(1, 1200)) << "the clock runs in a new game";
    Lay("F..*..../......../...*....", Ready);
    Gesture("L+@2,0 L- L+@3,0 L-");
    EXPECT_EQ(game.phase, Lost);
    EXPECT_FALSE(ticked(2, 1200)) << "the clock runs after a loss";
    game.elapsedSeconds = 998;
    Send(WM_TIMER, kGameTimerId);
    Send(WM_TIMER, kGameTimerId);
    EXPECT_EQ(game.elapsedSeconds, 1000) << "the count past 999";
    ExpectScreen("F#1X####/########/###*####", Dead, nullptr, "999");
    Quit();
}

// The kernel handles this process holds: every value a handle can take, asked after.
static int Handles() {
    int count = 0;
    DWORD flags = 0;
    for (ULONG_PTR value = 4; value < 65536; value += 4) {
        count += GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) != 0;
    }
    return count;
}

// The bytes in use in the process heap, which the game's one allocation comes from.
static size_t HeapInUse() {
    const HANDLE heap = GetProcessHeap();
    size_t busy = 0;
    PROCESS_HEAP_ENTRY entry = {};
    HeapLock(heap);
    while (HeapWalk(heap, &entry)) {
        if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) busy += entry.cbData;
    }
    HeapUnlock(heap);
    return busy;
}

// Levels, modes, paints, records and restarts make and free their own drawing objects and
// handles: as many pens can be made after as before, the process holds as many handles, and
// the back buffer holds its own pen and brush again. Loads of a long stored name give back the
// memory they read it into.
TEST(Screen, NothingLeaks) {
    const auto freePens = [] {
        std::vector<HPEN> pens;
        for (HPEN pen; pens.size() < 100000 && (pen = CreatePen(PS_SOLID, 0, 0));) {
            pens.push_back(pen);
        }
        for (HPEN pen : pens) DeleteObject(pen);
        return pens.size();
    };
    const auto play = [] {
        Start();
        Choose(L"上級(&E)");
        Choose(L"省エネ", false);
        Choose(L"中級(&I)");
        Choose(L"オリジナル", false);
        Lay("........./........./........*", Ready);
        game.settings.Difficulty = CMD_BEGINNER;  // a record, with its name and the records
        WithDialog([](HWND dialog) { PostMessageW(dialog, WM_CLOSE, 0, 0); },
                   [] { Gesture("L+@0,0 L-"); });
        EXPECT_EQ(game.phase, Won) << "the game to win";
        Quit();
    };
    play();
    const size_t pens = freePens();
    const int handles = Handles();
    for (int round = 0; round < 5; ++round) play();
    EXPECT_EQ(freePens(), pens) << "drawing objects left behind";
    EXPECT_EQ(Handles(), handles) << "handles left behind";
    // A stored name longer than the game keeps is read into memory of its own: given back.
    const std::wstring longName(1000, L'x');
    RegSetKeyValueW(HKEY_CURRENT_USER, kStoreKey, L"Name1", REG_SZ, longName.c_str(),
                    static_cast<DWORD>(2 * longName.size() + 2));
    const size_t heap = HeapInUse();
    for (int load = 0; load < 200; ++load) LoadSettings();
    EXPECT_LT(HeapInUse(), heap + 100 * longName.size()) << "the long names' memory left behind";
    Start(true);
    const HDC buffer = game.backBuffer.dc;
    EXPECT_EQ(GetCurrentObject(buffer, OBJ_PEN), GetStockObject(BLACK_PEN)) << "the buffer's pen";
    EXPECT_EQ(GetCurrentObject(buffer, OBJ_BRUSH), GetStockObject(WHITE_BRUSH))
        << "the buffer's brush";
    Quit();
}

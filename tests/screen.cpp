// The clock, the deal, and what painting and play must give back to the system.
#include <vector>

#include "kit.h"

// The clock runs on the game's own timer: 1 at the first opening, a tick each second of play,
// and past 999 it shows 999. (No gesture restarts the clock and no game timer runs outside play:
// the kit checks both after every message.)
TEST(Clock, TicksEachSecondFromTheFirstOpeningAndStopsShowingAt999) {
    Start();
    Lay("F..*..../......../...*....", Ready);
    Gesture("L+@2,0 L-");
    const ULONGLONG opened = GetTickCount64();
    EXPECT_TRUE(Pump([] { return game.elapsedSeconds == 2; }, 1500)) << "no tick";
    EXPECT_NEAR(GetTickCount64() - opened, 1000.0, 150.0) << "the clock's second";
    game.elapsedSeconds = 998;
    Send(WM_TIMER, kGameTimerId);
    Send(WM_TIMER, kGameTimerId);
    ExpectScreen(nullptr, Smile, "002", "999");
    Quit();
}

// A new game deals its mines from the second it began, so games a second apart differ, and one
// second always deals the same field: the generator's draws place the mines column first.
TEST(Deal, ANewGameDealsTheFieldOfItsSecond) {
    Start();
    DealBoard(1767225600);  // 2026-01-01 00:00:00 UTC
    EXPECT_EQ(Board(),
              "........./*...*..*./...*...../........./...*...../"
              "........./.....*.../...*..*.*/....*....")
        << "the field of a known second, beginner's";
    __time64_t second = 0;
    do {
        second = _time64(nullptr);
        Choose(L"スタート(&N)");
    } while (second != _time64(nullptr));  // the deal and the reading in one second
    const std::string dealt = Board();
    DealBoard(static_cast<unsigned>(second));
    EXPECT_EQ(dealt, Board()) << "a new game dealt from another second";
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

// Levels, modes, paints, records and restarts make and free their own drawing objects and
// handles: as many pens can be made after as before, and the process holds as many handles.
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
        Choose(L"省エネ");
        Choose(L"中級(&I)");
        Choose(L"オリジナル");
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
}

// The clock, the deal, and what painting and play must give back to the system.
#include <vector>

#include "kit.h"

// Past 999 seconds the clock shows 999. (The first opening starts it at 1, and no gesture
// restarts it: the gesture cases check both; it ticks behind every dialog: the menu's cases.)
TEST(Clock, StopsShowingAt999) {
    Start();
    Lay("F1.*..../.1....../...*....");
    game.elapsedSeconds = 998;
    Send(WM_TIMER, kGameTimerId);
    Send(WM_TIMER, kGameTimerId);
    ExpectScreen(nullptr, Smile, 2, 999);
    Quit();
}

// One second always deals the same field: the generator seeded with the second, its draws placing
// the mines column first.
TEST(Deal, ASecondDealsItsOwnField) {
    Start();
    DealBoard(1767225600);  // 2026-01-01 00:00:00 UTC
    EXPECT_EQ(Board(),
              "........./*...*..*./...*...../........./...*...../"
              "........./.....*.../...*..*.*/....*....")
        << "the field of a known second, beginner's";
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
    // A round of play; once the process has made what it keeps for good (the first round), a
    // paint or a dialog keeps no object either: as many free after the round as at its start.
    const auto play = [&freePens](bool settled) {
        Start();
        const size_t started = freePens();
        for (const wchar_t* item : {L"上級(&E)", L"省エネ", L"中級(&I)", L"オリジナル"})
            Choose(item);
        Lay("........./........./........*");
        game.settings.Difficulty = CMD_BEGINNER;  // a record, with its name and the records
        WithDialog([](HWND dialog) { PostMessageW(dialog, WM_CLOSE, 0, 0); },
                   [] { Gesture("L+@0,0 L-"); });
        if (settled) {
            EXPECT_EQ(freePens(), started) << "drawing objects left behind in play";
        }
        Quit();
    };
    play(false);
    const size_t pens = freePens();
    const int handles = Handles();
    for (int round = 0; round < 5; ++round) play(true);
    EXPECT_EQ(freePens(), pens) << "drawing objects left behind";
    EXPECT_EQ(Handles(), handles) << "handles left behind";
}

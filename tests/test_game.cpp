// Rules of play on the real main window: dealing, opening, flooding, chords, the clock.
#include <gtest/gtest.h>

#include <ctime>

#include "testkit.h"

namespace {

class Rules : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = StartGame();
        ASSERT_TRUE(IsWindow(window)) << GetLastError();
    }
    void TearDown() override { EndGame(window); }
    // A win opens record dialogs at a fixed level; the custom level has none.
    void NoRecordDialogs() { game.settings.Difficulty = CMD_CUSTOM; }
    HWND window = nullptr;
};

int IndependentNeighbours(int c, int r)
{
    int n = 0;
    for (int cc = c - 1; cc <= c + 1; ++cc)
        for (int rr = r - 1; rr <= r + 1; ++rr)
            if ((cc != c || rr != r) && cc >= 0 && rr >= 0 && cc < game.settings.Width && rr < game.settings.Height)
                n += game.board[cc][rr].mine;
    return n;
}

void ExpectInvariants()
{
    int safeClosed = 0, flags = 0;
    for (int c = 0; c < game.settings.Width; ++c)
        for (int r = 0; r < game.settings.Height; ++r) {
            const Cell& cell = game.board[c][r];
            ASSERT_FALSE(cell.flagged && cell.opened) << c << "," << r;
            if (!cell.mine && !cell.opened) ++safeClosed;
            if (cell.mine && cell.opened) {
                ASSERT_EQ(game.phase, Lost);
            }
            flags += cell.flagged;
        }
    EXPECT_EQ(game.cellsToOpen, safeClosed);
    EXPECT_EQ(game.minesLeft, game.phase == Won ? 0 : game.settings.Mines - flags);
}

TEST_F(Rules, NewGameDealsExactlyTheMinesAndCountsNeighbours)
{
    struct Case { int w, h, mines, toOpen; } cases[] = {
        {9, 9, 10, 71}, {16, 16, 40, 216}, {30, 16, 99, 381}, {30, 24, 667, 53}, {30, 24, 720, 0}, {9, 9, 0, 81}};
    for (const Case& k : cases) {
        game.settings.Width = k.w;
        game.settings.Height = k.h;
        game.settings.Mines = k.mines;
        for (int round = 0; round < 20; ++round) {
            NewGame(window);
            ASSERT_EQ(CountMines(), k.mines) << k.w << "x" << k.h;
            EXPECT_EQ(game.minesLeft, k.mines);
            EXPECT_EQ(game.cellsToOpen, k.toOpen);
            EXPECT_EQ(game.phase, Ready);
            EXPECT_EQ(CountOpened() + CountFlagged(), 0);
            for (int c = 0; c < k.w; ++c)
                for (int r = 0; r < k.h; ++r) ASSERT_EQ(game.board[c][r].adjacentMines, IndependentNeighbours(c, r));
        }
    }
    // The largest generator value still lands inside the field.
    EXPECT_EQ(PlaceFromDraw(32767, 30), 29);
    EXPECT_EQ(PlaceFromDraw(32767, 24), 23);
    EXPECT_EQ(PlaceFromDraw(0, 30), 0);
}

TEST_F(Rules, CornersEdgesAndInnerCellsCountTheirOwnNeighbours)
{
    LayBoard({"*.*", "...", "*.*"});
    EXPECT_EQ(game.board[1][1].adjacentMines, 4);
    game.settings.Width = 9;
    game.settings.Height = 9;
    game.settings.Mines = 80;  // one safe cell: its count is the number of its neighbours
    NewGame(window);
    for (int c = 0; c < 9; ++c)
        for (int r = 0; r < 9; ++r)
            if (!game.board[c][r].mine) {
                const bool corner = (c == 0 || c == 8) && (r == 0 || r == 8);
                const bool edge = !corner && (c == 0 || c == 8 || r == 0 || r == 8);
                EXPECT_EQ(game.board[c][r].adjacentMines, corner ? 3 : edge ? 5 : 8);
            }
    // A mine's count leaves out its own mine.
    for (int c = 0; c < 9; ++c)
        for (int r = 0; r < 9; ++r) ASSERT_EQ(game.board[c][r].adjacentMines, IndependentNeighbours(c, r));
}

TEST_F(Rules, TwoNewGamesInOneSecondDealTheSameBoard)
{
    game.settings.Width = 30;
    game.settings.Height = 24;
    game.settings.Mines = 200;
    for (int attempt = 0; attempt < 5; ++attempt) {
        const __time64_t before = _time64(nullptr);
        NewGame(window);
        Cell first[kMaxBoardSide][kMaxBoardSide];
        memcpy(first, game.board, sizeof(first));
        NewGame(window);
        if (_time64(nullptr) != before) continue;
        EXPECT_EQ(memcmp(first, game.board, sizeof(first)), 0);
        return;
    }
    FAIL() << "could not deal twice within one second";
}

TEST_F(Rules, NewGameKeepsCellsOutsideTheFieldAndTheCursor)
{
    game.board[40][40].flagged = 1;
    game.board[9][0].opened = 1;
    game.mouse.cursorCol = 5;
    game.mouse.dragRow = 7;
    game.mouse.leftDown = game.mouse.rightDown = game.mouse.middleDown = 1;
    game.mouse.pressShown = game.mouse.facePressed = 1;
    game.mouse.restartStage = 3;
    game.settings.Width = game.settings.Height = 9;
    NewGame(window);
    EXPECT_EQ(game.board[40][40].flagged, 1);
    EXPECT_EQ(game.board[9][0].opened, 1);
    EXPECT_EQ(game.mouse.cursorCol, 5);
    EXPECT_EQ(game.mouse.dragRow, 7);
    EXPECT_EQ(game.mouse.leftDown + game.mouse.rightDown + game.mouse.middleDown, 0);
    EXPECT_EQ(game.mouse.pressShown + game.mouse.facePressed + game.mouse.restartStage, 0);
}

TEST_F(Rules, OpeningFloodsRegionsStopsAtFlagsAndLosesOnAMine)
{
    NoRecordDialogs();
    LayBoard({".....", ".....", "...**", ".....", "....*"});
    // A flag inside the blank region stays closed, and the flood does not pass through it.
    game.board[0][4].flagged = 1;
    game.minesLeft -= 1;
    OpenCell(0, 4, window);  // flagged: nothing, and the clock stays off
    EXPECT_EQ(game.phase, Ready);
    EXPECT_EQ(CountOpened(), 0);
    OpenCell(0, 0, window);
    EXPECT_EQ(game.phase, Running);
    EXPECT_EQ(game.elapsedSeconds, 1);
    EXPECT_EQ(game.board[0][4].opened, 0);
    EXPECT_EQ(game.board[0][4].flagged, 1);
    EXPECT_EQ(game.board[3][1].opened, 1);  // numbered edge of the region
    EXPECT_EQ(game.board[4][3].opened, 0);  // behind the numbers
    ExpectInvariants();
    const int opened = CountOpened();
    OpenCell(0, 0, window);  // already open: nothing
    EXPECT_EQ(CountOpened(), opened);
    OpenCell(4, 4, window);
    EXPECT_EQ(game.phase, Lost);
    EXPECT_EQ(game.board[4][4].opened, 1);
    EXPECT_EQ(game.board[3][2].opened + game.board[4][2].opened, 0);  // only the hit mine
    ExpectInvariants();
    OpenCell(4, 3, window);  // after the loss nothing opens
    EXPECT_EQ(CountOpened(), opened + 1);
}

TEST_F(Rules, FirstOpeningOnAMineStartsTheClockThenLoses)
{
    LayBoard({"*........", ".........", ".........", ".........", ".........", ".........", ".........",
              ".........", "........*"});
    OpenCell(0, 0, window);
    EXPECT_EQ(game.phase, Lost);
    EXPECT_EQ(game.elapsedSeconds, 1);
    EXPECT_EQ(CountOpened(), 1);
}

TEST_F(Rules, TheLastSafeCellWinsInTheMiddleOfAFlood)
{
    NoRecordDialogs();
    LayBoard({"....", "....", "....", "...*"});
    OpenCell(0, 0, window);
    EXPECT_EQ(game.phase, Won);
    EXPECT_EQ(game.cellsToOpen, 0);
    EXPECT_EQ(game.minesLeft, 0);
    EXPECT_EQ(game.board[3][3].flagged, 0);
    EXPECT_EQ(game.board[3][3].opened, 0);
    ExpectInvariants();
    // A won game refuses further openings.
    OpenCell(3, 3, window);
    EXPECT_EQ(game.board[3][3].opened, 0);
    EXPECT_EQ(game.phase, Won);
}

TEST_F(Rules, ChordsThatDoNothingThatWinAndThatOpenTwoMines)
{
    NoRecordDialogs();
    LayBoard({"*..", "...", "..."});
    game.phase = Running;
    // Closed centre: nothing.
    game.mouse.cursorCol = 1;
    game.mouse.cursorRow = 1;
    Chord(window);
    EXPECT_EQ(CountOpened(), 0);
    // Opened 1 without its flag: nothing.
    game.board[1][1].opened = 1;
    game.cellsToOpen -= 1;
    Chord(window);
    EXPECT_EQ(CountOpened(), 1);
    // Two flags around a 1: nothing.
    game.board[0][0].flagged = game.board[2][2].flagged = 1;
    Chord(window);
    EXPECT_EQ(CountOpened(), 1);
    game.board[2][2].flagged = 0;
    game.minesLeft -= 1;
    Chord(window);
    EXPECT_EQ(game.phase, Won);
    EXPECT_EQ(CountOpened(), 8);
    ExpectInvariants();

    // Two wrong flags around a 2: both unflagged mines open and the rest opens too.
    LayBoard({"*.*", "...", "...", "..."});
    game.phase = Running;
    game.board[1][1].opened = 1;
    game.cellsToOpen -= 1;
    game.board[0][2].flagged = game.board[2][2].flagged = 1;
    game.minesLeft -= 2;
    game.mouse.cursorCol = 1;
    game.mouse.cursorRow = 1;
    Chord(window);
    EXPECT_EQ(game.phase, Lost);
    EXPECT_EQ(game.board[0][0].opened, 1);
    EXPECT_EQ(game.board[2][0].opened, 1);
    EXPECT_EQ(game.board[1][0].opened, 1);
    EXPECT_EQ(game.board[0][1].opened, 1);
    EXPECT_EQ(game.board[2][1].opened, 1);
    EXPECT_EQ(game.board[1][2].opened, 1);
    EXPECT_EQ(game.board[0][2].opened + game.board[2][2].opened, 0);
    ExpectInvariants();
}

TEST_F(Rules, PhaseTableHasOnlyItsTransitions)
{
    NoRecordDialogs();
    for (GamePhase from : {Ready, Running, Won, Lost}) {
        LayBoard({"*..", "...", "..."});
        game.phase = from;
        NewGame(window);
        EXPECT_EQ(game.phase, Ready);
    }
    LayBoard({"*..", "...", "..."});
    StartTimer(window);
    EXPECT_EQ(game.phase, Running);
    LoseGame(window);
    EXPECT_EQ(game.phase, Lost);
    // Opening, chording and a second loss leave an ended game where it is.
    for (GamePhase ended : {Won, Lost}) {
        LayBoard({"*..", "...", "..."});
        game.phase = ended;
        OpenCell(2, 2, window);
        EXPECT_EQ(game.phase, ended);
        EXPECT_EQ(game.board[2][2].opened, 0);
    }
}

TEST_F(Rules, TheClockTicksOnceASecondAndEveryEndStopsIt)
{
    NoRecordDialogs();
    auto ticks = [&](int from) { return PumpUntil([&] { return game.elapsedSeconds > from; }, 1600); };
    LayBoard({"*..", "...", "..."});
    StartTimer(window);
    EXPECT_EQ(game.elapsedSeconds, 1);
    EXPECT_TRUE(ticks(1)) << "no tick within 1.6 s";
    EXPECT_EQ(game.elapsedSeconds, 2);

    LoseGame(window);
    EXPECT_FALSE(ticks(game.elapsedSeconds)) << "the clock ran on after a loss";

    LayBoard({"*..", "...", "..."});
    StartTimer(window);
    NewGame(window);
    EXPECT_FALSE(ticks(0)) << "the clock ran on after a new game";

    LayBoard({"*..", "...", "..."});
    StartTimer(window);
    WinGame(window);
    const int time = game.elapsedSeconds;
    EXPECT_FALSE(ticks(time)) << "the clock ran on after a win";

    LayBoard({"*..", "...", "..."});
    StartTimer(window);
    game.elapsedSeconds = 999;
    EXPECT_TRUE(ticks(999));
    EXPECT_EQ(game.elapsedSeconds, 1000);
    LoseGame(window);
}

}  // namespace

// The rules (what opening, flooding, chording, winning and losing do to laid fields) and the mouse
// in both click modes, gesture by gesture: every row a test, played at 96, 144 and 192 DPI.
#include <cstring>

#include "kit.h"

// A 4 x 3 board: mines at (0,0) (flagged), (3,0) and (3,2); (1,0) and (1,1) open. The counts:
//   * 1 1 *
//   1 1 2 2
//   0 0 1 *
static const char A[] = "F1.*/.1../...*", Opened[] = "F11*/.1../...*", Chorded[] = "F11*/112./001*",
                  Flagged[] = "F1f*/.1../...*", LostA[] = "F1.X/.1../...*",
                  WonA[] = "F11*/1122/001*", Fresh[] = "F..*/..../...*";
// The same mines on eight columns, wide enough for the frame (its face is at 64:16 to 88:40, the
// centre at 76:28).
static const char B[] = "F1.*..../.1....../...*....", BShown[] = "P1######/#1######/########",
                  BLost[] = "F1.X..../.1....../...*....",
                  BLostShown[] = "P1#B####/#1######/###M####",
                  BWon[] = "F11*1000/11222000/001*1000", BWonShown[] = "P11P1000/11222000/001P1000";
// One mine under a hundred flags: the mine counter at -99.
static const char Flags100[] =
    "ffffffffffff/ffffffffffff/ffffffffffff/ffffffffffff/ffffffffffff/"
    "ffffffffffff/ffffffffffff/ffffffffffff/*1ffff......";
// A chord on (2,1) that ends the game: a wrong flag at (3,1) loses it.
static const char C[] = "F1.F/.12f/...*", CLost[] = "F11F/112f/001X";

// A gesture on a laid board and the board and phase it must leave ("new": a freshly dealt one).
struct Move {
    const char *board, *steps, *after;
    GamePhase then;
};
void PrintTo(const Move& move, std::ostream* out) { *out << move.board << "  " << move.steps; }

// A gesture and what the player must then see: the face, the cells, the mine counter.
struct Look {
    const char *board, *steps;
    FaceSprite face;
    const char* cells;
    int mines;
};
void PrintTo(const Look& look, std::ostream* out) { *out << look.board << "  " << look.steps; }

// Each row on a window of its own: its board laid, the energy-saving mode chosen where the fixture
// says so, and its gesture played; the test then checks what it left.
template <typename Row, bool energySaving>
class Played : public testing::TestWithParam<Row> {
   protected:
    void SetUp() override {
        Start();
        if (energySaving) Choose(L"省エネ");
        Lay(this->GetParam().board);
        Gesture(this->GetParam().steps);
    }
    void TearDown() override { Quit(); }
};
class Original : public Played<Move, false> {};
class EnergySaving : public Played<Move, true> {};
class OriginalLook : public Played<Look, false> {};

static void ExpectLeft(const Move& move) {
    const bool fresh = std::string(move.after) == "new";
    if (fresh) {
        EXPECT_EQ(Board().find_first_not_of("./*"), std::string::npos) << "no fresh field";
        EXPECT_EQ(game.mouse.restartStage, 0) << "a new game remembers the restart gesture";
    } else {
        EXPECT_EQ(Board(), move.after);
    }
    EXPECT_EQ(game.phase, move.then);
    // The first opening starts the clock at 1; no other gesture starts or restarts it.
    const bool laidReady = !std::strpbrk(move.board, "012345678X");
    const int clock = fresh || move.then == Ready ? 0 : laidReady ? 1 : 7;
    EXPECT_EQ(game.elapsedSeconds, clock) << "the clock";
}

TEST_P(Original, LeavesTheBoard) { ExpectLeft(GetParam()); }
TEST_P(EnergySaving, LeavesTheBoard) { ExpectLeft(GetParam()); }
// Every row's board was laid with the clock at 7.
TEST_P(OriginalLook, ShowsTheScreen) {
    ExpectScreen(GetParam().cells, GetParam().face, GetParam().mines, 7);
}

const Move kRules[] = {
    // Opening a safe cell, a mine (only that one), a flagged or an open cell; the first opening
    // starts the game. The last safe cell opened deep in a flood wins; flags inside a region
    // stay closed.
    {A, "L+@0,0 L- L+@1,0 L-", A, Running},
    {Fresh, "L+@2,0 L-", "F.1*/..../...*", Running},
    {Fresh, "L+@3,0 L-", "F..X/..../...*", Lost},
    {".../.../..*", "L+@0,0 L-", "000/011/01*", Won},
    {".../.../f.*", "L+@0,0 L-", "000/011/f1*", Running},
    // Nothing moves after the end.
    {LostA, "R+@2,1 R- M+@1,1 M- L+@2,0 L-", LostA, Lost},
    {WonA, "R+@3,2 R- L+@3,0 L-", WonA, Won},
    // A chord: the flags around an open cell must match its number; a flag two cells away is not
    // around it. Wrong flags: every unflagged mine around opens, and blanks still flood after the
    // loss.
    {A, "M+@2,1 M- M+@2,0 M-", A, Running},
    {"*1.*/.1../...*", "M+@1,1 M-", "*1.*/.1../...*", Running},
    {".../F1./...", "M+@1,1 M-", "110/F10/110", Won},
    {"F1f*/.1../...*", "M+@1,1 M-", "F1f*/.1../...*", Running},
    {"..F../.F.../F.1.F/...../..F..", "M+@2,2 M-", "..F../.F22./F211F/.212./..F..", Running},
    {"*.*/.2./f.f", "M+@1,1 M-", "X2X/121/f0f", Lost},
    {"*f.../.1.../.....", "M+@1,1 M-", "Xf000/11000/00000", Lost},
};
INSTANTIATE_TEST_SUITE_P(OpeningChordingAndTheEnd, Original, testing::ValuesIn(kRules));

const Move kOriginalButtons[] = {
    // A cell opens on the release, the one under the release, inside the field; a chord on the
    // release of either button while the other is held, or of the middle one.
    {A, "L+@2,0 >@0,2 L-", "F1.*/112./001*", Running},
    {A, "L+@2,0 >@2:2 L-", A, Running},
    {A, "L+@2:2 >@2,0 >@2,1", A, Running},
    {A, "L+@2,0 R+@2:2 L-@2,0 R-", A, Running},
    {A, "R+@2:2 L+ R-@1,1 L-", Chorded, Running},
    {A, "M+@2:2 M-@1,1", Chorded, Running},
    {A, "M+@1,1 L+@2:2 R+@1,1", A, Running},
    {C, "L+@2,1 R+ R-", CLost, Lost},
    // In a new game the release of one of two held buttons starts the clock, wherever it is.
    {Fresh, "L+@2:2 R+ L- R-", Fresh, Running},
    {Fresh, "R+@2:2 L+ R- L-", Fresh, Running},
    {Fresh, "L+@2:2 M+ M- L-", Fresh, Running},
    {Fresh, "R+@2:2 R- M+ M- L+ L-", Fresh, Ready},
    // A right press flags a closed cell with the left button up, in play; no drag in this mode.
    {A, "R+@2,0 >@2,1 >@2,2 R-", Flagged, Running},
    {Fresh, "R+@2,0 R-", "F.f*/..../...*", Ready},
    {Flagged, "R+@2,0 R- R+@1,0 R- L+@2:2 R+@2,1", A, Running},
};
INSTANTIATE_TEST_SUITE_P(TheButtonsInTheOriginalMode, Original,
                         testing::ValuesIn(kOriginalButtons));

const Move kNewGames[] = {
    // After a game: a left click, then a right click, on the field, with no other button held.
    {LostA, "L+@2,0 L-@2:2 R+@2,0 R-@2:2", "new", Ready},
    {LostA, "R+@2,0 R- L+@2:2 L- R+@2,0 R-", LostA, Lost},
    {LostA, "L+@2,0 L- M+@2:2 R+@2,0 M- R-", LostA, Lost},
    // A press and a release inside the face start a new game, in any phase; its hit box's edges.
    {BLost, "L+@76:28 L-", "new", Ready},
    {B, "L+@64:28 L-", B, Running},
    {B, "L+@88:28 L-", B, Running},
    {B, "L+@76:16 L-", B, Running},
    {B, "L+@76:17 L-", "new", Ready},
    {B, "L+@76:39 L-", "new", Ready},
    {B, "L+@76:40 L-", B, Running},
    {B, "L+@76:28 >@2:2 L-", B, Running},
    {B, "L+@2:2 >@76:28 L-", B, Running},
};
INSTANTIATE_TEST_SUITE_P(StartingANewGame, Original, testing::ValuesIn(kNewGames));

const Move kEnergySavingButtons[] = {
    // The left press opens, and so does every cell the left button alone passes over; a chord on
    // the press of the second button, of the middle one, and on every move with both.
    {A, "L+@2,0", Opened, Running},
    {A, "L+@3,0 >@2,0", LostA, Lost},
    {A, "L+@0,0 >@2:2 >@2,0 >@0,0 >@0,2", "F11*/112./001*", Running},
    {A, "M+@2:2 L+@2,0 >@2,1 >@1,1", A, Running},
    {A, "R+@2:2 L+@1,1", Chorded, Running},
    {A, "M+@1,1", Chorded, Running},
    {A, "L+@2:2 R+ >@1,1", Chorded, Running},
    {A, "M+@2:2 >@1,1", Chorded, Running},
    {C, "R+@2:2 L+ >@2,1", CLost, Lost},
    {A, "M+@2:2 M-@1,1 M+@2:2 L+ R+@1,1", A, Running},
    {LostA, "R+@2:2 L+@1,1 L- R- L+@2:2 R+@1,1 >@1,1 M+@1,1 M- >@1,1", LostA, Lost},
    // The right button alone flags each cell it enters, again when it comes back, never in the
    // end.
    {A, "R+@2,0 >@2,0 >@2,1 >@2,1 >@1,1 >@2,0 >@3,1 >@3,1", "F1.*/.1ff/...*", Running},
    {A, "R+@0,1 >@0,1 R-", "F1.*/f1../...*", Running},
    {LostA, "R+@2:2 >@2,0 >@2,1", LostA, Lost},
    // The restart: a left press that ends the game is no step of it.
    {WonA, "L+@1,1 L- L+ L- R+ R-", "new", Ready},
    {A, "L+@3,0 L- R+ R-", LostA, Lost},
};
INSTANTIATE_TEST_SUITE_P(TheButtonsInTheEnergySavingMode, EnergySaving,
                         testing::ValuesIn(kEnergySavingButtons));

const Look kLooks[] = {
    // A press one pixel outside the field shows no pressed cell, one inside shows it.
    {B, "L+@12:76", Surprised, BShown, 2},
    {B, "L+@13:76", Surprised, "P1######/01######/########", 2},
    {B, "L+@139:56", Surprised, "P1#####0/#1######/########", 2},
    {B, "L+@140:56", Surprised, BShown, 2},
    {B, "L+@139:55", Surprised, BShown, 2},
    {B, "L+@13:102", Surprised, "P1######/#1######/0#######", 2},
    {B, "L+@13:103", Surprised, BShown, 2},
    // The field and the counter in each phase, below zero too; the face and the field while
    // buttons are held, the face pressed only while the pointer stays in its hit box.
    {"*.*...../.2....../f.f.....", "", Smile, "########/#2######/P#P#####", 0},
    {"X2X...../121...../f0f.....", "", Dead, "B2B#####/121#####/W0W#####", 0},
    {BWon, "", Sunglasses, BWonShown, 0},
    {"F1f*ffff/f1....../...*....", "", Smile, "P1P#PPPP/P1######/########", -4},
    {B, "L+@0,0", Surprised, BShown, 2},
    {B, "L+@1,1 R+", Surprised, "P10#####/010#####/000#####", 2},
    {B, "M+@1,1", Smile, "P10#####/010#####/000#####", 2},
    {B, "M+@7,2", Smile, "P1######/#1####00/######00", 2},
    {B, "L+@76:28 >@2,0 >@64:28", Smile, BShown, 2},
    {BLost, "L+@76:28", Pressed, BLostShown, 2},
    {B, "L+@76:28 L-@2:2 L+@2,0", Surprised, "P10#####/#1######/########", 2},
    {BLost, "L+@2,0", Dead, BLostShown, 2},
    {BLost, "L+@2,0 R+", Surprised, BLostShown, 2},
    {BWon, "M+@3,0 L+", Sunglasses, BWonShown, 0},
    // A release smiles again; below -99 the mine counter stays at -99.
    {B, "L+@2,0 L-", Smile, "P11#####/#1######/########", 2},
    {Flags100, "R+@10,8 R-", Smile, nullptr, -99},
};
INSTANTIATE_TEST_SUITE_P(ShowingEachPhaseAndThePress, OriginalLook, testing::ValuesIn(kLooks));

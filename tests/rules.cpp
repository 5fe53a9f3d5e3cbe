// The rules: how a field is dealt, and what opening, flooding, chording, winning and losing do
// to laid fields, played with the mouse in the original mode.
#include <cstdlib>

#include "kit.h"

// A 4 x 3 field: mines at (0,0) (flagged), (3,0) and (3,2); (1,0) and (1,1) open. The counts:
//   * 1 1 *
//   1 1 2 2
//   0 0 1 *
static const char A[] = "F1.*/.1../...*";
static const int O = kOriginal;

static const Play kMoves[] = {
    // opening a safe cell, a mine (only that one), a flagged or an open cell; the first opening
    // starts the game, a flag does not, and nothing moves after a loss or a win
    {O, A, Running, "L+@2,0 L-", "F11*/.1../...*", Running},
    {O, A, Running, "L+@3,0 L-", "F1.X/.1../...*", Lost},
    {O, A, Running, "L+@0,0 L- L+@1,0 L-", A, Running},
    {O, "F..*/..../...*", Ready, "L+@2,0 L-", "F.1*/..../...*", Running},
    {O, "F..*/..../...*", Ready, "L+@3,0 L-", "F..X/..../...*", Lost},
    {O, "F..*/..../...*", Ready, "L+@0,0 L-", "F..*/..../...*", Ready},
    {O, "F1.X/.1../...*", Lost, "R+@2,1 R- M+@1,1 M- L+@2,0 L-", "F1.X/.1../...*", Lost},
    {O, "F11*/1122/001*", Won, "R+@3,2 R- L+@3,0 L-", "F11*/1122/001*", Won},
    // chords: the flags around an open cell must match its number (a flag two cells away is not
    // around it)
    {O, A, Running, "M+@2,1 M- M+@2,0 M-", A, Running},
    {O, "*1.*/.1../...*", Running, "M+@1,1 M-", "*1.*/.1../...*", Running},
    {O, ".../F1./...", Running, "M+@1,1 M-", "110/F10/110", Won},
    {O, A, Running, "L+@2,0 L- R+@3,0 R- M+@2,0 M-", "F11F/.122/...*", Running},
    {O, "F1f*/.1../...*", Running, "M+@1,1 M-", "F1f*/.1../...*", Running},
    {O, "F1.F/112./001F", Running, "M+@2,1 M-", "F11F/1122/001F", Won},
    {O, "..F../.F.../F.1.F/...../..F..", Running, "M+@2,2 M-", "..F../.F22./F211F/.212./..F..",
     Running},
    // wrong flags: every unflagged mine around opens, and blanks still flood after the loss
    {O, "*.*/.2./f.f", Running, "M+@1,1 M-", "X2X/121/f0f", Lost},
    {O, "*f.../.1.../.....", Running, "M+@1,1 M-", "Xf000/11000/00000", Lost},
    // the last safe cell opened deep in a flood wins; flags inside a region stay closed
    {O, ".../.../..*", Ready, "L+@0,0 L-", "000/011/01*", Won},
    {O, ".../.../f.*", Running, "L+@0,0 L-", "000/011/f1*", Running},
};

TEST(Rules, MovesOnLaidFields) {
    Start();
    for (const Play& move : kMoves) Verify(move);
    Quit();
}

// A new game deals from the second it began: for each mine a column, then a row, scaled from a
// draw of the C runtime's generator (0 to 32767), a draw on a mine dropped. It forgets the
// buttons and the restart gesture.
TEST(Rules, ANewGameDealsFromItsSecond) {
    Start();
    Settings& s = game.settings;
    s.Width = 30;
    s.Height = 24;
    s.Mines = 667;
    game.mouse = {1, 1, 1, 1, 1, 1};
    __time64_t second;
    do {
        second = _time64(nullptr);
        Choose(L"スタート(&N)");
    } while (second != _time64(nullptr));
    std::vector<std::string> field(24, std::string(30, '.'));
    srand(static_cast<unsigned>(second));
    for (int placed = 0; placed < 667;) {
        const int c = rand() * 30 / 32768;
        const int r = rand() * 24 / 32768;
        placed += field[r][c] == '.';
        field[r][c] = '*';
    }
    std::string dealt = field[0];
    for (int r = 1; r < 24; ++r) dealt += "/" + field[r];
    EXPECT_EQ(Board(), dealt);
    const MouseState& m = game.mouse;
    for (int held :
         {m.restartStage, m.leftDown, m.middleDown, m.rightDown, m.pressShown, m.facePressed}) {
        EXPECT_EQ(held, 0) << "a button or the restart gesture kept from the last game";
    }
    Quit();
}

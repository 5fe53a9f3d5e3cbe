// The rules: how a field is dealt, and what opening, flooding, chording, winning and losing
// do to laid fields, played with the mouse in the original mode.
#include <array>
#include <cstdlib>
#include <cstring>

#include "kit.h"

// A 4 x 3 field: mines at (0,0) (flagged), (3,0) and (3,2); (1,0) and (1,1) open. Opening a
// mine marks only that one; a flagged or open cell stays; a flag starts no clock; nothing moves
// in a lost or won game. The counts of the whole field:
//   * 1 1 *
//   1 1 2 2
//   0 0 1 *
static const char A[] = "F1.*/.1../...*";

static const int O = kOriginal;  // every move in the original mode
static const Play kMoves[] = {
    {O, A, Running, "L+@2,0 L-", "F11*/.1../...*", Running},
    {O, A, Running, "L+@3,0 L-", "F1.X/.1../...*", Lost},
    {O, A, Running, "L+@0,0 L- L+@1,0 L-", A, Running},
    {O, "F..*/..../...*", Ready, "L+@2,0 L-", "F.1*/..../...*", Running},
    {O, "F..*/..../...*", Ready, "L+@3,0 L-", "F..X/..../...*", Lost},
    {O, "F..*/..../...*", Ready, "L+@0,0 L-", "F..*/..../...*", Ready},
    {O, "F1.X/.1../...*", Lost, "R+@2,1 R- M+@1,1 M- L+@2,0 L-", "F1.X/.1../...*", Lost},
    {O, "F11*/1122/001*", Won, "R+@3,2 R- L+@3,0 L-", "F11*/1122/001*", Won},
    // chords: the flags must match the number of an open cell
    {O, A, Running, "M+@2,1 M- M+@2,0 M-", A, Running},
    {O, "*1.*/.1../...*", Running, "M+@1,1 M-", "*1.*/.1../...*", Running},
    {O, ".../F1./...", Running, "M+@1,1 M-", "110/F10/110", Won},
    {O, A, Running, "L+@2,0 L- R+@3,0 R- M+@2,0 M-", "F11F/.122/...*", Running},
    {O, "F1f*/.1../...*", Running, "M+@1,1 M-", "F1f*/.1../...*", Running},
    {O, "F1.F/112./001F", Running, "M+@2,1 M-", "F11F/1122/001F", Won},
    // wrong flags: every unflagged mine around opens, and blanks still flood after the loss
    {O, "*.*/.2./f.f", Running, "M+@1,1 M-", "X2X/121/f0f", Lost},
    {O, "*f.../.1.../.....", Running, "M+@1,1 M-", "Xf000/11000/00000", Lost},
    // the last safe cell opened deep in a flood wins; flags inside a region stay closed
    {O, ".../.../..*", Ready, "L+@0,0 L-", "000/011/01*", Won},
    {O, ".../.../f.*", Running, "L+@0,0 L-", "000/011/f1*", Running},
};

// A deal takes the column, then the row, from each pair of draws of the generator seeded with
// the second of the new game, scaled to the field; a draw on a mine is dropped. A new game
// forgets the buttons, keeps the cells of the pointer, and touches no cell outside the field.
// (The counts around each cell are checked by the moves above and end to end.)
TEST(Rules, MovesOnLaidFieldsAndANewGamesDeal) {
    Start();
    for (const Play& move : kMoves) Verify(move);
    Settings& s = game.settings;
    for (const auto& f :
         {std::array<int, 3>{9, 9, 10}, {16, 16, 40}, {30, 16, 99}, {30, 24, 667}}) {
        s.Width = f[0], s.Height = f[1], s.Mines = f[2], game.phase = Running;
        game.board[s.Width][0].mine = game.board[0][s.Height].mine = 7;
        game.mouse = {1, 1, 1, 1, 1, 1, 7, 8, 9, 10, 11, 12};
        SetTimer(win, kGameTimerId, kTimerPeriodMs, nullptr);
        __time64_t second;
        do second = _time64(nullptr), NewGame(win);
        while (second != _time64(nullptr));
        CheckRecord();
        const MouseState kept{0, 0, 0, 0, 0, 0, 7, 8, 9, 10, 11, 12};
        EXPECT_EQ(std::memcmp(&game.mouse, &kept, sizeof kept) + game.phase * 1000 +
                      game.elapsedSeconds + game.board[s.Width][0].mine +
                      game.board[0][s.Height].mine,
                  14);
        std::string dealt(s.Height * (s.Width + 1) - 1, '.');
        for (int r = 1; r < s.Height; ++r) dealt[r * (s.Width + 1) - 1] = '/';
        srand(static_cast<unsigned>(second));
        for (int placed = 0, c, r; placed < s.Mines; dealt[r * (s.Width + 1) + c] = '*')
            c = rand() * s.Width / 32768, r = rand() * s.Height / 32768,
            placed += dealt[r * (s.Width + 1) + c] == '.';
        EXPECT_EQ(Board(), dealt) << f[0] << "x" << f[1];
    }
    Quit();
}

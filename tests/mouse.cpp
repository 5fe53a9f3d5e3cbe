// The rules (what opening, flooding, chording, winning and losing do to laid fields) and the mouse
// in both click modes, gesture by gesture.
#include "kit.h"

// A 4 x 3 field: mines at (0,0) (flagged), (3,0) and (3,2); (1,0) and (1,1) open. The counts:
//   * 1 1 *
//   1 1 2 2
//   0 0 1 *
static const char A[] = "F1.*/.1../...*", Opened[] = "F11*/.1../...*", Chorded[] = "F11*/112./001*",
                  Flagged[] = "F1f*/.1../...*", LostA[] = "F1.X/.1../...*",
                  WonA[] = "F11*/1122/001*", Fresh[] = "F..*/..../...*";
// The same mines on eight columns, wide enough for the frame (its face is at 64:16 to 88:40, the
// centre at 76:28): a closed cell is drawn '#'.
static const char B[] = "F1.*..../.1....../...*....", BShown[] = "F1######/#1######/########",
                  BLost[] = "F1.X..../.1....../...*....",
                  BLostShown[] = "F1#X####/#1######/###*####",
                  BWon[] = "F11*1000/11222000/001*1000", BWonShown[] = "F11F1000/11222000/001F1000";
// Chords on (2,1) that end the game: a wrong flag at (3,1) loses it, the right flags win it.
static const char C[] = "F1.F/.12f/...*", CLost[] = "F11F/112f/001X", D[] = "F1.F/.12./...F",
                  DWon[] = "F11F/1122/001F";

// O and E: the original and the energy-saving mode.
static const int O = kOriginal, E = kEnergy;
static const Play kGestures[] = {
    // opening a safe cell, a mine (only that one), a flagged or an open cell; the first opening
    // starts the game, a flag does not, and nothing moves after a loss or a win
    {O, A, Running, "L+@2,0 L-", Opened, Running},
    {O, A, Running, "L+@3,0 L-", LostA, Lost},
    {O, A, Running, "L+@0,0 L- L+@1,0 L-", A, Running},
    {O, Fresh, Ready, "L+@2,0 L-", "F.1*/..../...*", Running},
    {O, Fresh, Ready, "L+@3,0 L-", "F..X/..../...*", Lost},
    {O, Fresh, Ready, "L+@0,0 L-", Fresh, Ready},
    {O, LostA, Lost, "R+@2,1 R- M+@1,1 M- L+@2,0 L-", LostA, Lost},
    {O, WonA, Won, "R+@3,2 R- L+@3,0 L-", WonA, Won},
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
    // Original: a cell opens on the release, over the cell under the release, inside the field
    {O, A, Running, "L+@2,0 >@0,2 L-", "F1.*/112./001*", Running},
    {O, A, Running, "L+@2,0 >@2:2 L-", A, Running},
    {O, A, Running, "L+@2:2 >@2,0 >@2,1", A, Running},
    {O, A, Running, "L+@2,0 R+@2:2 L-@2,0 R-", A, Running},
    // chords on the release of either button while the other is held, or of the middle one
    {O, A, Running, "R+@1,1 L+ L-", Chorded, Running},
    {O, A, Running, "L+@1,1 R+ R-", Chorded, Running},
    {O, A, Running, "R+@2:2 L+ R-@1,1 L-", Chorded, Running},
    {O, A, Running, "M+@2:2 M-@1,1", Chorded, Running},
    {O, A, Running, "M+@1,1 L+@2:2 R+@1,1", A, Running},
    {O, C, Running, "L+@2,1 R+ R-", CLost, Lost},
    {O, D, Running, "R+@2,1 L+ L-", DWon, Won},
    {O, C, Running, "M+@2,1 M-", CLost, Lost},
    // in Ready the release of one of two held buttons starts the clock, wherever the pointer is
    {O, Fresh, Ready, "L+@2:2 R+ L- R-", Fresh, Running},
    {O, Fresh, Ready, "R+@2:2 L+ R- L-", Fresh, Running},
    {O, Fresh, Ready, "L+@2:2 M+ M- L-", Fresh, Running},
    {O, Fresh, Ready, "R+@2:2 R- M+ M- L+ L-", Fresh, Ready},
    // flags: a right press on a closed cell with the left button up, in play; no drag in this mode
    {O, A, Running, "R+@2,0 >@2,1 >@2,2 R-", Flagged, Running},
    {O, Fresh, Ready, "R+@2,0 R-", "F.f*/..../...*", Ready},
    {O, Flagged, Running, "R+@2,0 R- R+@1,0 R- L+@2:2 R+@2,1", A, Running},
    {O, LostA, Lost, "R+@2,0 R-", LostA, Lost},
    // energy saving: the left press opens, and so does every cell the left button alone passes
    {E, A, Running, "L+@2,0", Opened, Running},
    {E, A, Running, "L+@3,0 >@2,0", LostA, Lost},
    {E, A, Running, "L+@0,0 >@2:2 >@2,0 >@0,0 >@0,2", "F11*/112./001*", Running},
    {E, A, Running, "M+@2:2 L+@2,0 >@2,1 >@1,1", A, Running},
    {E, A, Running, "M+@2:2 R+ L+@1,1", A, Running},
    // chords on the press of the second button, of the middle one, and on every move with both
    {E, A, Running, "R+@2:2 L+@1,1", Chorded, Running},
    {E, A, Running, "L+@2:2 R+@1,1", Chorded, Running},
    {E, A, Running, "M+@1,1", Chorded, Running},
    {E, A, Running, "L+@2:2 R+ >@1,1", Chorded, Running},
    {E, A, Running, "M+@2:2 >@1,1", Chorded, Running},
    {E, D, Running, "L+@2:2 R+@2,1", DWon, Won},
    {E, C, Running, "R+@2:2 L+ >@2,1", CLost, Lost},
    {E, D, Running, "M+@2,1", DWon, Won},
    {E, A, Running, "M+@2:2 M-@1,1 M+@2:2 L+ R+@1,1", A, Running},
    {E, LostA, Lost, "R+@2:2 L+@1,1 L- R- L+@2:2 R+@1,1 >@1,1 M+@1,1 M- >@1,1", LostA, Lost},
    // the right button alone flags each cell it enters, again when it comes back, never in the end
    {E, A, Running, "R+@2,0 >@2,0 >@2,1 >@2,1 >@1,1 >@2,0", "F1.*/.1f./...*", Running},
    {E, A, Running, "R+@0,1 >@0,1 R-", "F1.*/f1../...*", Running},
    {E, LostA, Lost, "R+@2:2 >@2,0 >@2,1", LostA, Lost},
    // after a game: a left click, then a right click, on the field, with no other button held
    {O, LostA, Lost, "L+@2,0 L-@2:2 R+@2,0 R-@2:2", "new", Ready},
    {E, WonA, Won, "L+@1,1 L- L+ L- R+ R-", "new", Ready},
    {O, LostA, Lost, "R+@2,0 R- L+@2:2 L- R+@2,0 R-", LostA, Lost},
    {O, LostA, Lost, "R+@2:2 L+@2,0 R- L- R+@2,0 R-", LostA, Lost},
    {O, LostA, Lost, "M+@2:2 L+@2,0 M- L- R+@2,0 R-", LostA, Lost},
    {O, LostA, Lost, "L+@2,0 L- M+@2:2 R+@2,0 M- R-", LostA, Lost},
    {O, LostA, Lost, "L+@2,0 L- R+@2,0 L+@2:2 R- L-", LostA, Lost},
    {E, A, Running, "L+@3,0 L- R+ R-", LostA, Lost},
    // the face: a press and a release inside it start a new game, in any phase; its edges
    {O, BLost, Lost, "L+@76:28 L-", "new", Ready},
    {O, B, Running, "L+@64:28 L-", B, Running},
    {O, B, Running, "L+@88:28 L-", B, Running},
    {O, B, Running, "L+@76:16 L-", B, Running},
    {O, B, Running, "L+@76:17 L-", "new", Ready},
    {O, B, Running, "L+@76:39 L-", "new", Ready},
    {O, B, Running, "L+@76:40 L-", B, Running},
    {O, B, Running, "L+@76:28 >@2:2 L-", B, Running},
    {O, B, Running, "L+@2:2 >@76:28 L-", B, Running},
    // the field's edges: a press one pixel outside shows no pressed cell, one inside shows it
    {O, B, Running, "L+@12:76", B, Running, Surprised, BShown},
    {O, B, Running, "L+@13:76", B, Running, Surprised, "F1######/01######/########"},
    {O, B, Running, "L+@139:56", B, Running, Surprised, "F1#####0/#1######/########"},
    {O, B, Running, "L+@140:56", B, Running, Surprised, BShown},
    {O, B, Running, "L+@139:55", B, Running, Surprised, BShown},
    {O, B, Running, "L+@13:102", B, Running, Surprised, "F1######/#1######/0#######"},
    {O, B, Running, "L+@13:103", B, Running, Surprised, BShown},
    // what the field shows in each phase, and the face and the field while buttons are held
    {O, "*.*...../.2....../f.f.....", Running, "", "*.*...../.2....../f.f.....", Running, Smile,
     "########/#2######/F#F#####"},
    {O, "X2X...../121...../f0f.....", Lost, "", "X2X...../121...../f0f.....", Lost, Dead,
     "X2X#####/121#####/W0W#####"},
    {O, BWon, Won, "", BWon, Won, Sunglasses, BWonShown},
    {O, "F1f*ffff/f1....../...*....", Running, "", "F1f*ffff/f1....../...*....", Running, Smile,
     "F1F#FFFF/F1######/########"},
    {O, B, Running, "L+@0,0", B, Running, Surprised, BShown},
    {O, B, Running, "L+@1,1 R+", B, Running, Surprised, "F10#####/010#####/000#####"},
    {O, B, Running, "M+@1,1", B, Running, Smile, "F10#####/010#####/000#####"},
    {E, B, Running, "L+@2:2 M+@2,0", B, Running, Smile, "F100####/#100####/########"},
    {O, BWon, Won, "L+@3,0 R+", BWon, Won, Surprised, BWonShown},
    {O, B, Running, "M+@0,1", B, Running, Smile, "F1######/01######/00######"},
    {O, B, Running, "M+@7,2", B, Running, Smile, "F1######/#1####00/######00"},
    // the face shows pressed only while the pointer stays in its hit box: left, right, top, bottom
    {O, B, Running, "L+@76:28 >@2,0 >@64:28", B, Running, Smile, BShown},
    {O, B, Running, "L+@76:28 >@88:28", B, Running, Smile, BShown},
    {O, B, Running, "L+@76:28 >@76:16", B, Running, Smile, BShown},
    {O, B, Running, "L+@76:28 >@76:40", B, Running, Smile, BShown},
    {O, BLost, Lost, "L+@76:28", BLost, Lost, Pressed, BLostShown},
    {O, B, Running, "L+@76:28 L-@2:2 L+@2,0", B, Running, Surprised, "F10#####/#1######/########"},
    {O, BLost, Lost, "L+@2,0", BLost, Lost, Dead, BLostShown},
    {O, BLost, Lost, "L+@2,0 R+", BLost, Lost, Surprised, BLostShown},
    {O, BWon, Won, "L+@3,0", BWon, Won, Sunglasses, BWonShown},
    {O, BWon, Won, "M+@3,0 L+", BWon, Won, Sunglasses, BWonShown},
    // energy saving: the press opens at once under a surprised face, the release smiles again
    {E, B, Running, "L+@2,0", "F11*..../.1....../...*....", Running, Surprised,
     "F11#####/#1######/########"},
    {E, B, Running, "L+@2,0 L-", "F11*..../.1....../...*....", Running, Smile,
     "F11#####/#1######/########"},
};

// The moves above, placed through the window's scale: ctest plays them at 96, 144 and 192 DPI.
TEST(Mouse, RulesAndGesturesInBothModes) {
    Start();
    for (const Play& gesture : kGestures) Verify(gesture);
    Quit();
}

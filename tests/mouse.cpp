// The mouse in both click modes, gesture by gesture, and random play with the record kept whole.
#include <random>

#include "kit.h"

// The rules' field: mines at (0,0) (flagged), (3,0) and (3,2); (1,1) chords (flag count 1).
static const char A[] = "F1.*/.1../...*", Opened[] = "F11*/.1../...*", Chorded[] = "F11*/112./001*",
                  Flagged[] = "F1f*/.1../...*", LostA[] = "F1.X/.1../...*",
                  WonA[] = "F11*/1122/001*", Fresh[] = "F..*/..../...*";
// The same mines on eight columns, wide enough for the frame: a closed cell is drawn '#'.
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
    {O, BLost, Lost, "L+@F L-", "new", Ready},
    {O, B, Running, "L+@64:28 L-", B, Running},
    {O, B, Running, "L+@65:28 L-", "new", Ready},
    {O, B, Running, "L+@87:28 L-", "new", Ready},
    {O, B, Running, "L+@88:28 L-", B, Running},
    {O, B, Running, "L+@76:16 L-", B, Running},
    {O, B, Running, "L+@76:17 L-", "new", Ready},
    {O, B, Running, "L+@76:39 L-", "new", Ready},
    {O, B, Running, "L+@76:40 L-", B, Running},
    {O, B, Running, "L+@F >@2:2 L-", B, Running},
    {O, B, Running, "L+@2:2 >@F L-", B, Running},
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
    {O, B, Running, "L+@F >@2,0 >@64:28", B, Running, Smile, BShown},
    {O, B, Running, "L+@F >@88:28", B, Running, Smile, BShown},
    {O, B, Running, "L+@F >@76:16", B, Running, Smile, BShown},
    {O, B, Running, "L+@F >@76:40", B, Running, Smile, BShown},
    {O, BLost, Lost, "L+@F", BLost, Lost, Pressed, BLostShown},
    {O, B, Running, "L+@F L-@2:2 L+@2,0", B, Running, Surprised, "F10#####/#1######/########"},
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

// The gestures above, placed through the window's scale: ctest plays them at 96, 144 and 192 DPI.
TEST(Mouse, GesturesInBothModes) {
    Start();
    for (const Play& gesture : kGestures) Verify(gesture);
    Quit();
}

// Random presses, releases and moves anywhere, mode changes and new games from the menu, and for
// part of the steps a click on a cell known to be safe (now and then on a mine): games are won
// and lost, and every message leaves the record whole.
TEST(Mouse, RandomPlayKeepsTheRecordWhole) {
    const unsigned seed = Seed();
    SCOPED_TRACE(testing::Message() << "replay with TESSELMARK_SEED=" << seed);
    std::mt19937 random(seed);
    static const UINT kMessages[] = {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN,
                                     WM_RBUTTONUP, WM_MBUTTONDOWN, WM_MBUTTONUP};
    Start();
    game.settings.Difficulty = CMD_CUSTOM;  // a win asks for no name
    int won = 0;
    int lost = 0;
    for (int step = 0; step < 4000 && !HasFailure(); ++step) {
        const GamePhase before = game.phase;
        const int pick = static_cast<int>(random() % 1000);
        if (pick < 20) {
            Choose(L"スタート(&N)");
        } else if (pick < 40) {
            Choose(pick % 2 ? L"省エネ" : L"オリジナル", false);
        } else if (pick < 600) {
            const bool mine = pick < 50;  // now and then a known mine, so that games are lost too
            int at = static_cast<int>(random() % 81);
            for (int n = 0; n < 81; ++n, at = (at + 1) % 81) {
                const Cell& cell = game.board[at % 9][at / 9];
                if (cell.mine == mine && !cell.opened) break;
            }
            const std::string button = game.board[at % 9][at / 9].flagged ? "R" : "L";
            const std::string place = std::to_string(at % 9) + "," + std::to_string(at / 9);
            Gesture(button + "+@" + place + " " + button + "-");
        } else {
            const int x = static_cast<int>(random() % 190) - 10;
            const int y = static_cast<int>(random() % 230) - 10;
            Send(kMessages[random() % 7], 0, MAKELPARAM(x, y));
        }
        won += before != Won && game.phase == Won;
        lost += before != Lost && game.phase == Lost;
    }
    EXPECT_GT(won, 0) << "no game won";
    EXPECT_GT(lost, 0) << "no game lost";
    Quit();
}

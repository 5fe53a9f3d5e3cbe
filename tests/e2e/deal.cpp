// Prints the board the game deals for a seed: "deal SEED WIDTH HEIGHT MINES".
// One line per row, '*' for a mine and '.' for a safe cell.
#include <cstdio>
#include <cstdlib>

#include "game/game.h"

int main(int argc, char** argv)
{
    if (argc != 5) return 2;
    game.settings.Width = std::atoi(argv[2]);
    game.settings.Height = std::atoi(argv[3]);
    game.settings.Mines = std::atoi(argv[4]);
    DealBoard(static_cast<unsigned>(std::strtoul(argv[1], nullptr, 10)));
    for (int r = 0; r < game.settings.Height; ++r) {
        for (int c = 0; c < game.settings.Width; ++c) std::putchar(game.board[c][r].mine ? '*' : '.');
        std::putchar('\n');
    }
    return 0;
}

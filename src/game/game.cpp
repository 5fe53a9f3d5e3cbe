#include "game/game.h"

#include <cstdlib>
#include <ctime>

#include "store/store.h"

GameState game;

const LevelPreset kLevelPresets[3] = {
    {CMD_BEGINNER, 9, 9, 10, &Settings::Time1, &Settings::Name1, L"Time1", L"Name1", IDC_TIME1,
     IDC_NAME1, L"初級のハイスコアです!"},
    {CMD_INTERMEDIATE, 16, 16, 40, &Settings::Time2, &Settings::Name2, L"Time2", L"Name2",
     IDC_TIME2, IDC_NAME2, L"中級のハイスコアです!"},
    {CMD_EXPERT, 30, 16, 99, &Settings::Time3, &Settings::Name3, L"Time3", L"Name3", IDC_TIME3,
     IDC_NAME3, L"上級のハイスコアです!"},
};

const LevelPreset* FindLevelPreset(int32_t command) {
    for (const LevelPreset& preset : kLevelPresets) {
        if (preset.command == command) return &preset;
    }
    return nullptr;
}

static void ClearField() {
    for (int c = 0; c < game.settings.Width; ++c) {
        for (int r = 0; r < game.settings.Height; ++r) game.board[c][r] = Cell{};
    }
}

static void PlaceMines() {
    int placed = 0;
    while (placed < game.settings.Mines) {
        int column = PlaceFromDraw(rand() % 32768, game.settings.Width);
        int row = PlaceFromDraw(rand() % 32768, game.settings.Height);
        Cell& cell = game.board[column][row];
        if (cell.mine == 0) {
            cell.mine = 1;
            ++placed;
        }
    }
}

void CountNeighbours() {
    for (int c = 0; c < game.settings.Width; ++c) {
        for (int r = 0; r < game.settings.Height; ++r) {
            int count = 0;
            ForEachNeighbour(c, r, [&count](int nc, int nr) { count += game.board[nc][nr].mine; });
            game.board[c][r].adjacentMines = count;
        }
    }
}

void NewGame(HWND window) {
    // The buttons count as up until pressed again; the cursor and drag cells are kept.
    MouseState& mouse = game.mouse;
    mouse.restartStage = mouse.leftDown = mouse.middleDown = 0;
    mouse.rightDown = mouse.pressShown = mouse.facePressed = 0;
    game.elapsedSeconds = 0;
    game.minesLeft = game.settings.Mines;
    game.cellsToOpen = game.settings.Width * game.settings.Height - game.settings.Mines;
    if (game.phase == Running) KillTimer(window, kGameTimerId);
    game.phase = Ready;
    DealBoard(static_cast<unsigned>(static_cast<uint64_t>(_time64(nullptr)) & 0xFFFFFFFFu));
}

void DealBoard(unsigned seed) {
    ClearField();
    srand(seed);
    PlaceMines();
    CountNeighbours();
}

void StartTimer(HWND window) {
    game.phase = Running;
    game.elapsedSeconds = 1;
    SetTimer(window, kGameTimerId, kTimerPeriodMs, nullptr);
}

void LoseGame(HWND window) {
    game.phase = Lost;
    KillTimer(window, kGameTimerId);
}

// Opens one closed safe cell: counts it down, wins on the last one and floods a blank.
static void OpenSafeCell(int column, int row, HWND window) {
    Cell& cell = game.board[column][row];
    --game.cellsToOpen;
    cell.opened = 1;
    if (game.cellsToOpen == 0) WinGame(window);
    if (cell.adjacentMines == 0) FloodOpen(column, row, window);
}

void OpenCell(int column, int row, HWND window) {
    Cell& cell = game.board[column][row];
    if (cell.flagged) return;
    if (game.phase == Ready) StartTimer(window);
    if (GameOver()) return;
    if (cell.mine == 0 && cell.opened == 0) {
        OpenSafeCell(column, row, window);
    } else if (cell.mine) {
        LoseGame(window);
        cell.opened = 1;
    }
}

void FloodOpen(int column, int row, HWND window) {
    ForEachNeighbour(column, row, [&](int c, int r) {
        if (IsClosed(game.board[c][r])) OpenSafeCell(c, r, window);
    });
}

// Opens every closed neighbour of an open number whose flags are all placed; a wrong flag
// leaves a mine unflagged, and every such mine opens and loses the game.
void Chord(HWND window) {
    const int column = game.mouse.cursorCol;
    const int row = game.mouse.cursorRow;
    int flags = 0;
    ForEachNeighbour(column, row, [&](int c, int r) { flags += game.board[c][r].flagged; });
    const Cell& centre = game.board[column][row];
    if (centre.opened != 1 || centre.adjacentMines != flags) return;
    ForEachNeighbour(column, row, [&](int c, int r) {
        Cell& cell = game.board[c][r];
        if (!IsClosed(cell)) return;
        if (cell.mine) {
            cell.opened = 1;
            LoseGame(window);
        } else {
            OpenSafeCell(c, r, window);
        }
    });
}

void WinGame(HWND window) {
    game.phase = Won;
    game.minesLeft = 0;
    KillTimer(window, kGameTimerId);
    // The won board must be on screen when the record dialogs open over it.
    InvalidateRect(window, nullptr, FALSE);
    SendMessageW(window, WM_PAINT, 0, 0);
    CheckNewRecord(window);
}

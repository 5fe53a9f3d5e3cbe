// The game record and the rules that change it.
#pragma once
#include <algorithm>

#include "platform/win.h"
#include "resource.h"

// The fields the game plays, whoever sets them (a level, the custom dialog, a stored value):
// 9 to 30 columns, 9 to 24 rows, 10 mines up to (columns - 1) x (rows - 1). The board is an array
// with room to spare for any of them.
struct Range {
    int32_t low, high;
};
constexpr Range kColumnRange = {9, 30};
constexpr Range kRowRange = {9, 24};
inline Range MineRange(int32_t columns, int32_t rows) { return {10, (columns - 1) * (rows - 1)}; }
inline int32_t Clamp(int32_t value, Range range) {
    return std::clamp(value, range.low, range.high);
}
constexpr int kMaxBoardSide = 50;
static_assert(kColumnRange.high <= kMaxBoardSide && kRowRange.high <= kMaxBoardSide);

constexpr UINT_PTR kGameTimerId = 1;
constexpr UINT kTimerPeriodMs = 1000;
constexpr int kNameCapacity = 64;
constexpr int kNameEntryMax = 16;
constexpr int32_t kNoRecordTime = 999;
constexpr wchar_t kNoRecordName[] = L"名前なし";
constexpr int kMinusCode = 11;

constexpr UINT MSG_BOARD_CHANGED = WM_USER;
constexpr UINT MSG_ASK_NAME = WM_USER + 1;

enum GamePhase : int32_t { Ready = 0, Running = 1, Won = 2, Lost = 3 };

struct Cell {
    int32_t mine;
    int32_t flagged;
    int32_t opened;
    int32_t adjacentMines;
};

struct Settings {
    int32_t XPos = 300;
    int32_t Ypos = 200;
    int32_t Time1 = kNoRecordTime;
    int32_t Time2 = kNoRecordTime;
    int32_t Time3 = kNoRecordTime;
    int32_t Difficulty = CMD_BEGINNER;
    wchar_t Name1[kNameCapacity] = L"名前なし";
    wchar_t Name2[kNameCapacity] = L"名前なし";
    wchar_t Name3[kNameCapacity] = L"名前なし";
    int32_t ClickMode = CMD_MODE_ORIGINAL;
    int32_t Width = 30;
    int32_t Height = 16;
    int32_t Mines = 99;
    int32_t customWidth = 9;
    int32_t customHeight = 9;
    int32_t customMines = 10;
};

struct MouseState {
    int32_t restartStage = 0;
    int32_t leftDown = 0;
    int32_t middleDown = 0;
    int32_t rightDown = 0;
    int32_t pressShown = 0;
    int32_t facePressed = 0;
    int32_t mouseX = 0;
    int32_t mouseY = 0;
    int32_t cursorCol = 0;
    int32_t cursorRow = 0;
    int32_t dragCol = 0;
    int32_t dragRow = 0;
};

// A 32-bit top-down DIB section selected into its memory DC, so its pixels can be read. Each
// buffer keeps its own size: windowRect, the picture's size for the drawing, holds the window's
// screen rectangle for a moment while a level is applied, and a paint can come in that moment.
struct BackBuffer {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    uint32_t* pixels = nullptr;
    int32_t width = 0;
    int32_t height = 0;
};

struct GameState {
    Settings settings;
    Cell board[kMaxBoardSide][kMaxBoardSide] = {};
    GamePhase phase = Ready;
    int32_t cellsToOpen = 0;
    int32_t minesLeft = 0;
    int32_t elapsedSeconds = 0;
    MouseState mouse;
    int32_t mineDigits[3] = {};
    int32_t timerDigits[3] = {};
    HMENU menu = nullptr;
    MENUITEMINFOW menuItem = {};
    BackBuffer backBuffer;    // the whole picture at 1×, as the layout gives it
    BackBuffer screenBuffer;  // at any DPI but 96: the picture at the window's scale
    int32_t dpi = kBaseDpi;
    HBITMAP cellSheet = nullptr;
    HBITMAP faceSheet = nullptr;
    HBITMAP digitSheet = nullptr;
    RECT windowRect = {};
};

extern GameState game;

// One row of the level table, with the level's record: its fields, their registry values, the
// records dialog's statics and the new-record dialog's title. The custom level takes its size
// from the custom fields and has no row and no record.
struct LevelPreset {
    int32_t command;
    int32_t width, height, mines;
    int32_t Settings::*time;
    wchar_t (Settings::*name)[kNameCapacity];
    const wchar_t *timeValue, *nameValue;
    int timeText, nameText;
    const wchar_t* title;
};

extern const LevelPreset kLevelPresets[3];

// The fixed level of a command id, or nullptr for the custom level and other ids.
const LevelPreset* FindLevelPreset(int32_t command);

inline bool IsInField(int column, int row) {
    return column >= 0 && column < game.settings.Width && row >= 0 && row < game.settings.Height;
}

// Calls visit(column, row) for each neighbour of a cell that lies in the field, column by column
// from the left and down each column: the order in which a flood or a chord opens them.
template <typename Visit>
void ForEachNeighbour(int column, int row, Visit visit) {
    for (int c = column - 1; c <= column + 1; ++c) {
        for (int r = row - 1; r <= row + 1; ++r) {
            if ((c != column || r != row) && IsInField(c, r)) visit(c, r);
        }
    }
}

// Neither opened nor flagged: what a flood, a chord and the pressed look may open.
inline bool IsClosed(const Cell& cell) { return !cell.flagged && !cell.opened; }

inline bool GameOver() { return game.phase == Won || game.phase == Lost; }

void NewGame(HWND window);
// Clears the field and deals it from a seed; NewGame seeds with the current second.
void DealBoard(unsigned seed);
// Sets every cell's count of mines among its eight neighbours.
void CountNeighbours();
void StartTimer(HWND window);
void LoseGame(HWND window);
void OpenCell(int column, int row, HWND window);
void FloodOpen(int column, int row, HWND window);
void Chord(HWND window);
void WinGame(HWND window);

// Column (or row) that a generator value 0 … 32767 picks among `size` places.
inline int PlaceFromDraw(int draw, int size) { return draw * size / 32768; }

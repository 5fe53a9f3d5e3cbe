// Drawing the whole client area from the game record, off screen.
#pragma once
#include "platform/win.h"

enum CellSprite {
    Covered = 0,
    Flag,
    QuestionMark,
    ExplodedMine,
    WrongFlag,
    Mine,
    QuestionMarkOpen,
    Number8,
    Number7,
    Number6,
    Number5,
    Number4,
    Number3,
    Number2,
    Number1,
    Open
};
enum FaceSprite { Pressed = 0, Sunglasses, Dead, Surprised, Smile };
enum CounterSprite {
    Minus = 0,
    Blank,
    Digit9,
    Digit8,
    Digit7,
    Digit6,
    Digit5,
    Digit4,
    Digit3,
    Digit2,
    Digit1,
    Digit0
};

constexpr int kDigitWidth = 13;
constexpr int kDigitHeight = 23;
constexpr int kFaceSize = 24;
constexpr int kMaxScreenWidth = 8192;

// Loads a sprite sheet and keeps it as a 32-bit DIB section with the same pixels:
// copying from it is much cheaper than from a device-dependent bitmap.
HBITMAP LoadSheet(HINSTANCE instance, int id);

void PaintAll();
// Makes the table of the 1× column that each column of the screen buffer shows; called
// whenever the screen buffer is built.
void MapScreenColumns();
// Fills the screen buffer from the 1× picture, nearest pixel: screen pixel (x, y) shows 1×
// pixel (Unscaled(x), Unscaled(y)), so no colour is mixed and every 1× pixel becomes a block.
void ScalePicture();
void DrawFrame(HDC target);
void DrawMineCounter(HDC target);
void DrawFace(HDC target);
void DrawTimer(HDC target);
void DrawBoard(HDC target);

// The sprite an unpressed cell shows in the current phase.
int CellSpriteFor(int column, int row);

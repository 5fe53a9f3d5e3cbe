// The picture of the whole client area: drawn at 1× from the game record into the back buffer,
// every layer at every paint, and shown at the window's scale.
#pragma once
#include "platform/win.h"

// The sprites of each sheet, in the order the sheets stack them.
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

// Loads the three sprite sheets, each kept as a 32-bit DIB section with the sheet's pixels:
// copying from it is much cheaper than from a device-dependent bitmap.
void LoadSheets(HINSTANCE instance);
// Makes the buffers anew for the window's client area at the game's DPI: the back buffer of the
// 1× pixels the client shows (their size goes to windowRect) and, at any DPI but 96, the screen
// buffer of the client's size that the picture is scaled into.
void BuildPicture(HWND window);
// Frees the buffers and the sheets.
void FreePicture();
// Fills the screen buffer from the back buffer, nearest pixel: screen pixel (x, y) shows 1× pixel
// (Unscaled(x), Unscaled(y)), so no colour is mixed and every 1× pixel becomes a block.
void ScalePicture();
// Copies the picture, at the window's scale, to a paint DC in one block transfer.
void ShowPicture(HDC target);

void PaintAll();
void DrawFrame(HDC target);
void DrawMineCounter(HDC target);
void DrawFace(HDC target);
void DrawTimer(HDC target);
void DrawBoard(HDC target);

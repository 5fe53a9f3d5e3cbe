// Where everything sits in the 1× picture, in client pixels: the panel with the mine counter,
// the face and the timer across the top, the field below it, each in a sunken box of the frame.
// The window's size, the mouse's hit boxes, the drawing and the bench all take it from here.
#pragma once
#include "game/game.h"

constexpr int kCellSize = 16;
constexpr int kFieldLeft = 12;
constexpr int kFieldTop = 55;
constexpr int kFieldMargin = 8;  // the client's edge right of and below the field

// The sprites of the counters and the face, and the panel's row they stand in.
constexpr int kDigitWidth = 13;
constexpr int kDigitHeight = 23;
constexpr int kCounterWidth = 3 * kDigitWidth;
constexpr int kFaceSize = 24;
constexpr int kPanelRowTop = 16;
constexpr int kMineCounterLeft = 17;
constexpr int kTimerFromRight = 54;  // the timer's left edge, in from the client's right edge

// The frame's two large sunken boxes: the panel and the well round the field, 9 pixels in from
// the client's left and top edges and 6 from its right and bottom edges.
constexpr int kFrameNear = 9;
constexpr int kFrameFar = 6;
constexpr int kPanelBottom = 45;
constexpr int kPanelDepth = 2;
constexpr int kWellDepth = 3;

// The client area a field of `columns` × `rows` needs at 1×.
inline int ClientWidth(int columns) { return kFieldLeft + kCellSize * columns + kFieldMargin; }
inline int ClientHeight(int rows) { return kFieldTop + kCellSize * rows + kFieldMargin; }

// The face stands at half the field's width; the timer keeps to the client's right edge.
inline int FaceLeft(int columns) { return kCellSize * columns / 2; }
inline int TimerLeft(int clientWidth) { return clientWidth - kTimerFromRight; }

// The hit boxes start one pixel inside the pictures they cover: the field's first pixel column
// and row belong to no cell, and the face's first column and row do not press it.
inline bool IsOverField(int x, int y) {
    return x > kFieldLeft && x < kFieldLeft + kCellSize * game.settings.Width && y > kFieldTop &&
           y < kFieldTop + kCellSize * game.settings.Height;
}
inline bool IsOverFace(int x, int y) {
    const int left = FaceLeft(game.settings.Width);
    return x > left && x < left + kFaceSize && y > kPanelRowTop && y < kPanelRowTop + kFaceSize;
}

#include "draw/draw.h"

#include "draw/layout.h"
#include "game/game.h"

void PaintAll() {
    HDC target = game.backBuffer.dc;
    DrawFrame(target);
    DrawMineCounter(target);
    DrawFace(target);
    DrawTimer(target);
    DrawBoard(target);
}

// A sunken box of the frame: its outer edge's pixels and how many pixels deep it is.
struct Box {
    int left, top, right, bottom, depth;
};

// The one-pixel box just outside a picture of the panel's row.
static Box Around(int left, int width, int height) {
    return {left - 1, kPanelRowTop - 1, left + width, kPanelRowTop + height, 1};
}

static void Line(HDC dc, int x0, int y0, int x1, int y1, int x2, int y2) {
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
    LineTo(dc, x2, y2);
}

// Each ring of a box's lower and right sides, and of its upper and left sides. No line reaches
// its end point, so the two corners where the sides meet stay in the surface colour.
static void LowerRight(HDC dc, const Box& b) {
    for (int i = 0; i < b.depth; ++i)
        Line(dc, b.left + 1 + i, b.bottom - i, b.right - i, b.bottom - i, b.right - i, b.top + i);
}
static void UpperLeft(HDC dc, const Box& b) {
    for (int i = 0; i < b.depth; ++i)
        Line(dc, b.left + i, b.bottom - 1 - i, b.left + i, b.top + i, b.right - i, b.top + i);
}

// Selects a new solid pen into `target` for `draw`, then puts the old one back and deletes it.
template <typename Draw>
static void WithPen(HDC target, int width, COLORREF color, Draw draw) {
    HPEN pen = CreatePen(PS_SOLID, width, color);
    HGDIOBJ old = SelectObject(target, pen);
    draw();
    SelectObject(target, old);
    DeleteObject(pen);
}

// The surface, a white band along the left and top edges, and the sunken boxes: lit along their
// lower and right sides, in shadow along their upper and left sides; the face has a shadow
// outline all round. The two greys are the covered cell's.
void DrawFrame(HDC target) {
    const int w = game.windowRect.right;
    const int h = game.windowRect.bottom;
    const Box panel = {kFrameNear, kFrameNear, w - kFrameFar, kPanelBottom, kPanelDepth};
    const Box well = {kFieldLeft - kWellDepth, kFieldTop - kWellDepth, w - kFrameFar, h - kFrameFar,
                      kWellDepth};
    const Box mineCounter = Around(kMineCounterLeft, kCounterWidth, kDigitHeight);
    const Box timer = Around(TimerLeft(w), kCounterWidth, kDigitHeight);
    const Box face = Around(FaceLeft(game.settings.Width), kFaceSize, kFaceSize);
    HDC sheet = CreateCompatibleDC(target);
    HGDIOBJ oldSheet = SelectObject(sheet, game.cellSheet);
    const COLORREF surfaceColor = GetPixel(sheet, 8, 8);
    const COLORREF shadowColor = GetPixel(sheet, 15, 8);
    const COLORREF white = RGB(255, 255, 255);
    WithPen(target, 0, surfaceColor, [&] {
        HBRUSH brush = CreateSolidBrush(surfaceColor);
        HGDIOBJ oldBrush = SelectObject(target, brush);
        Rectangle(target, 0, 0, w, h);
        SelectObject(target, oldBrush);
        DeleteObject(brush);
    });
    // Five wide and centred on the edges, the pen leaves a band three pixels wide.
    WithPen(target, 5, white, [&] { Line(target, 0, h, 0, 0, w, 0); });
    WithPen(target, 0, white, [&] {
        for (const Box& box : {well, panel, mineCounter, timer}) LowerRight(target, box);
    });
    WithPen(target, 0, shadowColor, [&] {
        for (const Box& box : {well, panel, face, mineCounter, timer}) UpperLeft(target, box);
        LowerRight(target, face);
    });
    SelectObject(sheet, oldSheet);
    DeleteDC(sheet);
}

// Turns a value into three digit codes; returns false when it cannot be shown.
static bool CounterCodes(int32_t value, int32_t (&codes)[3]) {
    if (value >= 0 && value <= 999) {
        codes[0] = value / 100;
        codes[1] = value % 100 / 10;
        codes[2] = value % 10;
        return true;
    }
    if (value >= -99 && value <= -1) {
        codes[0] = kMinusCode;
        codes[1] = -value / 10;
        codes[2] = -value % 10;
        return true;
    }
    return false;
}

// The digit sprites run from 9 down to 0, so code c is sprite Digit0 - c; the minus code's is
// Minus.
static_assert(Digit0 - kMinusCode == Minus);

static void DrawDigits(HDC target, int left, const int32_t (&codes)[3]) {
    HDC sheet = CreateCompatibleDC(target);
    HGDIOBJ old = SelectObject(sheet, game.digitSheet);
    for (int k = 0; k < 3; ++k) {
        BitBlt(target, left + kDigitWidth * k, kPanelRowTop, kDigitWidth, kDigitHeight, sheet, 0,
               kDigitHeight * (Digit0 - codes[k]), SRCCOPY);
    }
    SelectObject(sheet, old);
    DeleteDC(sheet);
}

// Each counter keeps its last digits while its value is out of what it can show.
void DrawMineCounter(HDC target) {
    CounterCodes(game.minesLeft, game.mineDigits);
    DrawDigits(target, kMineCounterLeft, game.mineDigits);
}

void DrawTimer(HDC target) {
    if (game.elapsedSeconds < 1000) CounterCodes(game.elapsedSeconds, game.timerDigits);
    DrawDigits(target, TimerLeft(game.windowRect.right), game.timerDigits);
}

// The face of the phase; pressed while the left button that pressed it is over it; surprised
// while the left button is held alone in play, or with the right one in any phase.
void DrawFace(HDC target) {
    const MouseState& m = game.mouse;
    HDC sheet = CreateCompatibleDC(target);
    HGDIOBJ old = SelectObject(sheet, game.faceSheet);
    auto draw = [&](FaceSprite sprite) {
        BitBlt(target, FaceLeft(game.settings.Width), kPanelRowTop, kFaceSize, kFaceSize, sheet, 0,
               kFaceSize * sprite, SRCCOPY);
    };
    draw(Smile);
    if (game.phase == Lost) draw(Dead);
    if (game.phase == Won) draw(Sunglasses);
    if (m.facePressed == 1) {
        if (IsOverFace(m.mouseX, m.mouseY)) draw(Pressed);
    } else if ((!GameOver() && m.pressShown == 1) || (m.leftDown == 1 && m.rightDown == 1)) {
        draw(Surprised);
    }
    SelectObject(sheet, old);
    DeleteDC(sheet);
}

// The sprite an unpressed cell shows in the current phase: a loss shows every mine and every
// wrong flag, a win flags every closed cell.
static CellSprite CellSpriteFor(const Cell& cell) {
    const CellSprite number = static_cast<CellSprite>(Open - cell.adjacentMines);
    if (game.phase == Lost) {
        if (cell.opened && cell.mine) return ExplodedMine;
        if (cell.opened) return number;
        if (cell.flagged) return cell.mine ? Flag : WrongFlag;
        return cell.mine ? Mine : Covered;
    }
    if (cell.flagged) return Flag;
    if (!cell.opened) return game.phase == Won ? Flag : Covered;
    return number;
}

static void DrawCell(HDC target, HDC sheet, int column, int row, CellSprite sprite) {
    BitBlt(target, kFieldLeft + kCellSize * column, kFieldTop + kCellSize * row, kCellSize,
           kCellSize, sheet, 0, kCellSize * sprite, SRCCOPY);
}

// While the game is on and the pointer is over the field, the left button held alone presses
// the closed cell under it, and a chord held presses the closed cells of the block around it.
static void DrawPressedLook(HDC target, HDC sheet) {
    const MouseState& m = game.mouse;
    if (!IsOverField(m.mouseX, m.mouseY) || m.facePressed != 0 || GameOver()) return;
    const auto press = [&](int c, int r) {
        if (IsClosed(game.board[c][r])) DrawCell(target, sheet, c, r, Open);
    };
    const bool chord = (m.leftDown == 1 && m.rightDown == 1) || m.middleDown == 1;
    const int col = m.cursorCol, row = m.cursorRow;
    if ((m.pressShown == 1 || chord) && IsInField(col, row)) press(col, row);
    if (chord) ForEachNeighbour(col, row, press);
}

void DrawBoard(HDC target) {
    HDC sheet = CreateCompatibleDC(target);
    HGDIOBJ old = SelectObject(sheet, game.cellSheet);
    for (int c = 0; c < game.settings.Width; ++c) {
        for (int r = 0; r < game.settings.Height; ++r)
            DrawCell(target, sheet, c, r, CellSpriteFor(game.board[c][r]));
    }
    DrawPressedLook(target, sheet);
    SelectObject(sheet, old);
    DeleteDC(sheet);
}

#include "draw/draw.h"

#include <cstring>

#include "game/game.h"

HBITMAP LoadSheet(HINSTANCE instance, int id) {
    HBITMAP loaded = static_cast<HBITMAP>(
        LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!loaded) return nullptr;
    BITMAP info = {};
    GetObjectW(loaded, sizeof(info), &info);
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof(format.bmiHeader);
    format.bmiHeader.biWidth = info.bmWidth;
    format.bmiHeader.biHeight = info.bmHeight;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP sheet = CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC from = CreateCompatibleDC(nullptr);
    HDC to = CreateCompatibleDC(nullptr);
    HGDIOBJ oldFrom = SelectObject(from, loaded);
    HGDIOBJ oldTo = SelectObject(to, sheet);
    BitBlt(to, 0, 0, info.bmWidth, info.bmHeight, from, 0, 0, SRCCOPY);
    SelectObject(to, oldTo);
    SelectObject(from, oldFrom);
    DeleteDC(to);
    DeleteDC(from);
    DeleteObject(loaded);
    return sheet;
}

void PaintAll() {
    HDC target = game.backBuffer.dc;
    DrawFrame(target);
    DrawMineCounter(target);
    DrawFace(target);
    DrawTimer(target);
    DrawBoard(target);
}

// Outside the game record, so that its zeros take no room in the exe.
static int32_t screenColumns[kMaxScreenWidth];

void MapScreenColumns() {
    for (int x = 0; x < game.screenBuffer.width; ++x) screenColumns[x] = Unscaled(x, game.dpi);
}

void ScalePicture() {
    const BackBuffer& from = game.backBuffer;
    const int width = game.screenBuffer.width, height = game.screenBuffer.height;
    const int32_t* columns = screenColumns;
    uint32_t* row = game.screenBuffer.pixels;
    GdiFlush();  // the picture's GDI drawing must be in its pixels before they are read
    int shownRow = -1;
    for (int y = 0; y < height; ++y, row += width) {
        const int sourceRow = Unscaled(y, game.dpi);
        if (sourceRow == shownRow) {
            std::memcpy(row, row - width, sizeof(*row) * width);
            continue;
        }
        const uint32_t* source = from.pixels + static_cast<size_t>(sourceRow) * from.width;
        for (int x = 0; x < width; ++x) row[x] = source[columns[x]];
        shownRow = sourceRow;
    }
}

static void Line(HDC dc, int x0, int y0, int x1, int y1, int x2, int y2) {
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
    LineTo(dc, x2, y2);
}

static void DrawHighlights(HDC target, int w, int h) {
    for (int i = 0; i < 3; ++i)
        Line(target, 10 + i, h - 6 - i, w - 6 - i, h - 6 - i, w - 6 - i, 52 + i);
    for (int i = 0; i < 2; ++i) Line(target, 10 + i, 45 - i, w - 6 - i, 45 - i, w - 6 - i, 9 + i);
    Line(target, 17, 39, 56, 39, 56, 15);
    Line(target, w - 54, 39, w - 15, 39, w - 15, 15);
}

static void DrawShadows(HDC target, int w, int h) {
    const int f = 8 * game.settings.Width;
    for (int i = 0; i < 3; ++i) Line(target, 9 + i, h - 7 - i, 9 + i, 52 + i, w - 6 - i, 52 + i);
    for (int i = 0; i < 2; ++i) Line(target, 9 + i, 44 - i, 9 + i, 9 + i, w - 6 - i, 9 + i);
    Line(target, f - 1, 39, f - 1, 15, f + 24, 15);
    Line(target, f, 40, f + 24, 40, f + 24, 15);
    Line(target, 16, 38, 16, 15, 56, 15);
    Line(target, w - 55, 38, w - 55, 15, w - 15, 15);
}

void DrawFrame(HDC target) {
    const int w = game.windowRect.right;
    const int h = game.windowRect.bottom;
    HDC sheet = CreateCompatibleDC(target);
    HGDIOBJ oldSheet = SelectObject(sheet, game.cellSheet);
    const COLORREF surfaceColor = GetPixel(sheet, 8, 8);

    HPEN pen = CreatePen(PS_SOLID, 0, surfaceColor);
    HBRUSH brush = CreateSolidBrush(surfaceColor);
    HGDIOBJ oldPen = SelectObject(target, pen);
    HGDIOBJ oldBrush = SelectObject(target, brush);
    Rectangle(target, 0, 0, w, h);
    SelectObject(target, oldBrush);
    SelectObject(target, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);

    pen = CreatePen(PS_SOLID, 5, RGB(255, 255, 255));
    oldPen = SelectObject(target, pen);
    Line(target, 0, h, 0, 0, w, 0);
    SelectObject(target, oldPen);
    DeleteObject(pen);

    pen = CreatePen(PS_SOLID, 0, RGB(255, 255, 255));
    oldPen = SelectObject(target, pen);
    DrawHighlights(target, w, h);
    SelectObject(target, oldPen);
    DeleteObject(pen);

    pen = CreatePen(PS_SOLID, 0, GetPixel(sheet, 15, 8));
    oldPen = SelectObject(target, pen);
    DrawShadows(target, w, h);
    SelectObject(target, oldPen);
    DeleteObject(pen);

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

static void DrawDigits(HDC target, int left, const int32_t (&codes)[3]) {
    HDC sheet = CreateCompatibleDC(target);
    HGDIOBJ old = SelectObject(sheet, game.digitSheet);
    for (int k = 0; k < 3; ++k) {
        BitBlt(target, left + kDigitWidth * k, 16, kDigitWidth, kDigitHeight, sheet, 0,
               kDigitHeight * (11 - codes[k]), SRCCOPY);
    }
    SelectObject(sheet, old);
    DeleteDC(sheet);
}

void DrawMineCounter(HDC target) {
    CounterCodes(game.minesLeft, game.mineDigits);
    DrawDigits(target, 17, game.mineDigits);
}

void DrawTimer(HDC target) {
    if (game.elapsedSeconds < 1000) CounterCodes(game.elapsedSeconds, game.timerDigits);
    DrawDigits(target, game.windowRect.right - 54, game.timerDigits);
}

void DrawFace(HDC target) {
    const MouseState& m = game.mouse;
    const int f = 8 * game.settings.Width;
    const bool over = game.phase == Won || game.phase == Lost;
    HDC sheet = CreateCompatibleDC(target);
    HGDIOBJ old = SelectObject(sheet, game.faceSheet);
    auto draw = [&](FaceSprite sprite) {
        BitBlt(target, f, 16, kFaceSize, kFaceSize, sheet, 0, kFaceSize * sprite, SRCCOPY);
    };
    draw(Smile);
    if (game.phase == Lost) draw(Dead);
    if (game.phase == Won) draw(Sunglasses);
    if (m.facePressed == 1) {
        if (m.mouseX > f && m.mouseX < f + kFaceSize && m.mouseY > 16 && m.mouseY < 40)
            draw(Pressed);
    } else if ((!over && m.pressShown == 1) || (m.leftDown == 1 && m.rightDown == 1)) {
        draw(Surprised);
    }
    SelectObject(sheet, old);
    DeleteDC(sheet);
}

int CellSpriteFor(int column, int row) {
    const Cell& cell = game.board[column][row];
    const int number = 15 - cell.adjacentMines;
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

static void DrawCell(HDC target, HDC sheet, int column, int row, int sprite) {
    BitBlt(target, kFieldLeft + kCellSize * column, kFieldTop + kCellSize * row, kCellSize,
           kCellSize, sheet, 0, kCellSize * sprite, SRCCOPY);
}

static bool IsClosed(int column, int row) {
    const Cell& cell = game.board[column][row];
    return !cell.flagged && !cell.opened;
}

static void DrawPressedLook(HDC target, HDC sheet) {
    const MouseState& m = game.mouse;
    if (!IsOverField(m.mouseX, m.mouseY) || m.facePressed != 0) return;
    if (game.phase != Ready && game.phase != Running) return;
    const int col = m.cursorCol, row = m.cursorRow;
    if (m.pressShown == 1 && IsInField(col, row) && IsClosed(col, row))
        DrawCell(target, sheet, col, row, Open);
    if ((m.leftDown == 1 && m.rightDown == 1) || m.middleDown == 1) {
        for (int c = col - 1; c <= col + 1; ++c) {
            for (int r = row - 1; r <= row + 1; ++r) {
                if (IsInField(c, r) && IsClosed(c, r)) DrawCell(target, sheet, c, r, Open);
            }
        }
    }
}

void DrawBoard(HDC target) {
    HDC sheet = CreateCompatibleDC(target);
    HGDIOBJ old = SelectObject(sheet, game.cellSheet);
    for (int c = 0; c < game.settings.Width; ++c) {
        for (int r = 0; r < game.settings.Height; ++r)
            DrawCell(target, sheet, c, r, CellSpriteFor(c, r));
    }
    DrawPressedLook(target, sheet);
    SelectObject(sheet, old);
    DeleteDC(sheet);
}

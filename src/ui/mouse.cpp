#include "game/game.h"
#include "ui/ui.h"

static bool EnergySaving() { return game.settings.ClickMode == CMD_MODE_ENERGY_SAVING; }
static bool OriginalMode() { return game.settings.ClickMode == CMD_MODE_ORIGINAL; }
static bool GameOver() { return game.phase == Won || game.phase == Lost; }

static bool IsOverFace(int x, int y) {
    const int f = 8 * game.settings.Width;
    return x > f && x < f + 24 && y >= 17 && y <= 39;
}

// The position in the 1× picture's pixels, which every hit box and look is made in: the pixel
// the window shows under the pointer.
static void StorePosition(LPARAM lParam) {
    game.mouse.mouseX = Unscaled(MouseX(lParam), game.dpi);
    game.mouse.mouseY = Unscaled(MouseY(lParam), game.dpi);
}

// Sets the cursor cell from the stored position; false when it is not over the field.
static bool TakeCursorCell() {
    MouseState& m = game.mouse;
    if (!IsOverField(m.mouseX, m.mouseY)) return false;
    m.cursorCol = (m.mouseX - kFieldLeft) / kCellSize;
    m.cursorRow = (m.mouseY - kFieldTop) / kCellSize;
    return true;
}

static Cell& CursorCell() { return game.board[game.mouse.cursorCol][game.mouse.cursorRow]; }

static void ToggleFlag(Cell& cell) {
    cell.flagged = cell.flagged ? 0 : 1;
    game.minesLeft += cell.flagged ? -1 : 1;
}

static void Finish(HWND window, int capture) {
    if (capture > 0) SetCapture(window);
    if (capture < 0) ReleaseCapture();
    InvalidateRect(window, nullptr, FALSE);
}

void OnLeftDown(HWND window, LPARAM lParam) {
    MouseState& m = game.mouse;
    m.leftDown = 1;
    if (m.middleDown == 0 && m.rightDown == 0) m.pressShown = 1;
    StorePosition(lParam);
    if (IsOverFace(m.mouseX, m.mouseY)) m.facePressed = 1;
    if (IsOverField(m.mouseX, m.mouseY)) {
        if (GameOver() && m.rightDown == 0 && m.middleDown == 0 && m.restartStage == 0)
            m.restartStage = 1;
        TakeCursorCell();
        if (EnergySaving()) {
            if (m.rightDown == 1) {
                if (m.middleDown == 0 && game.phase == Running) Chord(window);
            } else if (m.middleDown == 0 && !CursorCell().flagged) {
                OpenCell(m.cursorCol, m.cursorRow, window);
            }
        }
    }
    Finish(window, 1);
}

void OnLeftUp(HWND window, LPARAM lParam) {
    MouseState& m = game.mouse;
    m.leftDown = 0;
    if (m.rightDown == 1 && game.phase == Ready) StartTimer(window);
    StorePosition(lParam);
    if (IsOverFace(m.mouseX, m.mouseY) && m.facePressed == 1) NewGame(window);
    m.facePressed = 0;
    if (OriginalMode() && TakeCursorCell()) {
        if (!CursorCell().flagged && m.pressShown == 1) OpenCell(m.cursorCol, m.cursorRow, window);
        if (m.rightDown == 1 && game.phase == Running) Chord(window);
    }
    if (GameOver() && m.rightDown == 0 && m.middleDown == 0 && m.restartStage == 1)
        m.restartStage = 2;
    m.pressShown = 0;
    Finish(window, -1);
}

void OnRightDown(HWND window, LPARAM lParam) {
    MouseState& m = game.mouse;
    m.rightDown = 1;
    m.pressShown = 0;
    StorePosition(lParam);
    if (TakeCursorCell()) {
        m.dragCol = m.cursorCol;
        m.dragRow = m.cursorRow;
        if (!CursorCell().opened && m.leftDown == 0 && !GameOver()) ToggleFlag(CursorCell());
        if (EnergySaving() && m.leftDown == 1 && m.middleDown == 0 && game.phase == Running)
            Chord(window);
        if (GameOver() && m.leftDown == 0 && m.middleDown == 0 && m.restartStage == 2)
            m.restartStage = 3;
    }
    Finish(window, 1);
}

void OnRightUp(HWND window, LPARAM lParam) {
    MouseState& m = game.mouse;
    m.rightDown = 0;
    if (m.leftDown == 1 && game.phase == Ready) StartTimer(window);
    StorePosition(lParam);
    if (OriginalMode() && TakeCursorCell() && m.leftDown == 1 && game.phase == Running)
        Chord(window);
    if (GameOver() && m.leftDown == 0 && m.middleDown == 0 && m.restartStage == 3) NewGame(window);
    Finish(window, -1);
}

void OnMiddleDown(HWND window, LPARAM lParam) {
    MouseState& m = game.mouse;
    m.middleDown = 1;
    m.pressShown = 0;
    StorePosition(lParam);
    if (TakeCursorCell() && EnergySaving() && game.phase == Running) Chord(window);
    Finish(window, 1);
}

void OnMiddleUp(HWND window, LPARAM lParam) {
    MouseState& m = game.mouse;
    m.middleDown = 0;
    if (m.leftDown == 1 && game.phase == Ready) StartTimer(window);
    StorePosition(lParam);
    if (TakeCursorCell() && OriginalMode() && game.phase == Running) Chord(window);
    Finish(window, -1);
}

void OnMouseMove(HWND window, LPARAM lParam) {
    MouseState& m = game.mouse;
    StorePosition(lParam);
    if (TakeCursorCell() && EnergySaving()) {
        const int held = m.leftDown * 4 + m.rightDown * 2 + m.middleDown;
        Cell& cell = CursorCell();
        switch (held) {
            case 4:
                if (!cell.flagged) OpenCell(m.cursorCol, m.cursorRow, window);
                break;
            case 2:
                if ((m.cursorCol != m.dragCol || m.cursorRow != m.dragRow) && !cell.opened &&
                    !GameOver())
                    ToggleFlag(cell);
                break;
            case 6:
            case 1:
                if (game.phase == Running) Chord(window);
                break;
        }
        m.dragCol = m.cursorCol;
        m.dragRow = m.cursorRow;
    }
    Finish(window, 0);
}

#include "draw/layout.h"
#include "game/game.h"
#include "ui/ui.h"

static bool EnergySaving() { return game.settings.ClickMode == CMD_MODE_ENERGY_SAVING; }
static bool OriginalMode() { return game.settings.ClickMode == CMD_MODE_ORIGINAL; }

// The buttons held, as one set.
enum Buttons { kLeft = 1, kRight = 2, kMiddle = 4 };
static int ButtonsHeld() {
    const MouseState& m = game.mouse;
    return (m.leftDown ? kLeft : 0) | (m.rightDown ? kRight : 0) | (m.middleDown ? kMiddle : 0);
}

// The position in the 1× picture's pixels, which every hit box and look is made in: the pixel
// the window shows under the pointer. The client position is lParam's two 16-bit halves, taken
// unsigned: a captured pointer left of or above the window is far outside every hit box.
static void StorePosition(LPARAM lParam) {
    game.mouse.mouseX = Unscaled(LOWORD(lParam), game.dpi);
    game.mouse.mouseY = Unscaled(HIWORD(lParam), game.dpi);
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

// OpenCell leaves a flagged cell closed.
static void OpenCursorCell(HWND window) {
    OpenCell(game.mouse.cursorCol, game.mouse.cursorRow, window);
}

// A chord is made only in play.
static void ChordInPlay(HWND window) {
    if (game.phase == Running) Chord(window);
}

// A flag goes on or off a closed cell while the game is on; the mine counter follows.
static void ToggleFlag() {
    Cell& cell = CursorCell();
    if (cell.opened || GameOver()) return;
    cell.flagged = cell.flagged ? 0 : 1;
    game.minesLeft += cell.flagged ? -1 : 1;
}

// Once a game is over, a left press on the field, its release, a right press on the field and
// its release start a new game. Each step needs the one before it and no other button held.
static bool RestartStep(int step, int32_t othersDown) {
    MouseState& m = game.mouse;
    if (!GameOver() || othersDown != 0 || m.restartStage != step) return false;
    m.restartStage = step + 1;
    return true;
}

// In energy-saving mode the buttons act at the cursor cell as they go down and at every move:
// the left alone opens, the right alone flags each cell it enters, and both, or the middle
// alone, chord.
static void ActWhileHeld(HWND window) {
    const MouseState& m = game.mouse;
    switch (ButtonsHeld()) {
        case kLeft:
            OpenCursorCell(window);
            break;
        case kRight:
            if (m.cursorCol != m.dragCol || m.cursorRow != m.dragRow) ToggleFlag();
            break;
        case kLeft | kRight:
        case kMiddle:
            ChordInPlay(window);
            break;
    }
}

// Every press captures the mouse, every release gives it up, and every mouse message asks for
// the whole picture again.
static void EndPress(HWND window) {
    SetCapture(window);
    InvalidateRect(window, nullptr, FALSE);
}
static void EndRelease(HWND window) {
    ReleaseCapture();
    InvalidateRect(window, nullptr, FALSE);
}

void OnLeftDown(HWND window, LPARAM lParam) {
    MouseState& m = game.mouse;
    m.leftDown = 1;
    if (m.middleDown == 0 && m.rightDown == 0) m.pressShown = 1;
    StorePosition(lParam);
    if (IsOverFace(m.mouseX, m.mouseY)) m.facePressed = 1;
    if (TakeCursorCell()) {
        // The press that ends a game is no step of the restart: it is tested first.
        RestartStep(0, m.rightDown | m.middleDown);
        if (EnergySaving()) ActWhileHeld(window);
    }
    EndPress(window);
}

// A button goes up. Releasing one button of a chord in a new game starts the clock, wherever the
// pointer is.
static void Release(int32_t& button, int32_t partnerDown, HWND window, LPARAM lParam) {
    button = 0;
    if (partnerDown == 1 && game.phase == Ready) StartTimer(window);
    StorePosition(lParam);
}

void OnLeftUp(HWND window, LPARAM lParam) {
    MouseState& m = game.mouse;
    Release(m.leftDown, m.rightDown, window, lParam);
    if (IsOverFace(m.mouseX, m.mouseY) && m.facePressed == 1) NewGame(window);
    m.facePressed = 0;
    if (OriginalMode() && TakeCursorCell()) {
        if (m.pressShown == 1) OpenCursorCell(window);
        if (m.rightDown == 1) ChordInPlay(window);
    }
    RestartStep(1, m.rightDown | m.middleDown);
    m.pressShown = 0;
    EndRelease(window);
}

// A right or middle button goes down: the left button's press no longer shows.
static void PressBeside(int32_t& button, LPARAM lParam) {
    button = 1;
    game.mouse.pressShown = 0;
    StorePosition(lParam);
}

void OnRightDown(HWND window, LPARAM lParam) {
    MouseState& m = game.mouse;
    PressBeside(m.rightDown, lParam);
    if (TakeCursorCell()) {
        m.dragCol = m.cursorCol;
        m.dragRow = m.cursorRow;
        if (m.leftDown == 0) ToggleFlag();
        if (EnergySaving()) ActWhileHeld(window);
        RestartStep(2, m.leftDown | m.middleDown);
    }
    EndPress(window);
}

void OnRightUp(HWND window, LPARAM lParam) {
    MouseState& m = game.mouse;
    Release(m.rightDown, m.leftDown, window, lParam);
    if (OriginalMode() && TakeCursorCell() && m.leftDown == 1) ChordInPlay(window);
    if (RestartStep(3, m.leftDown | m.middleDown)) NewGame(window);
    EndRelease(window);
}

void OnMiddleDown(HWND window, LPARAM lParam) {
    MouseState& m = game.mouse;
    PressBeside(m.middleDown, lParam);
    if (TakeCursorCell() && EnergySaving()) ChordInPlay(window);
    EndPress(window);
}

void OnMiddleUp(HWND window, LPARAM lParam) {
    MouseState& m = game.mouse;
    Release(m.middleDown, m.leftDown, window, lParam);
    if (TakeCursorCell() && OriginalMode()) ChordInPlay(window);
    EndRelease(window);
}

void OnMouseMove(HWND window, LPARAM lParam) {
    MouseState& m = game.mouse;
    StorePosition(lParam);
    if (TakeCursorCell() && EnergySaving()) {
        ActWhileHeld(window);
        m.dragCol = m.cursorCol;
        m.dragRow = m.cursorRow;
    }
    InvalidateRect(window, nullptr, FALSE);
}

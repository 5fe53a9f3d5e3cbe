#include "game/game.h"
#include "store/store.h"
#include "ui/ui.h"

// Ticks `checked` and clears the other items from `first` to `last`.
static void SetMenuChecks(int first, int last, int checked) {
    game.menuItem.cbSize = sizeof(game.menuItem);
    game.menuItem.fMask = MIIM_STATE;
    for (int id = first; id <= last; ++id) {
        game.menuItem.fState = id == checked ? MFS_CHECKED : 0;
        SetMenuItemInfoW(game.menu, static_cast<UINT>(id), FALSE, &game.menuItem);
    }
}

// Sets and stores a level, resizes the window around its top-left corner and deals anew.
static void ApplyLevel(HWND window, int32_t level, int32_t width, int32_t height, int32_t mines) {
    Settings& s = game.settings;
    s.Difficulty = level;
    s.Width = width;
    s.Height = height;
    s.Mines = mines;
    SaveLevelAndPosition(window);
    FitMainWindow(window, game.windowRect.left, game.windowRect.top);
    SendMessageW(window, MSG_BOARD_CHANGED, 0, 0);
    SetMenuChecks(CMD_BEGINNER, CMD_CUSTOM, level);
}

static void ChooseFixedLevel(HWND window, const LevelPreset& level) {
    ApplyLevel(window, level.command, level.width, level.height, level.mines);
}

static void ChooseCustomLevel(HWND window, bool replay) {
    if (replay) {
        SetMenuChecks(CMD_BEGINNER, CMD_CUSTOM, CMD_CUSTOM);
        return;
    }
    if (RunDialog(window, IDD_CUSTOM, CustomDialogProc) != IDOK) return;
    const Settings& s = game.settings;
    ApplyLevel(window, CMD_CUSTOM, s.customWidth, s.customHeight, s.customMines);
}

static void ChooseClickMode(int mode) {
    game.settings.ClickMode = mode;
    SaveClickMode();
    SetMenuChecks(CMD_MODE_ENERGY_SAVING, CMD_MODE_ORIGINAL, mode);
}

void OnCommand(HWND window, WPARAM wParam) {
    const int id = LOWORD(wParam);
    switch (id) {
        case CMD_NEW_GAME:
            NewGame(window);
            InvalidateRect(window, nullptr, FALSE);
            break;
        case CMD_BEGINNER:
        case CMD_INTERMEDIATE:
        case CMD_EXPERT:
            ChooseFixedLevel(window, *FindLevelPreset(id));
            break;
        case CMD_CUSTOM:
            ChooseCustomLevel(window, HIWORD(wParam) != 0);
            break;
        case CMD_HIGH_SCORES:
            RunDialog(window, IDD_HIGH_SCORES, HighScoresDialogProc);
            break;
        // Destroying the window sends WM_DESTROY, which frees the drawing objects and posts the
        // quit.
        case CMD_EXIT:
            DestroyWindow(window);
            break;
        case CMD_ABOUT:
            RunDialog(window, IDD_ABOUT, AboutDialogProc);
            break;
        case CMD_MODE_ENERGY_SAVING:
        case CMD_MODE_ORIGINAL:
            ChooseClickMode(id);
            break;
    }
}

#include "game/game.h"
#include "store/store.h"
#include "ui/ui.h"

// Told when the key is read-only: a record or a clearing that cannot be stored is not shown
// as kept.
static void SayNotStored(HWND owner, const wchar_t* text) {
    MessageBoxW(owner, text, kWindowTitle, MB_OK | MB_ICONWARNING);
}

// The current fixed level, with its record; nullptr at the custom level.
static const LevelPreset* CurrentLevel() { return FindLevelPreset(game.settings.Difficulty); }

void CheckNewRecord(HWND window) {
    const LevelPreset* level = CurrentLevel();
    if (level && game.elapsedSeconds < game.settings.*level->time) {
        if (!StoreWritable()) {
            SayNotStored(window, L"ハイスコアを保存できないため、記録は残せませんでした。");
            return;
        }
        game.settings.*level->time = game.elapsedSeconds;
        SendMessageW(window, MSG_ASK_NAME, 0, 0);
        SendMessageW(window, WM_COMMAND, CMD_HIGH_SCORES, 0);
    }
    SaveRecords();
}

// The title names the level; the old holder's name stands selected, so typing replaces it.
static BOOL OnNewRecordInit(HWND dialog) {
    if (const LevelPreset* level = CurrentLevel()) {
        SetDlgItemTextW(dialog, IDC_RECORD_TITLE, level->title);
        SetDlgItemTextW(dialog, IDC_NAME_EDIT, game.settings.*level->name);
    }
    HWND edit = GetDlgItem(dialog, IDC_NAME_EDIT);
    SetFocus(edit);
    PostMessageW(edit, EM_SETSEL, 0, -1);
    return FALSE;
}

INT_PTR CALLBACK NewRecordDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            return OnNewRecordInit(dialog);
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                if (const LevelPreset* level = CurrentLevel()) {
                    GetDlgItemTextW(dialog, IDC_NAME_EDIT, game.settings.*level->name,
                                    kNameEntryMax);
                }
                EndDialog(dialog, IDOK);
            }
            return TRUE;
        case WM_CLOSE:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
    }
    return FALSE;
}

static void ShowRecords(HWND dialog) {
    for (const LevelPreset& level : kLevelPresets) {
        wchar_t text[32];
        wsprintfW(text, L"%d 秒", game.settings.*level.time);
        SetDlgItemTextW(dialog, level.timeText, text);
        SetDlgItemTextW(dialog, level.nameText, game.settings.*level.name);
    }
}

static void ClearRecords(HWND dialog) {
    if (!StoreWritable()) {
        SayNotStored(dialog, L"ハイスコアを保存できないため、クリアできませんでした。");
        return;
    }
    for (const LevelPreset& level : kLevelPresets) {
        lstrcpyW(game.settings.*level.name, kNoRecordName);
        game.settings.*level.time = kNoRecordTime;
    }
    ShowRecords(dialog);
    SaveRecords();
}

INT_PTR CALLBACK HighScoresDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            ShowRecords(dialog);
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK:
                    EndDialog(dialog, IDOK);
                    break;
                case IDC_RESET_SCORES:
                    ClearRecords(dialog);
                    break;
            }
            return TRUE;
        case WM_CLOSE:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
    }
    return FALSE;
}

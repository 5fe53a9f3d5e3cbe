#include "game/game.h"
#include "store/store.h"
#include "ui/ui.h"

// Told when the key is read-only: a record or a clearing that cannot be stored is not shown
// as kept.
static void SayNotStored(HWND owner, const wchar_t* text) {
    MessageBoxW(owner, text, kWindowTitle, MB_OK | MB_ICONWARNING);
}

// The record slot of the current level, or nullptr at the custom level.
static const LevelPreset* CurrentSlot() { return FindLevelPreset(game.settings.Difficulty); }

void CheckNewRecord(HWND window) {
    const LevelPreset* slot = CurrentSlot();
    if (slot && game.elapsedSeconds < game.settings.*slot->time) {
        if (!StoreWritable()) {
            SayNotStored(window, L"ハイスコアを保存できないため、記録は残せませんでした。");
            return;
        }
        game.settings.*slot->time = game.elapsedSeconds;
        SendMessageW(window, MSG_ASK_NAME, 0, 0);
        SendMessageW(window, WM_COMMAND, CMD_HIGH_SCORES, 0);
    }
    SaveRecords();
}

static const wchar_t* const kRecordTitles[] = {L"初級のハイスコアです!", L"中級のハイスコアです!",
                                               L"上級のハイスコアです!"};

static BOOL OnNewRecordInit(HWND dialog) {
    const LevelPreset* slot = CurrentSlot();
    if (slot) {
        SetDlgItemTextW(dialog, IDC_RECORD_TITLE, kRecordTitles[slot - kLevelPresets]);
        SetDlgItemTextW(dialog, IDC_NAME_EDIT, game.settings.*slot->name);
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
                if (const LevelPreset* slot = CurrentSlot()) {
                    GetDlgItemTextW(dialog, IDC_NAME_EDIT, game.settings.*slot->name,
                                    kNameEntryMax);
                }
                EndDialog(dialog, 1);
            }
            return TRUE;
        case WM_CLOSE:
            EndDialog(dialog, 2);
            return TRUE;
    }
    return FALSE;
}

static void ShowRecords(HWND dialog) {
    const Settings& s = game.settings;
    const int32_t times[] = {s.Time1, s.Time2, s.Time3};
    const wchar_t* names[] = {s.Name1, s.Name2, s.Name3};
    for (int i = 0; i < 3; ++i) {
        wchar_t text[32];
        wsprintfW(text, L"%d 秒", times[i]);
        SetDlgItemTextW(dialog, IDC_TIME1 + i, text);
        SetDlgItemTextW(dialog, IDC_NAME1 + i, names[i]);
    }
}

static void ClearRecords(HWND dialog) {
    if (!StoreWritable()) {
        SayNotStored(dialog, L"ハイスコアを保存できないため、クリアできませんでした。");
        return;
    }
    Settings& s = game.settings;
    for (wchar_t* name : {s.Name1, s.Name2, s.Name3}) lstrcpyW(name, kNoRecordName);
    s.Time1 = s.Time2 = s.Time3 = kNoRecordTime;
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
                    EndDialog(dialog, 1);
                    break;
                case IDC_RESET_SCORES:
                    ClearRecords(dialog);
                    break;
            }
            return TRUE;
        case WM_CLOSE:
            EndDialog(dialog, 2);
            return TRUE;
    }
    return FALSE;
}

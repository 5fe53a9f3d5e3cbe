#include <algorithm>

#include "game/game.h"
#include "store/store.h"

// Reads an edit as a decimal number brought into [low, high]. A number above the maximum gives
// the maximum however many digits it has; empty text, a negative number (pasted: the edits
// take only typed digits) or anything else that is not a number gives the minimum. Spaces
// around the number are ignored; text beyond 63 characters is not read.
static int32_t ReadClamped(HWND dialog, int id, Range range) {
    wchar_t text[64];
    GetDlgItemTextW(dialog, id, text, 64);
    const wchar_t* p = text;
    while (*p == L' ') ++p;
    const wchar_t* digits = p;
    int64_t value = 0;
    for (; *p >= L'0' && *p <= L'9'; ++p)
        value = std::min<int64_t>(value * 10 + (*p - L'0'), range.high);
    const wchar_t* end = p;
    while (*p == L' ') ++p;
    if (end == digits || *p != 0) return range.low;
    return std::max(range.low, static_cast<int32_t>(value));
}

static void AcceptCustomBoard(HWND dialog) {
    Settings& s = game.settings;
    s.customHeight = ReadClamped(dialog, IDC_HEIGHT, kRowRange);
    s.customWidth = ReadClamped(dialog, IDC_WIDTH, kColumnRange);
    s.customMines = ReadClamped(dialog, IDC_MINES, MineRange(s.customWidth, s.customHeight));
    EndDialog(dialog, IDOK);
}

INT_PTR CALLBACK CustomDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            SetDlgItemInt(dialog, IDC_HEIGHT, static_cast<UINT>(game.settings.Height), FALSE);
            SetDlgItemInt(dialog, IDC_WIDTH, static_cast<UINT>(game.settings.Width), FALSE);
            SetDlgItemInt(dialog, IDC_MINES, static_cast<UINT>(game.settings.Mines), FALSE);
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDC_CUSTOM_OK:
                    AcceptCustomBoard(dialog);
                    break;
                case IDC_CUSTOM_CANCEL:
                    EndDialog(dialog, IDCANCEL);
                    break;
            }
            return TRUE;
        case WM_CLOSE:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
    }
    return FALSE;
}

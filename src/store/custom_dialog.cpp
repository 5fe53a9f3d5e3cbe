#include "game/game.h"
#include "store/store.h"

// Reads an edit as an unsigned number and brings it into [low, high]; numbers too large
// for a signed 32-bit value count as above the maximum.
static int32_t ReadClamped(HWND dialog, int id, int32_t low, int32_t high) {
    const UINT value = GetDlgItemInt(dialog, id, nullptr, FALSE);
    if (value < static_cast<UINT>(low)) return low;
    if (value > static_cast<UINT>(high)) return high;
    return static_cast<int32_t>(value);
}

static void AcceptCustomBoard(HWND dialog) {
    Settings& s = game.settings;
    s.customHeight = ReadClamped(dialog, IDC_HEIGHT, 9, 24);
    s.customWidth = ReadClamped(dialog, IDC_WIDTH, 9, 30);
    s.customMines = ReadClamped(dialog, IDC_MINES, 10, (s.customWidth - 1) * (s.customHeight - 1));
    EndDialog(dialog, 1);
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
                    EndDialog(dialog, 2);
                    break;
            }
            return TRUE;
        case WM_CLOSE:
            EndDialog(dialog, 2);
            return TRUE;
    }
    return FALSE;
}

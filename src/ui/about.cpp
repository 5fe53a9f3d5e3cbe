#include "ui/ui.h"

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM, LPARAM) {
    switch (message) {
        case WM_COMMAND:
        case WM_CLOSE:
            EndDialog(dialog, IDOK);
            return TRUE;
    }
    return FALSE;
}

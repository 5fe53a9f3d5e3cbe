#include "platform/win.h"

int WindowWidthFor(int columns) {
    return 2 * GetSystemMetrics(SM_CXFIXEDFRAME) + 16 * columns + 20;
}

int WindowHeightFor(int rows) {
    return GetSystemMetrics(SM_CYCAPTION) + 2 * GetSystemMetrics(SM_CYFIXEDFRAME) + 16 * rows + 83;
}

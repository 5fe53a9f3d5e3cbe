// What depends on the display's scale alone. ctest runs these at 96 DPI (unit) and at 144 and
// 192 (dpi-144, dpi-192: LogPixels of the tests' prefix), with the screen, menu and mouse cases.
#include <cstdlib>

#include "kit.h"
#include "store/store.h"

// The DPI the prefix is set to, as the screen reports it.
static int LogPixels() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi;
}

// WM_DPICHANGED, as the system sends it when the window moves to a monitor of another scale: the
// game in play goes on, in a window of the size for the new scale at the suggested corner, drawn
// and clicked at that scale; back at the first scale the window has its first size again.
TEST(Dpi, AMoveToAMonitorOfAnotherScaleKeepsTheGameInPlay) {
    const int dpi = LogPixels(), other = dpi == 144 ? 192 : 144;
    if (const char* asked = std::getenv("TESSELMARK_DPI")) {  // set by scripts/at-dpi
        ASSERT_EQ(dpi, std::atoi(asked)) << "the prefix is not at the DPI asked for";
    }
    const char field[] = "F1.*..../.1....../...*....";
    Start();
    Lay(field);
    RECT first, place;
    GetWindowRect(win, &first);
    for (int to : {other, dpi, other}) {
        SCOPED_TRACE(testing::Message() << dpi << " to " << to);
        RECT suggested = {40, 60, 400, 500};
        Send(WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));
        GetWindowRect(win, &place);
        EXPECT_EQ(place.left, 40);
        EXPECT_EQ(place.top, 60);
        if (to == dpi) {
            EXPECT_EQ(place.right - place.left, first.right - first.left) << "the first width";
            EXPECT_EQ(place.bottom - place.top, first.bottom - first.top) << "the first height";
        }
        EXPECT_EQ(Board(), field);
        EXPECT_EQ(game.phase, Running);
        ExpectScreen(nullptr, Smile, nullptr, "007");
    }
    Gesture("L+@2,0 L-");
    EXPECT_EQ(Board(), "F11*..../.1....../...*....") << "a click at the new scale";
    Quit();
}

// A menu bar taller than its one-line allowance (a system with a larger menu font) takes the
// window's height, not the field's (Wine keeps the larger font for the menus of the rest of the
// run); a start stored off every screen comes back onto it whole, by the size of the level it
// shows, whatever size is stored beside it.
TEST(Dpi, TheWindowFitsTheFieldAndTheScreen) {
    NONCLIENTMETRICSW metrics = {}, taller;
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    taller = metrics;
    taller.iMenuHeight = 3 * metrics.iMenuHeight;
    taller.lfMenuFont.lfHeight = 3 * metrics.lfMenuFont.lfHeight;
    SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof(taller), &taller, 0);
    Start();
    ExpectScreen(nullptr, Smile);
    SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    Quit();
    const DWORD offScreen = 5000, expert = CMD_EXPERT;
    Put(L"XPos", REG_DWORD, &offScreen, 4);
    Put(L"Difficulty", REG_DWORD, &expert, 4);
    Start(true);
    RECT work, place;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(win, &place);
    EXPECT_EQ(place.right, work.right) << "an off-screen start comes back by its real size";
    EXPECT_LE(place.bottom, work.bottom) << "an off-screen start comes back by its real size";
    ExpectScreen(nullptr, Smile);
    Quit(WM_COMMAND);
}

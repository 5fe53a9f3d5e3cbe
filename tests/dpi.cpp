// What depends on the display's scale alone. ctest runs these at 96 DPI (unit) and at 144 and
// 192 (dpi-144, dpi-192: LogPixels of the tests' prefix), with the screen, menu and mouse cases.
#include <cstdlib>

#include "kit.h"

// WM_DPICHANGED, as the system sends it when the window moves to a monitor of another scale: the
// game in play goes on, in a window of the size for the new scale at the suggested corner, drawn
// and clicked at that scale; back at the first scale the window has its first size again.
TEST(Dpi, AMoveToAMonitorOfAnotherScaleKeepsTheGameInPlay) {
    const char field[] = "F1.*..../.1....../...*....";
    Start();
    const int dpi = game.dpi, other = dpi == 144 ? 192 : 144;
    if (const char* asked = std::getenv("TESSELMARK_DPI")) {  // set by scripts/at-dpi
        ASSERT_EQ(dpi, std::atoi(asked)) << "the window is not at the DPI the prefix was set to";
    }
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
        EXPECT_EQ(Board(), field) << "the game in play";
        ExpectScreen(nullptr, Smile, "002", "007");
    }
    Gesture("L+@2,0 L-");
    EXPECT_EQ(Board(), "F11*..../.1....../...*....") << "a click at the new scale";
    Quit();
}

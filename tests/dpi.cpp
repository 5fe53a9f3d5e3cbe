// The game at the display's scale. ctest runs these at 96 DPI (unit) and at 144 and 192
// (dpi-144, dpi-192: LogPixels of the tests' prefix): the window fits the field, shows the 1×
// picture with whole pixels, takes the pointer through the same scale, follows a move to a
// monitor of another scale, and every dialog text reads whole (Dpi.EveryDialogTextReadsWhole,
// in store.cpp).
#include <cstdlib>

#include "kit.h"
#include "store/store.h"
#include "ui/ui.h"

// The DPI the prefix is set to, as the screen reports it.
static int LogPixels() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi;
}

// The first (or, with last, the last) client pixel showing 1× pixel p: client pixel x shows 1×
// pixel x * 96 / dpi.
static int At(int p, int dpi, bool last = false) {
    return last ? ((p + 1) * dpi + 95) / 96 - 1 : (p * dpi + 95) / 96;
}

static SIZE ClientSize() {
    RECT client;
    GetClientRect(win, &client);
    return SIZE{client.right, client.bottom};
}

// The client holds the scaled layout, with at most what the menu bar leaves of its one-line
// allowance (the real bar may be a little lower than 20 pixels scaled).
static void ExpectClientFits(int dpi, bool exact) {
    const SIZE client = ClientSize();
    const int width = At(16 * game.settings.Width + 20, dpi),
              height = At(16 * game.settings.Height + 63, dpi);
    EXPECT_GE(client.cx, width) << "the field is cut on the right";
    EXPECT_GE(client.cy, height) << "the field is cut at the bottom";
    if (!exact) return;
    EXPECT_EQ(client.cx, width) << "the window is wider than the field";
    EXPECT_LE(client.cy, height + At(2, dpi)) << "the window is taller than the field";
}

// Every level at this scale; in the beginner's window (wholly on the screen) a lost field with
// every kind of cell and the face, drawn at 1× as the sprites are and shown scaled; a first start
// stored off the screen, brought back by its size at this scale.
TEST(Dpi, TheWindowFitsTheFieldAtTheDisplaysScale) {
    const int dpi = LogPixels();
    if (const char* asked = std::getenv("TESSELMARK_DPI")) {  // set by scripts/at-dpi
        ASSERT_EQ(dpi, std::atoi(asked)) << "the prefix is not at the DPI asked for";
    }
    Start();
    for (int level : {CMD_EXPERT, CMD_INTERMEDIATE, CMD_BEGINNER}) {
        SCOPED_TRACE(testing::Message() << "level " << level << " at " << dpi);
        Send(WM_COMMAND, level);
        ExpectClientFits(dpi, true);
        RECT place;
        GetWindowRect(win, &place);
        EXPECT_EQ(place.left, 300);
        EXPECT_EQ(place.top, 200);
    }
    Lay("X2X...../121...../f0f.....", Lost);
    ExpectScreen("X2X#####/121#####/W0W#####", Dead);
    const DWORD offScreen = 5000;
    Quit(WM_COMMAND);
    RegSetKeyValueW(HKEY_CURRENT_USER, kStoreKey, L"XPos", REG_DWORD, &offScreen, 4);
    Start(true);
    RECT work, place;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(win, &place);
    EXPECT_EQ(place.right, work.right) << "an off-screen start comes back by its real size";
    EXPECT_EQ(place.top, 200) << "the top of an off-screen start";
    Quit();
}

// One client pixel in and one out of every edge of the field's and the face's hit boxes as
// scaled (both start one 1× pixel inside their pictures): a press shows the pressed cell or face,
// a release opens the cell or starts a new game, and on a lost field the restart gesture works.
TEST(Dpi, EveryHitBoxEdgeIsTheScaledOneToThePixel) {
    const int dpi = LogPixels();
    const char B[] = "F1.*..../.1....../...*....", Shown[] = "F1######/#1######/########";
    const char BLost[] = "F1.X..../.1....../...*....";
    const struct {
        int x;
        bool xLast;  // the client's last pixel showing 1× pixel x, or its first
        int y;
        bool yLast;
        int column, row;  // the cell pressed, or -1; -2: the face
    } edges[] = {{12, 1, 76, 0, -1, 0},  {13, 0, 76, 0, 0, 1},   {139, 1, 56, 0, 7, 0},
                 {140, 0, 56, 0, -1, 0}, {139, 1, 55, 1, -1, 0}, {13, 0, 102, 1, 0, 2},
                 {13, 0, 103, 0, -1, 0}, {64, 1, 28, 0, -1, 0},  {65, 0, 28, 0, -2, 0},
                 {87, 1, 28, 0, -2, 0},  {88, 0, 28, 0, -1, 0},  {76, 0, 16, 1, -1, 0},
                 {76, 0, 17, 0, -2, 0},  {76, 0, 39, 1, -2, 0},  {76, 0, 40, 0, -1, 0}};
    Start();
    for (const auto& e : edges) {
        const std::string at = "@" + std::to_string(At(e.x, dpi, e.xLast)) + ":" +
                               std::to_string(At(e.y, dpi, e.yLast));
        SCOPED_TRACE("1x " + std::to_string(e.x) + "," + std::to_string(e.y) + " client " + at);
        const bool face = e.column == -2;
        Lay(B);
        std::string shown = Shown;
        if (e.column >= 0) shown[e.row * 9 + e.column] = '0';
        Gesture("L+" + at);
        ExpectScreen(shown.c_str(), face ? Pressed : Surprised);
        Gesture("L-");
        EXPECT_EQ(game.phase, face ? Ready : Running) << "a new game from the face only";
        if (e.column >= 0) {
            EXPECT_TRUE(game.board[e.column][e.row].opened) << "the cell did not open";
        } else if (!face) {
            EXPECT_EQ(Board(), B) << "a click beside the field changed it";
        }
        Lay(BLost, Lost);
        Gesture("L+" + at + " L- R+ R-");
        EXPECT_EQ(game.phase, e.column == -1 ? Lost : Ready) << "the restart gesture";
    }
    Quit();
}

// WM_DPICHANGED, as the system sends it when the window moves to a monitor of another scale: the
// game in play goes on, in a window of the size for the new scale at the suggested corner, drawn
// and clicked at that scale; back at the first scale the window has its first size again.
TEST(Dpi, AMoveToAMonitorOfAnotherScaleKeepsTheGameInPlay) {
    const int dpi = LogPixels(), other = dpi == 144 ? 192 : 144;
    // A field of the beginner's size, so that the window's size for it is the first one.
    const std::string rows = "/........./........./........./........./........./.........",
                      field = "F1.*...../.1......./...*....." + rows;
    Start();
    RECT first, place;
    GetWindowRect(win, &first);
    Lay(field.c_str());
    game.elapsedSeconds = 7;
    for (int to : {other, dpi, other}) {
        SCOPED_TRACE(testing::Message() << dpi << " to " << to);
        RECT suggested = {40, 60, 400, 500};
        Send(WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));
        GetWindowRect(win, &place);
        EXPECT_EQ(place.left, 40);
        EXPECT_EQ(place.top, 60);
        ExpectClientFits(to, to == dpi);
        if (to == dpi) {
            EXPECT_EQ(place.right - place.left, first.right - first.left) << "the first width";
            EXPECT_EQ(place.bottom - place.top, first.bottom - first.top) << "the first height";
        }
        EXPECT_EQ(Board(), field);
        EXPECT_EQ(game.phase, Running);
        EXPECT_EQ(game.elapsedSeconds, 7);
        ExpectScreen(nullptr, Smile);
    }
    Gesture("L+@" + std::to_string(At(12 + 16 * 2 + 8, other)) + ":" +
            std::to_string(At(63, other)) + " L-");
    EXPECT_EQ(Board(), "F11*...../.1......./...*....." + rows) << "a click at the new scale";
    Quit();
}

// A menu bar taller than its one-line allowance (a system with a larger menu font) takes the
// window's height, not the field's.
TEST(Dpi, AMenuBarTallerThanItsLineGrowsTheWindow) {
    NONCLIENTMETRICSW metrics = {}, taller;
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    taller = metrics;
    taller.iMenuHeight = 3 * metrics.iMenuHeight;
    taller.lfMenuFont.lfHeight = 3 * metrics.lfMenuFont.lfHeight;
    SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof(taller), &taller, 0);
    Start();
    MENUBARINFO bar = {};
    bar.cbSize = sizeof(bar);
    GetMenuBarInfo(win, OBJID_MENU, 0, &bar);
    EXPECT_GT(bar.rcBar.bottom - bar.rcBar.top, At(20, LogPixels())) << "the bar is no taller";
    ExpectClientFits(LogPixels(), false);
    SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    Quit();
}

// What depends on the display's scale alone. ctest runs these at 96 DPI (unit) and at 144 and
// 192 (dpi-144, dpi-192: LogPixels of the tests' prefix), with the screen, menu and mouse cases.
#include <algorithm>
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

// One client pixel in and one out of every edge of the field's and the face's hit boxes as
// scaled (both start one 1× pixel inside their pictures): a press shows the pressed cell or face,
// a release opens the cell or starts a new game, and on a lost field the restart gesture works.
TEST(Dpi, EveryHitBoxEdgeIsTheScaledOneToThePixel) {
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
    if (const char* asked = std::getenv("TESSELMARK_DPI")) {  // set by scripts/at-dpi
        ASSERT_EQ(LogPixels(), std::atoi(asked)) << "the prefix is not at the DPI asked for";
    }
    Start();
    for (const auto& e : edges) {
        const int x = e.xLast ? At(e.x + 1) - 1 : At(e.x), y = e.yLast ? At(e.y + 1) - 1 : At(e.y);
        SCOPED_TRACE(testing::Message()
                     << "1x " << e.x << "," << e.y << " client " << x << "," << y);
        const bool face = e.column == -2;
        Lay(B);
        std::string shown = Shown;
        if (e.column >= 0) shown[e.row * 9 + e.column] = '0';
        Send(WM_LBUTTONDOWN, 0, MAKELPARAM(x, y));
        ExpectScreen(shown.c_str(), face ? Pressed : Surprised);
        Send(WM_LBUTTONUP, 0, MAKELPARAM(x, y));
        EXPECT_EQ(game.phase, face ? Ready : Running) << "a new game from the face only";
        if (e.column >= 0) {
            EXPECT_TRUE(game.board[e.column][e.row].opened) << "the cell did not open";
        } else if (!face) {
            EXPECT_EQ(Board(), B) << "a click beside the field changed it";
        }
        Lay(BLost, Lost);
        for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP}) {
            Send(message, 0, MAKELPARAM(x, y));
        }
        EXPECT_EQ(game.phase, e.column == -1 ? Lost : Ready) << "the restart gesture";
    }
    Quit();
}

// WM_DPICHANGED, as the system sends it when the window moves to a monitor of another scale: the
// game in play goes on, in a window of the size for the new scale at the suggested corner, drawn
// and clicked at that scale; back at the first scale the window has its first size again.
TEST(Dpi, AMoveToAMonitorOfAnotherScaleKeepsTheGameInPlay) {
    const int dpi = LogPixels(), other = dpi == 144 ? 192 : 144;
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

// The records show every name the game keeps on one line: whole where it fits, cut with dots
// where it does not, never wrapped into a second line, an ampersand as itself.
TEST(Dpi, TheRecordsShowEachNameOnOneLine) {
    const struct {
        std::wstring name;
        bool whole;
    } names[] = {{L"ABCDEFGHIJKLMNO", true},
                 {L"テスト太郎 X&Y", true},
                 {L"テスト太郎テスト太郎テスト太郎", false}};
    Start();
    for (int i = 0; i < 3; ++i) lstrcpyW((&game.settings.Name1)[i], names[i].name.c_str());
    WithDialog(
        [&](HWND dialog) {
            const std::vector<DWORD> pixels = ClientPixels(dialog);
            RECT all;
            GetClientRect(dialog, &all);
            for (int i = 0; i < 3; ++i) {
                SCOPED_TRACE(testing::PrintToString(names[i].name));
                HWND shown = GetDlgItem(dialog, IDC_NAME1 + i);
                RECT box;
                GetWindowRect(shown, &box);
                MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&box), 2);
                HDC dc = GetDC(shown);
                SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(shown, WM_GETFONT, 0, 0)));
                TEXTMETRICW font;
                GetTextMetricsW(dc, &font);
                SIZE whole;
                SIZE dots;
                const std::wstring& name = names[i].name;
                GetTextExtentPoint32W(dc, name.c_str(), static_cast<int>(name.size()), &whole);
                GetTextExtentPoint32W(dc, L"...", 3, &dots);
                ReleaseDC(shown, dc);
                // Each column's highest and lowest ink, and the rightmost column with any.
                const DWORD paper = pixels[box.top * all.right + box.left];
                std::vector<int> top(box.right, box.bottom), low(box.right, -1);
                int right = -1;
                for (int y = box.top; y < box.bottom; ++y) {
                    for (int x = box.left; x < box.right; ++x) {
                        if (pixels[y * all.right + x] == paper) continue;
                        top[x] = std::min(top[x], y);
                        low[x] = std::max(low[x], y);
                        right = std::max(right, x);
                    }
                }
                ASSERT_GE(right, 0) << "no name shown";
                EXPECT_LT(*std::max_element(low.begin(), low.end()), box.top + font.tmHeight)
                    << "ink of a second line";
                if (names[i].whole) {
                    EXPECT_LE(whole.cx, box.right - box.left) << "the name's column is too narrow";
                    EXPECT_GE(right + 1 - box.left, whole.cx - font.tmAveCharWidth / 2)
                        << "the name is not shown whole";
                } else {
                    // The last dot and a half of the "...": ink at the foot of the line only.
                    int high = box.bottom;
                    int deep = -1;
                    for (int x = right - dots.cx / 2; x <= right; ++x) {
                        high = std::min(high, top[x]);
                        deep = std::max(deep, low[x]);
                    }
                    EXPECT_LE(deep - high, font.tmHeight / 4) << "cut without dots";
                }
            }
            PostMessageW(dialog, WM_CLOSE, 0, 0);
        },
        [] { Choose(L"ハイスコア(&H)", false); });
    Quit();
}

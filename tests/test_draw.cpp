// Drawing on real GDI: PaintAll into a 32-bit back buffer, read back and compared with a
// picture composed here from the layout, the frame's line list and recognisable sheets.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "draw/draw.h"
#include "testkit.h"

namespace {

// Pixels as a 32-bit DIB stores them: 0x00RRGGBB.
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kLightGrey = 0xC0C0C0;
constexpr uint32_t kDarkGrey = 0x808080;

struct Image {
    int w = 0, h = 0;
    std::vector<uint32_t> px;
    Image(int width, int height, uint32_t fill = 0) : w(width), h(height), px(size_t(width) * height, fill) {}
    uint32_t At(int x, int y) const { return px[size_t(y) * w + x] & 0xFFFFFF; }
    void Set(int x, int y, uint32_t c)
    {
        if (x >= 0 && y >= 0 && x < w && y < h) px[size_t(y) * w + x] = c;
    }
};

// A top-down 32-bit DIB section selected into its own memory DC.
struct Surface {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
    uint32_t* bits = nullptr;
    int w = 0, h = 0;
    void Create(int width, int height)
    {
        w = width;
        h = height;
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* memory = nullptr;
        bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &memory, nullptr, 0);
        bits = static_cast<uint32_t*>(memory);
        dc = CreateCompatibleDC(nullptr);
        old = SelectObject(dc, bitmap);
    }
    void Destroy()
    {
        if (!dc) return;
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(bitmap);
        dc = nullptr;
    }
    Image Read() const
    {
        GdiFlush();
        Image image(w, h);
        std::memcpy(image.px.data(), bits, image.px.size() * 4);
        return image;
    }
};

// The test sheets: every pixel tells which sheet, which sprite and which spot it is.
enum SheetId { CellsSheet = 0, FacesSheet = 1, DigitsSheet = 2 };
struct SheetShape { int w, h, count; };
constexpr SheetShape kShapes[3] = {{16, 16, 16}, {24, 24, 5}, {13, 23, 12}};

uint32_t SurfaceColour = kLightGrey;
uint32_t ShadowColour = kDarkGrey;

uint32_t SheetPixel(int sheet, int sprite, int x, int y)
{
    if (sheet == CellsSheet && sprite == 0 && y == 8 && x == 8) return SurfaceColour;
    if (sheet == CellsSheet && sprite == 0 && y == 8 && x == 15) return ShadowColour;
    const uint32_t r = 0x20 + 0x30 * sheet + sprite;
    return r << 16 | uint32_t(x * 8 + 3) << 8 | uint32_t(y * 8 + 5);
}

HBITMAP MakeSheet(int sheet)
{
    const SheetShape& s = kShapes[sheet];
    Surface surface;
    surface.Create(s.w, s.h * s.count);
    for (int k = 0; k < s.count; ++k)
        for (int y = 0; y < s.h; ++y)
            for (int x = 0; x < s.w; ++x) surface.bits[(k * s.h + y) * s.w + x] = SheetPixel(sheet, k, x, y);
    // Keep the bitmap, drop only the DC.
    SelectObject(surface.dc, surface.old);
    DeleteDC(surface.dc);
    return surface.bitmap;
}

// Independent rasteriser for the frame: a segment covers its start and stops before its end.
void Segment(Image& image, int x0, int y0, int x1, int y1, uint32_t c)
{
    const int dx = (x1 > x0) - (x1 < x0), dy = (y1 > y0) - (y1 < y0);
    for (int x = x0, y = y0; x != x1 || y != y1; x += dx, y += dy) image.Set(x, y, c);
}
void Polyline(Image& image, uint32_t c, int x0, int y0, int x1, int y1, int x2, int y2)
{
    Segment(image, x0, y0, x1, y1, c);
    Segment(image, x1, y1, x2, y2, c);
}

Image FrameReference(int W, int H, int F)
{
    Image image(W, H, SurfaceColour);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            if (x <= 2 || y <= 2) image.Set(x, y, kWhite);
    for (int i = 0; i < 3; ++i) Polyline(image, kWhite, 10 + i, H - 6 - i, W - 6 - i, H - 6 - i, W - 6 - i, 52 + i);
    for (int i = 0; i < 2; ++i) Polyline(image, kWhite, 10 + i, 45 - i, W - 6 - i, 45 - i, W - 6 - i, 9 + i);
    Polyline(image, kWhite, 17, 39, 56, 39, 56, 15);
    Polyline(image, kWhite, W - 54, 39, W - 15, 39, W - 15, 15);
    const uint32_t s = ShadowColour;
    for (int i = 0; i < 3; ++i) Polyline(image, s, 9 + i, H - 7 - i, 9 + i, 52 + i, W - 6 - i, 52 + i);
    for (int i = 0; i < 2; ++i) Polyline(image, s, 9 + i, 44 - i, 9 + i, 9 + i, W - 6 - i, 9 + i);
    Polyline(image, s, F - 1, 39, F - 1, 15, F + 24, 15);
    Polyline(image, s, F, 40, F + 24, 40, F + 24, 15);
    Polyline(image, s, 16, 38, 16, 15, 56, 15);
    Polyline(image, s, W - 55, 38, W - 55, 15, W - 15, 15);
    return image;
}

void Blit(Image& image, int sheet, int sprite, int left, int top)
{
    const SheetShape& s = kShapes[sheet];
    for (int y = 0; y < s.h; ++y)
        for (int x = 0; x < s.w; ++x) image.Set(left + x, top + y, SheetPixel(sheet, sprite, x, y));
}

// Which sprite of a test sheet the image shows at (left, top), or -1 for none.
int Shown(const Image& image, int sheet, int left, int top)
{
    const SheetShape& s = kShapes[sheet];
    for (int k = 0; k < s.count; ++k) {
        bool same = true;
        for (int y = 0; y < s.h && same; ++y)
            for (int x = 0; x < s.w && same; ++x) same = image.At(left + x, top + y) == SheetPixel(sheet, k, x, y);
        if (same) return k;
    }
    return -1;
}

// The picture PaintAll should make, described by the sprite at every place.
struct Scene {
    int W, H, F, columns, rows;
    int mines[3] = {Digit0, Digit0, Digit0};
    int timer[3] = {Digit0, Digit0, Digit0};
    int face = Smile;
    int cell[kMaxBoardSide][kMaxBoardSide] = {};
};

// Digit sprites for a three-character counter text such as "-42".
void Digits(int (&sprites)[3], const char* text)
{
    for (int k = 0; k < 3; ++k) sprites[k] = text[k] == '-' ? Minus : 11 - (text[k] - '0');
}

std::string DigitText(const Image& image, int left)
{
    std::string text;
    for (int k = 0; k < 3; ++k) {
        const int sprite = Shown(image, DigitsSheet, left + 13 * k, 16);
        text += sprite == Minus ? '-' : sprite >= Digit9 && sprite <= Digit0 ? char('0' + 11 - sprite) : '?';
    }
    return text;
}

Image Render(const Scene& s)
{
    Image image = FrameReference(s.W, s.H, s.F);
    for (int k = 0; k < 3; ++k) Blit(image, DigitsSheet, s.mines[k], 17 + 13 * k, 16);
    Blit(image, FacesSheet, s.face, s.F, 16);
    for (int k = 0; k < 3; ++k) Blit(image, DigitsSheet, s.timer[k], s.W - 54 + 13 * k, 16);
    for (int c = 0; c < s.columns; ++c)
        for (int r = 0; r < s.rows; ++r) Blit(image, CellsSheet, s.cell[c][r], 12 + 16 * c, 55 + 16 * r);
    return image;
}

// Counts differing pixels and names the first one.
int Differences(const Image& actual, const Image& expected, std::string* first)
{
    int n = 0;
    for (int y = 0; y < expected.h; ++y)
        for (int x = 0; x < expected.w; ++x)
            if (actual.At(x, y) != expected.At(x, y) && n++ == 0) {
                char text[96];
                std::snprintf(text, sizeof text, "(%d,%d) is %06X, expected %06X", x, y, unsigned(actual.At(x, y)),
                              unsigned(expected.At(x, y)));
                *first = text;
            }
    return n;
}

class Draw : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = StartGame();
        ASSERT_TRUE(IsWindow(window));
        realRect = game.windowRect;
        realBuffer = game.backBuffer;
        SurfaceColour = kLightGrey;
        ShadowColour = kDarkGrey;
        for (HBITMAP* sheet : {&game.cellSheet, &game.faceSheet, &game.digitSheet}) {
            if (*sheet) DeleteObject(*sheet);
            *sheet = nullptr;
        }
        game.cellSheet = MakeSheet(CellsSheet);
        game.faceSheet = MakeSheet(FacesSheet);
        game.digitSheet = MakeSheet(DigitsSheet);
        Level(9, 9);
    }
    void TearDown() override
    {
        buffer.Destroy();
        game.backBuffer = realBuffer;
        game.windowRect = realRect;
        for (HBITMAP* sheet : {&game.cellSheet, &game.faceSheet, &game.digitSheet}) {
            DeleteObject(*sheet);
            *sheet = nullptr;
        }
        EndGame(window);
    }
    // A fresh field of the given size, all cells closed, and a back buffer of the client
    // size the layout asks for plus any extra.
    void Level(int columns, int rows, int extraW = 0, int extraH = 0)
    {
        game.settings.Width = columns;
        game.settings.Height = rows;
        for (int c = 0; c < kMaxBoardSide; ++c)
            for (int r = 0; r < kMaxBoardSide; ++r) game.board[c][r] = Cell{};
        game.phase = Ready;
        game.minesLeft = 0;
        game.elapsedSeconds = 0;
        game.mouse = MouseState{};
        const int W = 16 * columns + 20 + extraW, H = 16 * rows + 63 + extraH;
        buffer.Destroy();
        buffer.Create(W, H);
        game.backBuffer.dc = buffer.dc;
        game.backBuffer.bitmap = buffer.bitmap;
        game.windowRect = RECT{0, 0, W, H};
    }
    Scene Expected() const
    {
        Scene s;
        s.W = buffer.w;
        s.H = buffer.h;
        s.F = 8 * game.settings.Width;
        s.columns = game.settings.Width;
        s.rows = game.settings.Height;
        return s;
    }
    Image Paint()
    {
        PaintAll();
        return buffer.Read();
    }
    // Paints and compares sprite by sprite (for a readable failure), then pixel by pixel.
    void ExpectScene(const Scene& s, const std::string& what)
    {
        const Image actual = Paint();
        for (int c = 0; c < s.columns; ++c)
            for (int r = 0; r < s.rows; ++r)
                EXPECT_EQ(Shown(actual, CellsSheet, 12 + 16 * c, 55 + 16 * r), s.cell[c][r])
                    << what << ": cell " << c << "," << r;
        EXPECT_EQ(Shown(actual, FacesSheet, s.F, 16), s.face) << what << ": face";
        std::string first;
        EXPECT_EQ(Differences(actual, Render(s), &first), 0) << what << ": first difference at " << first;
    }
    int FaceNow() { return Shown(Paint(), FacesSheet, 8 * game.settings.Width, 16); }
    HWND window = nullptr;
    RECT realRect = {};
    BackBuffer realBuffer;
    Surface buffer;
};

TEST_F(Draw, FrameOfBeginnerAndExpertMatchesTheLineListPixelForPixel)
{
    struct Case { int columns, rows, W, H, face, timer; } cases[] = {{9, 9, 164, 207, 72, 110}, {30, 16, 500, 319, 240, 446}};
    struct Colours { uint32_t surface, shadow; } colours[] = {{kLightGrey, kDarkGrey}, {0x3A6B1C, 0x1F2E9D}};
    for (const Colours& colour : colours) {
        SurfaceColour = colour.surface;
        ShadowColour = colour.shadow;
        DeleteObject(game.cellSheet);
        game.cellSheet = MakeSheet(CellsSheet);
        for (const Case& k : cases) {
            Level(k.columns, k.rows);
            ASSERT_EQ(buffer.w, k.W);
            ASSERT_EQ(buffer.h, k.H);
            // The frame alone, into a DC of exactly the client size.
            Surface frame;
            frame.Create(k.W, k.H);
            DrawFrame(frame.dc);
            std::string first;
            EXPECT_EQ(Differences(frame.Read(), FrameReference(k.W, k.H, 8 * k.columns), &first), 0)
                << k.W << "x" << k.H << " surface " << std::hex << colour.surface << ": " << first;
            frame.Destroy();
            // And the whole picture, layered.
            game.minesLeft = 10;
            Scene s = Expected();
            Digits(s.mines, "010");
            ExpectScene(s, std::to_string(k.W) + "x" + std::to_string(k.H));
            const Image image = buffer.Read();
            EXPECT_EQ(Shown(image, FacesSheet, k.face, 16), Smile);
            EXPECT_EQ(DigitText(image, k.timer), "000");
            EXPECT_EQ(image.At(0, 0), kWhite);
            EXPECT_EQ(image.At(k.W - 1, k.H - 1), colour.surface);
        }
    }
}

TEST_F(Draw, WiderAndTallerClientMovesRightAndBottomSidesAndTimerOnly)
{
    Level(9, 9, 37, 23);
    game.elapsedSeconds = 58;
    Scene s = Expected();
    EXPECT_EQ(s.W, 201);
    Digits(s.timer, "058");
    ExpectScene(s, "201x230");
    EXPECT_EQ(DigitText(buffer.Read(), 201 - 54), "058");
    Level(30, 16, 0, 40);
    s = Expected();
    ExpectScene(s, "500x359");
}

TEST_F(Draw, MineCounterShowsItsRangeAndKeepsDigitsOutsideIt)
{
    struct Step { int value; const char* shown; } steps[] = {
        {0, "000"},     {10, "010"},  {999, "999"},   {1000, "999"},   {-1, "-01"},    {-42, "-42"},  {-99, "-99"},
        {-100, "-99"},  {-5000, "-99"}, {-98, "-98"}, {123, "123"},    {-100, "123"},  {7, "007"},    {1500, "007"},
        {INT32_MIN, "007"}, {5, "005"}};
    for (const Step& step : steps) {
        game.minesLeft = step.value;
        EXPECT_EQ(DigitText(Paint(), 17), step.shown) << step.value;
    }
    // A custom field the size of a big one, counter and face in place.
    Level(30, 24);
    game.minesLeft = -7;
    Scene s = Expected();
    Digits(s.mines, "-07");
    ExpectScene(s, "30x24");
}

TEST_F(Draw, TimerShowsSecondsAndHoldsItsLastDigitsFromOneThousand)
{
    struct Step { int value; const char* shown; } steps[] = {
        {0, "000"}, {1, "001"}, {47, "047"}, {999, "999"}, {1000, "999"}, {86400, "999"}, {7, "007"}, {1000, "007"}, {0, "000"}};
    for (const Step& step : steps) {
        game.elapsedSeconds = step.value;
        EXPECT_EQ(DigitText(Paint(), 164 - 54), step.shown) << step.value;
    }
    Level(30, 16);
    game.elapsedSeconds = 321;
    EXPECT_EQ(DigitText(Paint(), 446), "321");
}

TEST_F(Draw, FaceFollowsPhaseButtonsAndTheFaceHitBox)
{
    const int F = 72;
    const GamePhase phases[] = {Ready, Running, Won, Lost};
    const int phaseFace[] = {Smile, Smile, Sunglasses, Dead};
    for (int p = 0; p < 4; ++p) {
        const std::string name = "phase " + std::to_string(phases[p]);
        auto set = [&](int facePressed, int x, int y, int pressShown, int left, int right, int middle) {
            game.phase = phases[p];
            game.mouse = MouseState{};
            game.mouse.facePressed = facePressed;
            game.mouse.mouseX = x;
            game.mouse.mouseY = y;
            game.mouse.pressShown = pressShown;
            game.mouse.leftDown = left;
            game.mouse.rightDown = right;
            game.mouse.middleDown = middle;
        };
        set(0, 0, 0, 0, 0, 0, 0);
        EXPECT_EQ(FaceNow(), phaseFace[p]) << name << " idle";
        // Held face: pressed inside the strict hit box, the phase face outside it.
        const int inside[][2] = {{F + 1, 17}, {F + 23, 39}, {F + 12, 28}};
        for (auto& at : inside) {
            set(1, at[0], at[1], 0, 1, 0, 0);
            EXPECT_EQ(FaceNow(), Pressed) << name << " at " << at[0] << "," << at[1];
        }
        const int outside[][2] = {{F, 28}, {F + 24, 28}, {F + 12, 16}, {F + 12, 40}, {30, 100}};
        for (auto& at : outside) {
            set(1, at[0], at[1], 0, 1, 0, 0);
            EXPECT_EQ(FaceNow(), phaseFace[p]) << name << " off at " << at[0] << "," << at[1];
            // The held face decides before a chord or a press does.
            set(1, at[0], at[1], 1, 1, 1, 0);
            EXPECT_EQ(FaceNow(), phaseFace[p]) << name << " off, chord held, at " << at[0] << "," << at[1];
        }
        set(0, 100, 100, 0, 1, 1, 0);
        EXPECT_EQ(FaceNow(), Surprised) << name << " left and right";
        set(0, 100, 100, 1, 1, 0, 0);
        EXPECT_EQ(FaceNow(), p < 2 ? Surprised : phaseFace[p]) << name << " press shown";
        set(0, 100, 100, 0, 1, 0, 0);
        EXPECT_EQ(FaceNow(), phaseFace[p]) << name << " left alone, no press shown";
        set(0, 100, 100, 0, 0, 0, 1);
        EXPECT_EQ(FaceNow(), phaseFace[p]) << name << " middle alone";
        set(0, 100, 100, 0, 0, 1, 1);
        EXPECT_EQ(FaceNow(), phaseFace[p]) << name << " middle and right";
    }
}

// A 9 x 9 field holding every kind of cell: closed safe, closed mine, flagged mine,
// flagged safe, opened with 0 … 8 neighbours, opened mine.
enum Kind { ClosedSafe, ClosedMine, FlaggedMine, FlaggedSafe, OpenedMine, Opened0 };
void Put(int c, int r, int kind)
{
    Cell& cell = game.board[c][r];
    cell = Cell{};
    cell.mine = kind == ClosedMine || kind == FlaggedMine || kind == OpenedMine;
    cell.flagged = kind == FlaggedMine || kind == FlaggedSafe;
    cell.opened = kind == OpenedMine || kind >= Opened0;
    cell.adjacentMines = kind >= Opened0 ? kind - Opened0 : 2;
}
int KindAt(int c, int r) { return (c + 9 * r) % 14; }

// The sprite a cell of a kind shows, straight from the three rule tables.
int ExpectedSprite(GamePhase phase, int kind)
{
    if (phase == Lost) {
        switch (kind) {
        case OpenedMine: return ExplodedMine;
        case FlaggedMine: return Flag;
        case FlaggedSafe: return WrongFlag;
        case ClosedMine: return Mine;
        case ClosedSafe: return Covered;
        }
    } else if (phase == Won) {
        if (kind < OpenedMine) return Flag;
    } else if (kind == FlaggedMine || kind == FlaggedSafe) {
        return Flag;
    } else if (kind == ClosedSafe || kind == ClosedMine) {
        return Covered;
    }
    // Opened: the number sprite (an opened mine outside Lost has 2 neighbours here).
    return kind == OpenedMine ? Number2 : 15 - (kind - Opened0);
}

void PutEveryKind()
{
    for (int c = 0; c < 9; ++c)
        for (int r = 0; r < 9; ++r) Put(c, r, KindAt(c, r));
}

TEST_F(Draw, BoardFollowsTheRulesOfEachPhase)
{
    for (GamePhase phase : {Ready, Running, Won, Lost}) {
        PutEveryKind();
        game.phase = phase;
        Scene s = Expected();
        s.face = phase == Won ? Sunglasses : phase == Lost ? Dead : Smile;
        for (int c = 0; c < 9; ++c)
            for (int r = 0; r < 9; ++r) s.cell[c][r] = ExpectedSprite(phase, KindAt(c, r));
        ExpectScene(s, "phase " + std::to_string(phase));
    }
}

TEST_F(Draw, PressedLookForOneCellAndTheClippedChordBlock)
{
    // Some flagged and opened cells that a press must leave alone.
    Put(4, 4, FlaggedSafe);
    Put(5, 5, Opened0 + 3);
    Put(0, 1, FlaggedMine);
    Put(8, 7, Opened0);
    auto base = [&]() {
        Scene s = Expected();
        s.cell[4][4] = Flag;
        s.cell[5][5] = Number3;
        s.cell[0][1] = Flag;
        s.cell[8][7] = Open;
        return s;
    };
    auto at = [&](int col, int row, int x, int y, int pressShown, int left, int right, int middle) {
        game.mouse = MouseState{};
        game.mouse.cursorCol = col;
        game.mouse.cursorRow = row;
        game.mouse.mouseX = x;
        game.mouse.mouseY = y;
        game.mouse.pressShown = pressShown;
        game.mouse.leftDown = left;
        game.mouse.rightDown = right;
        game.mouse.middleDown = middle;
    };
    const int W = 9;
    for (GamePhase phase : {Ready, Running}) {
        game.phase = phase;
        // One cell; a flagged or opened cell under the pointer keeps its sprite.
        for (auto& cell : std::initializer_list<std::pair<int, int>>{{3, 2}, {0, 0}, {8, 8}, {4, 4}, {5, 5}}) {
            at(cell.first, cell.second, CellX(cell.first), CellY(cell.second), 1, 1, 0, 0);
            Scene s = base();
            s.face = Surprised;
            if (s.cell[cell.first][cell.second] == Covered) s.cell[cell.first][cell.second] = Open;
            ExpectScene(s, "press at " + std::to_string(cell.first) + "," + std::to_string(cell.second));
        }
        // The 3 x 3 block, with left+right or middle, at inner cells, edges and corners.
        const std::pair<int, int> centres[] = {{4, 4}, {0, 0}, {8, 0}, {0, 8}, {8, 8}, {0, 4}, {8, 6}, {4, 0}, {5, 8}};
        for (int chord = 0; chord < 2; ++chord)
            for (const auto& centre : centres) {
                const int cc = centre.first, cr = centre.second;
                at(cc, cr, CellX(cc), CellY(cr), 0, chord == 0, chord == 0, chord == 1);
                Scene s = base();
                if (chord == 0) s.face = Surprised;
                for (int c = cc - 1; c <= cc + 1; ++c)
                    for (int r = cr - 1; r <= cr + 1; ++r)
                        if (c >= 0 && r >= 0 && c < W && r < 9 && s.cell[c][r] == Covered) s.cell[c][r] = Open;
                ExpectScene(s, (chord ? "middle at " : "chord at ") + std::to_string(cc) + "," + std::to_string(cr));
            }
    }
    game.phase = Running;
    // The field's last pixel column and row count; its first ones and beyond the end do not.
    at(8, 3, 11 + 16 * W, CellY(3), 1, 1, 0, 0);
    Scene s = base();
    s.face = Surprised;
    s.cell[8][3] = Open;
    ExpectScene(s, "last pixel column");
    at(2, 8, CellX(2), 54 + 16 * 9, 1, 1, 0, 0);
    s = base();
    s.face = Surprised;
    s.cell[2][8] = Open;
    ExpectScene(s, "last pixel row");
    const int offField[][4] = {{0, 3, 12, CellY(3)}, {3, 0, CellX(3), 55}, {8, 3, 12 + 16 * W, CellY(3)},
                               {3, 8, CellX(3), 55 + 16 * 9}, {3, 3, 5, 30}};
    for (auto& off : offField) {
        at(off[0], off[1], off[2], off[3], 1, 1, 1, 1);
        s = base();
        s.face = Surprised;
        ExpectScene(s, "mouse at " + std::to_string(off[2]) + "," + std::to_string(off[3]));
    }
    // The face held: no pressed look, even with buttons held over the field.
    at(3, 3, CellX(3), CellY(3), 1, 1, 1, 1);
    game.mouse.facePressed = 1;
    ExpectScene(base(), "face held");
    // After the game ended: no pressed look in either phase.
    at(3, 3, CellX(3), CellY(3), 1, 1, 1, 1);
    game.phase = Lost;
    s = base();
    s.cell[4][4] = WrongFlag;
    s.face = Surprised;
    ExpectScene(s, "lost");
    game.phase = Won;
    s = base();
    for (int c = 0; c < W; ++c)
        for (int r = 0; r < 9; ++r)
            if (s.cell[c][r] == Covered) s.cell[c][r] = Flag;
    s.face = Surprised;
    ExpectScene(s, "won");
}

TEST_F(Draw, TenThousandPaintsThroughTheWindowKeepGdiObjects)
{
    // The window's own paint path, with the test buffer at the size of the real client.
    Level(9, 9);
    game.mouse.pressShown = 1;
    game.mouse.leftDown = game.mouse.rightDown = 1;
    game.mouse.mouseX = CellX(4);
    game.mouse.mouseY = CellY(4);
    game.mouse.cursorCol = game.mouse.cursorRow = 4;
    InvalidateRect(window, nullptr, FALSE);
    SendMessageW(window, WM_PAINT, 0, 0);
    const int before = FreeGdiSlots();
    for (int i = 0; i < 10000; ++i) {
        game.phase = static_cast<GamePhase>(i % 4);
        game.minesLeft = i % 1200 - 150;
        game.elapsedSeconds = i % 1100;
        InvalidateRect(window, nullptr, FALSE);
        SendMessageW(window, WM_PAINT, 0, 0);
    }
    const int after = FreeGdiSlots();
    EXPECT_NEAR(after, before, 5);
    EXPECT_GT(before, 1000);
    // The picture is still right after all that.
    game.phase = Ready;
    game.minesLeft = 0;
    game.elapsedSeconds = 0;
    game.mouse = MouseState{};
    ExpectScene(Expected(), "after 10000 paints");
}

// With the game's own sheets: each cell shows the sprite of the real cell sheet, and the
// frame takes its colours from it.
TEST(DrawRealSheets, CellsAreTheSheetSprites)
{
    HWND window = StartGame();
    ASSERT_TRUE(IsWindow(window));
    if (!game.cellSheet || !game.faceSheet || !game.digitSheet) {
        EndGame(window);
        GTEST_SKIP() << "the sprite sheets are not in the resources yet";
    }
    game.settings.Width = 9;
    game.settings.Height = 9;
    PutEveryKind();
    game.phase = Lost;
    const RECT client = game.windowRect;
    Surface cells;
    cells.Create(16, 256);
    HDC sheetDc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(sheetDc, game.cellSheet);
    BitBlt(cells.dc, 0, 0, 16, 256, sheetDc, 0, 0, SRCCOPY);
    SelectObject(sheetDc, old);
    DeleteDC(sheetDc);
    const Image sheet = cells.Read();
    EXPECT_EQ(sheet.At(8, 8), kLightGrey);
    EXPECT_EQ(sheet.At(15, 8), kDarkGrey);
    InvalidateRect(window, nullptr, FALSE);
    SendMessageW(window, WM_PAINT, 0, 0);
    Surface shot;
    shot.Create(client.right, client.bottom);
    BitBlt(shot.dc, 0, 0, client.right, client.bottom, game.backBuffer.dc, 0, 0, SRCCOPY);
    const Image image = shot.Read();
    for (int c = 0; c < 9; ++c)
        for (int r = 0; r < 9; ++r) {
            const int sprite = ExpectedSprite(Lost, KindAt(c, r));
            int wrong = 0;
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 16; ++x) wrong += image.At(12 + 16 * c + x, 55 + 16 * r + y) != sheet.At(x, 16 * sprite + y);
            EXPECT_EQ(wrong, 0) << "cell " << c << "," << r << " sprite " << sprite;
        }
    EXPECT_EQ(image.At(5, 5), kLightGrey);
    EXPECT_EQ(image.At(9, 30), kDarkGrey);
    shot.Destroy();
    cells.Destroy();
    EndGame(window);
}

}  // namespace

// The sprite sheets and icons built into the program match their text sources pixel for
// pixel, keep the format the drawing relies on, and keep the pixels the frame reads.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "draw/draw.h"
#include "testkit.h"

namespace {

constexpr COLORREF kPalette[16] = {
    RGB(0, 0, 0),       RGB(128, 0, 0),   RGB(0, 128, 0),   RGB(128, 128, 0), RGB(0, 0, 128),   RGB(128, 0, 128),
    RGB(0, 128, 128),   RGB(192, 192, 192), RGB(128, 128, 128), RGB(255, 0, 0), RGB(0, 255, 0),   RGB(255, 255, 0),
    RGB(0, 0, 255),     RGB(255, 0, 255), RGB(0, 255, 255), RGB(255, 255, 255)};

struct Sheet {
    int width = 0;
    std::vector<std::string> rows;  // all sprites stacked, one char per pixel
    std::map<char, int> palette;
};

Sheet ReadSource(const std::string& name)
{
    Sheet sheet;
    std::ifstream in(std::string(TESSELMARK_SOURCE_DIR) + "/res/sprites/" + name);
    EXPECT_TRUE(in.good()) << name;
    std::string line;
    int pending = 0;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (pending > 0) {
            sheet.rows.push_back(line);
            --pending;
            continue;
        }
        std::istringstream words(line);
        std::string word;
        words >> word;
        if (word == "palette") {
            std::string ch;
            int index = 0;
            words >> ch >> index;
            sheet.palette[ch[0]] = index;
        } else if (word == "sprite") {
            int w = 0, h = 0;
            words >> w >> h;
            sheet.width = w;
            pending = h;
        }
    }
    return sheet;
}

// Pixels of a bitmap resource as 0x00RRGGBB, top row first.
std::vector<COLORREF> ReadResource(int id, int* width, int* height)
{
    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    EXPECT_NE(bitmap, nullptr) << id;
    BITMAP info = {};
    GetObjectW(bitmap, sizeof(info), &info);
    *width = info.bmWidth;
    *height = info.bmHeight;
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof(format.bmiHeader);
    format.bmiHeader.biWidth = info.bmWidth;
    format.bmiHeader.biHeight = -info.bmHeight;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    std::vector<COLORREF> pixels(static_cast<size_t>(info.bmWidth) * info.bmHeight);
    HDC dc = GetDC(nullptr);
    GetDIBits(dc, bitmap, 0, info.bmHeight, pixels.data(), &format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    DeleteObject(bitmap);
    for (COLORREF& p : pixels) p = RGB(GetBValue(p), GetGValue(p), GetRValue(p));  // BGRX to COLORREF
    return pixels;
}

int ResourceBitCount(int id)
{
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(id), reinterpret_cast<LPCWSTR>(RT_BITMAP));
    if (!found) return 0;
    auto header = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(nullptr, found)));
    return header->biBitCount;
}

TEST(Art, SheetsMatchTheirSourcesAndKeepTheirFormat)
{
    struct { const char* source; int id, w, h, count; } sheets[] = {
        {"cells.txt", IDB_CELLS, 16, 16, 16}, {"faces.txt", IDB_FACES, 24, 24, 5}, {"digits.txt", IDB_DIGITS, 13, 23, 12}};
    for (const auto& s : sheets) {
        const Sheet source = ReadSource(s.source);
        ASSERT_EQ(source.width, s.w) << s.source;
        ASSERT_EQ(static_cast<int>(source.rows.size()), s.h * s.count) << s.source;
        EXPECT_EQ(ResourceBitCount(s.id), 4) << s.source;
        int width = 0, height = 0;
        const std::vector<COLORREF> pixels = ReadResource(s.id, &width, &height);
        ASSERT_EQ(width, s.w);
        ASSERT_EQ(height, s.h * s.count);
        int wrong = 0;
        for (int y = 0; y < height; ++y) {
            ASSERT_EQ(static_cast<int>(source.rows[y].size()), s.w) << s.source << " row " << y;
            for (int x = 0; x < width; ++x) {
                auto entry = source.palette.find(source.rows[y][x]);
                ASSERT_NE(entry, source.palette.end()) << s.source << " has an unknown character at " << x << "," << y;
                if (pixels[static_cast<size_t>(y) * width + x] != kPalette[entry->second]) ++wrong;
            }
        }
        EXPECT_EQ(wrong, 0) << s.source << ": the committed bitmap differs from its source; run scripts/gen-sprites";
    }
}

TEST(Art, TheFrameColoursAndSpriteColoursAreWhereTheGameReadsThem)
{
    int width = 0, height = 0;
    const std::vector<COLORREF> cells = ReadResource(IDB_CELLS, &width, &height);
    EXPECT_EQ(cells[8 * 16 + 8], RGB(192, 192, 192));   // surface colour of the frame
    EXPECT_EQ(cells[8 * 16 + 15], RGB(128, 128, 128));  // shadow colour of the frame
    // Each number sprite carries its own colour.
    const COLORREF numberColours[8] = {RGB(0, 0, 255),   RGB(0, 128, 0),   RGB(255, 0, 0),   RGB(0, 0, 128),
                                       RGB(128, 0, 0),   RGB(0, 128, 128), RGB(0, 0, 0),     RGB(128, 128, 128)};
    for (int n = 1; n <= 8; ++n) {
        const int sprite = 15 - n;
        int hits = 0;
        for (int y = 2; y < 15; ++y)
            for (int x = 2; x < 15; ++x) hits += cells[(sprite * 16 + y) * 16 + x] == numberColours[n - 1];
        EXPECT_GT(hits, 8) << "digit " << n << " is not drawn in its colour";
    }
    const std::vector<COLORREF> digits = ReadResource(IDB_DIGITS, &width, &height);
    int lit = 0;
    for (int i = 0; i < 13 * 23; ++i) lit += digits[Blank * 13 * 23 + i] == RGB(255, 0, 0);
    EXPECT_EQ(lit, 0) << "the blank counter digit lights a segment";
}

TEST(Art, TheIconsAreBuiltIn)
{
    HICON main = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_MAIN), IMAGE_ICON, 32, 32, 0));
    ASSERT_NE(main, nullptr);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(main, &info));
    BITMAP colour = {};
    GetObjectW(info.hbmColor, sizeof(colour), &colour);
    EXPECT_EQ(colour.bmWidth, 32);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(main);
    for (int id : {107, 109, 110, 111, 112, 113, 114}) {
        EXPECT_NE(FindResourceW(nullptr, MAKEINTRESOURCEW(id), reinterpret_cast<LPCWSTR>(RT_GROUP_ICON)), nullptr) << id;
    }
}

}  // namespace

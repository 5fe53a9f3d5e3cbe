#include <algorithm>
#include <cstring>

#include "draw/draw.h"
#include "game/game.h"

// The widest screen buffer the column table serves; outside the game record, so that its zeros
// take no room in the exe.
constexpr int kMaxScreenWidth = 8192;
static int32_t screenColumns[kMaxScreenWidth];

// A 32-bit DIB section, its pixels reachable through `pixels`: bottom-up as a loaded sheet is, or
// with a negative height top-down, row 0 first, as the buffers are read and written.
static HBITMAP MakeDib(int width, int height, void** pixels) {
    BITMAPINFO format = {{sizeof(BITMAPINFOHEADER), width, height, 1, 32, BI_RGB, 0, 0, 0, 0, 0},
                         {}};
    return CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, pixels, nullptr, 0);
}

static HBITMAP LoadSheet(HINSTANCE instance, int id) {
    HBITMAP loaded = static_cast<HBITMAP>(
        LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!loaded) return nullptr;
    BITMAP info = {};
    GetObjectW(loaded, sizeof(info), &info);
    void* pixels = nullptr;
    HBITMAP sheet = MakeDib(info.bmWidth, info.bmHeight, &pixels);
    HDC from = CreateCompatibleDC(nullptr);
    HDC to = CreateCompatibleDC(nullptr);
    HGDIOBJ oldFrom = SelectObject(from, loaded);
    HGDIOBJ oldTo = SelectObject(to, sheet);
    BitBlt(to, 0, 0, info.bmWidth, info.bmHeight, from, 0, 0, SRCCOPY);
    SelectObject(to, oldTo);
    SelectObject(from, oldFrom);
    DeleteDC(to);
    DeleteDC(from);
    DeleteObject(loaded);
    return sheet;
}

void LoadSheets(HINSTANCE instance) {
    game.cellSheet = LoadSheet(instance, IDB_CELLS);
    game.digitSheet = LoadSheet(instance, IDB_DIGITS);
    game.faceSheet = LoadSheet(instance, IDB_FACES);
}

static BackBuffer MakeBuffer(HDC windowDc, int width, int height) {
    BackBuffer buffer;
    void* pixels = nullptr;
    buffer.bitmap = MakeDib(width, -height, &pixels);
    buffer.pixels = static_cast<uint32_t*>(pixels);
    buffer.dc = CreateCompatibleDC(windowDc);
    SelectObject(buffer.dc, buffer.bitmap);
    buffer.width = width;
    buffer.height = height;
    return buffer;
}

static void FreeBuffer(BackBuffer& buffer) {
    // The bitmap is still selected; deleting the DC first frees it for deletion.
    DeleteDC(buffer.dc);
    DeleteObject(buffer.bitmap);
    buffer = BackBuffer{};
}

void BuildPicture(HWND window) {
    FreeBuffer(game.backBuffer);
    FreeBuffer(game.screenBuffer);
    HDC windowDc = GetDC(window);
    RECT client;
    GetClientRect(window, &client);
    game.windowRect =
        RECT{0, 0, UnscaledShown(client.right, game.dpi), UnscaledShown(client.bottom, game.dpi)};
    game.backBuffer = MakeBuffer(windowDc, game.windowRect.right, game.windowRect.bottom);
    if (game.dpi != kBaseDpi) {
        const int width = std::min<int>(client.right, kMaxScreenWidth);
        game.screenBuffer = MakeBuffer(windowDc, width, client.bottom);
        for (int x = 0; x < width; ++x) screenColumns[x] = Unscaled(x, game.dpi);
    }
    ReleaseDC(window, windowDc);
}

void FreePicture() {
    FreeBuffer(game.backBuffer);
    FreeBuffer(game.screenBuffer);
    for (HBITMAP* sheet : {&game.cellSheet, &game.digitSheet, &game.faceSheet}) {
        DeleteObject(*sheet);
        *sheet = nullptr;
    }
}

void ScalePicture() {
    const BackBuffer& from = game.backBuffer;
    const int width = game.screenBuffer.width, height = game.screenBuffer.height;
    uint32_t* row = game.screenBuffer.pixels;
    GdiFlush();  // the picture's GDI drawing must be in its pixels before they are read
    int shownRow = -1;
    for (int y = 0; y < height; ++y, row += width) {
        const int sourceRow = Unscaled(y, game.dpi);
        if (sourceRow == shownRow) {
            std::memcpy(row, row - width, sizeof(*row) * width);
            continue;
        }
        const uint32_t* source = from.pixels + static_cast<size_t>(sourceRow) * from.width;
        for (int x = 0; x < width; ++x) row[x] = source[screenColumns[x]];
        shownRow = sourceRow;
    }
}

void ShowPicture(HDC target) {
    if (game.screenBuffer.dc) {
        ScalePicture();
        BitBlt(target, 0, 0, game.screenBuffer.width, game.screenBuffer.height,
               game.screenBuffer.dc, 0, 0, SRCCOPY);
    } else {
        BitBlt(target, 0, 0, game.windowRect.right - game.windowRect.left,
               game.windowRect.bottom - game.windowRect.top, game.backBuffer.dc, 0, 0, SRCCOPY);
    }
}

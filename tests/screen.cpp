// What the player sees beyond the field: the counters and the clock, the icons, and the drawing
// objects that painting must give back.
#include <algorithm>
#include <vector>

#include "kit.h"

// Each icon is drawn only where its mask lets it: on black and on white, a pixel either
// shows the same colour on both or the background itself.
TEST(Screen, EveryIconIsTransparentWhereMasked) {
    for (int id = IDI_FLAG; id <= IDI_DEAD; ++id) {
        for (int size : {16, 24, 32, 48}) {
            HICON icon = static_cast<HICON>(
                LoadImageW(Exe(), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0));
            auto draw = [&](HDC dc) {
                DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
            };
            const std::vector<DWORD> onBlack = Drawn(size, size, 0, draw),
                                     onWhite = Drawn(size, size, 0xFFFFFF, draw);
            int tinted = 0;
            for (int i = 0; i < size * size; ++i)
                tinted += onBlack[i] != onWhite[i] && (onBlack[i] || onWhite[i] != 0xFFFFFF);
            EXPECT_TRUE(icon && tinted == 0)
                << "icon " << id << " at " << size << ": " << tinted << " tinted pixels";
            DestroyIcon(icon);
        }
    }
}

// The counters show -99 to 999 and keep their last digits outside that range. The clock shows 1
// at the first opening, ticks once a second, also behind a dialog, and counts on past what it
// can show. Painting and changing the field make and free their own drawing objects: as many pens
// can be made after as before, and the back buffer holds its own pen and brush again.
TEST(Screen, TheCountersTheClockAndTheDrawingObjects) {
    auto freePens = [] {
        std::vector<HPEN> pens;
        for (HPEN pen; pens.size() < 100000 && (pen = CreatePen(PS_SOLID, 0, 0));)
            pens.push_back(pen);
        return std::count_if(pens.begin(), pens.end(), DeleteObject);
    };
    Start();
    const struct {
        int mines;
        const char* minesShown;
        int seconds;
        const char* secondsShown;
    } values[] = {
        {0, "000", 0, "000"},       {100, "100", 302, "302"}, {999, "999", 999, "999"},
        {1000, "999", 1000, "999"}, {-1, "-01", 5, "005"},    {-42, "-42", 60, "060"},
        {-99, "-99", 1234, "060"},  {-100, "-99", 12, "012"}, {4096, "-99", 70000, "012"},
        {-5, "-05", 998, "998"},
    };
    for (const auto& v : values)
        game.minesLeft = v.mines, game.elapsedSeconds = v.seconds, Repaint(),
        ExpectScreen(nullptr, Smile, v.minesShown, v.secondsShown);
    Lay("F..*..../......../...*....", Ready), Gesture("L+@3,0 L-");
    ExpectScreen("F##X####/########/###*####", Dead, "002", "001");
    Lay("F..*..../......../...*....", Ready), Gesture("L+@2,0 L-");
    const ULONGLONG opened = GetTickCount64();
    for (MSG m; game.elapsedSeconds < 2 && GetTickCount64() < opened + 3000; Sleep(5))
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
    EXPECT_GE(GetTickCount64() - opened, 900u);
    WithDialog(
        [](HWND dialog) {
            return game.elapsedSeconds >= 3 && PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        },
        [] { Send(WM_COMMAND, CMD_HIGH_SCORES, 0, false); });
    game.elapsedSeconds = 999;
    Repaint();
    Send(WM_TIMER, kGameTimerId);
    EXPECT_EQ(game.elapsedSeconds, 1000);
    ExpectScreen("F#1#####/########/########", Smile, nullptr, "999");
    Send(WM_COMMAND, CMD_EXPERT);
    const auto free = freePens();
    for (int i = 0; i < 20; ++i) Repaint(), Send(WM_COMMAND, i % 2 ? CMD_EXPERT : CMD_INTERMEDIATE);
    EXPECT_TRUE(freePens() == free &&
                GetCurrentObject(game.backBuffer.dc, OBJ_PEN) == GetStockObject(BLACK_PEN) &&
                GetCurrentObject(game.backBuffer.dc, OBJ_BRUSH) == GetStockObject(WHITE_BRUSH));
    Quit();
}

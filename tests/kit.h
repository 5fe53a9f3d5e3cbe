// The test kit: the real main window driven by real messages, and what the player sees.
#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "game/game.h"

extern HWND win;
extern GamePhase paintedPhase;  // the phase at the last paint,
extern bool paintedWhole;       // and whether the whole client was due to be repainted then

// A fresh record and the main window created as at start-up; the store is wiped first
// unless kept.
void Start(bool keepStore = false);
// Ends the window (DestroyWindow, the exit command for WM_COMMAND, or WM_CLOSE): the quit
// message must carry 0 and every drawing object the window held must be gone.
void Quit(UINT how = 0);
// Sends a message as the system does and lets the window paint. It checks what every
// handler owes: a repaint of the whole client (when `repaints`) without erasing unless the
// window changed size, the mouse captured after a press and released after a release, and
// the game record consistent.
LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, bool repaints = true);
void CheckRecord();
void Repaint();
// A gesture: "L+" "L-" "R+" "R-" "M+" "M-" (press, release) or ">" (move), each maybe
// followed by where: "@c,r" a cell's centre, "@x:y" client pixels, "@F" the face.
void Gesture(const std::string& steps);
// Lays a field, rows split by '/': '.' closed safe, '*' closed mine, 'f' flagged safe,
// 'F' flagged mine, a digit an opened safe cell (its count of mines around), 'X' an opened mine.
void Lay(const char* rows, GamePhase phase = Running);
std::string Board();
// Checks the back buffer against the sprite sheets and the frame: cells as `cells` says
// ('#' covered, 'F' flag, 'X' exploded, 'W' wrong flag, '*' mine, a digit n the cell
// showing n, '0' also the pressed look; nullptr skips the field), the face sprite and the
// counters' shown digits (by default the record's values).
void ExpectScreen(const char* cells, int face, const char* mines = nullptr,
                  const char* timer = nullptr);
// Runs `open`, which returns when its modal dialogs have ended, while `drive` is called
// with each dialog on a thread timer until it returns true. A dialog open after five
// seconds is ended and fails the test.
void WithDialog(const std::function<bool(HWND)>& drive, const std::function<void()>& open);
std::wstring Text(HWND window, int id = 0);
// The game's key as enumerated, by exact name: Name=number for a 4-byte REG_DWORD,
// Name='text' for a terminated REG_SZ of exactly its length, Name=? for anything else.
std::wstring Stored();
HMODULE Exe();  // the built game, for its resources
// Draws with `paint` on a w x h 32-bit picture filled with `fill` and reads it back.
std::vector<DWORD> Drawn(int w, int h, DWORD fill, const std::function<void(HDC)>& paint);

// A move on a laid field, and what it must leave (`after` "new": a freshly dealt field); the
// screen is checked when a face is given.
struct Play {
    int mode;
    const char* board;
    GamePhase phase;
    const char *steps, *after;
    GamePhase then;
    int face = -1;
    const char* cells = nullptr;
};
void Verify(const Play& play);
constexpr int kOriginal = CMD_MODE_ORIGINAL, kEnergy = CMD_MODE_ENERGY_SAVING;
enum Face { Pressed, Sunglasses, Dead, Surprised, Smile };

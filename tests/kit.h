// The test kit: the real main window driven by real messages, its menu chosen by the items'
// texts, its dialogs driven by typed keys, and what the player sees and finds stored.
//
// Two notations for a field, rows split by '/', one letter a cell (no letter means two things):
// - a board, as laid or as the game holds it: '.' closed safe, '*' closed mine, 'f' a flag on a
//   safe cell, 'F' a flag on a mine, '0' to '8' an opened safe cell (its count of mines around),
//   'X' an opened mine ('!' an opened cell under a flag, which no game may hold);
// - a screen, what each cell shows: '#' covered, 'P' a flag, 'M' a mine, 'B' an exploded mine,
//   'W' a wrong flag, '0' to '8' an opened cell showing that count ('0' is the pressed look too).
#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "draw/draw.h"
#include "game/game.h"

extern HWND win;

// A fresh record and the main window created as start-up creates it (its class with no double
// clicks, which would take every second click of a quick pair), on a wiped store or on the store
// as it is.
void Start();
void StartWithStore();
// Ends the window (DestroyWindow, or the message `how`: WM_CLOSE as the close box sends it,
// WM_COMMAND as the exit item does).
void Quit(UINT how = 0);

// Sends a message as the system does, lets the window paint, and checks what every handler owes:
// the whole client due for a repaint without an erase, the mouse captured after a press and
// given up after a release, and the game record consistent (flags only on closed cells, the
// mines laid, the cells to open, the mine counter, an opened mine exactly in a lost game,
// nothing open and the clock at 0 before the first opening, the window holding the game's timer
// exactly in play).
LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// The same checks but the repaint, for a message that may leave the picture as it was.
LRESULT SendWithoutRepaint(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// Dispatches this thread's messages as a dialog's loop does, the game's timer among them, until
// `done` (without one: until nothing but timers and paints has come for 30 ms), for at most
// `ms`; returns whether it got there.
bool Pump(const std::function<bool()>& done, int ms);

// A gesture, in 1× pixels whatever the scale: "L+" "L-" "R+" "R-" "M+" "M-" (a button pressed,
// released) or ">" (a move), each maybe followed by where: "@c,r" a cell's centre, "@x:y" a pixel;
// a step without a place stays where the last one was.
void Gesture(const std::string& steps);
// Lays a board (notation above) in a window of its size, as a custom level, in the phase it shows:
// lost with an opened mine, won with no closed safe cell, in play with an opened cell (the clock
// at 7, running as the game's own would), else ready (the clock at 0).
void Lay(const char* board);
std::string Board();
// Checks that the client area is the field's at the window's scale and that every client pixel
// of a sprite shows what the player must see: the cells (screen notation above; "" every cell
// covered; nullptr: the field is not checked), the face and the two counters' three digits each
// (-4 shows as "-04").
// (The frame between them is the end-to-end run's picture of the game.)
void ExpectScreen(const char* cells, FaceSprite face, int mines, int seconds);

// Chooses the item with this text from the window's own menu, at any depth, as the menu does
// when a player picks it: WM_COMMAND with the item's id. Whether it repaints is the case's to see.
void Choose(const wchar_t* item);
// The texts of the menu's checked items, in menu order.
std::vector<std::wstring> Checked();

// Runs `open`, which returns once its dialogs have ended, and hands each dialog of this thread
// to `drive` once it is up. Each must be owned by the game's window, or by a dialog opened before
// it, with its owner disabled behind it. A dialog still open after five seconds is ended, and the
// test fails.
void WithDialog(const std::function<void(HWND)>& drive, const std::function<void()>& open);
// Types into the focused control as a keyboard does, and waits until the keys are handled:
// '\t' Tab, '\r' Enter, '\x1b' Esc, '\b' Backspace, ' ' the space bar, anything else as the
// character itself.
void Type(const std::wstring& keys);
std::wstring Text(HWND window, int id = 0);
// What a message box says: the texts of its statics, one after the other.
std::wstring Said(HWND box);

// The game's key as enumerated: name -> the number of a 4-byte REG_DWORD, 'text' for a REG_SZ
// of exactly its terminated length, ? for anything else.
using Values = std::map<std::wstring, std::wstring>;
Values Stored();
// What a level and a click mode store: the level's id, its field, the mode's id, the corner.
Values Stored(int level, int columns, int rows, int mines, int mode, POINT corner);
void Put(const wchar_t* name, DWORD type, const void* data, DWORD size);
void PutNumber(const wchar_t* name, int32_t value);
void PutName(const wchar_t* name, const std::wstring& text);

// A failure prints a phase by its name.
void PrintTo(GamePhase phase, std::ostream* out);

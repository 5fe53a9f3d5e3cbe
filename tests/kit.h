// The test kit: the real main window driven by real messages, its menu chosen by the items'
// texts, its dialogs driven by typed keys, and what the player sees and finds stored.
#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "draw/layout.h"
#include "game/game.h"

extern HWND win;

// A fresh record and the main window created as start-up creates it; the store is wiped first
// unless kept.
void Start(bool keepStore = false);
// Ends the window (DestroyWindow, or the message `how`: WM_CLOSE as the close box sends it,
// WM_COMMAND as the exit item does): the quit message must carry 0.
void Quit(UINT how = 0);
// Sends a message as the system does and lets the window paint, then checks what every handler
// owes: the whole client due for a repaint (when `repaints`) without an erase, the mouse captured
// after a press and given up after a release, and the game record consistent.
LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, bool repaints = true);
// Dispatches this thread's messages as a dialog's loop does, the game's timer among them, until
// `done` (without one: until nothing but timers and paints has come for 30 ms), for at most
// `ms`; returns whether it got there.
bool Pump(const std::function<bool()>& done, int ms);

// A gesture: "L+" "L-" "R+" "R-" "M+" "M-" (press, release) or ">" (move), each maybe followed
// by where, in 1× pixels at any scale: "@c,r" a cell's centre, "@x:y" a pixel.
void Gesture(const std::string& steps);
// Lays a field in play (the clock at 7) or ready, rows split by '/': '.' closed safe, '*'
// closed mine, 'f' flagged safe, 'F' flagged mine, a digit an opened safe cell (its count of
// mines around), 'X' an opened mine.
void Lay(const char* rows, GamePhase phase = Running);
std::string Board();
// Checks that the client area is the field's at the window's scale and that each of its pixels
// shows, through the scale, what the player must see: the frame, the cells as `cells` says ('#'
// covered, 'F' flag, 'X' exploded, 'W' wrong flag, '*' mine, a digit n the cell showing n, '0'
// also the pressed look; "" every cell covered; nullptr skips the field), the face sprite and the
// counters' digits (by default the record's mine count and seconds).
void ExpectScreen(const char* cells, int face, const char* mines = nullptr,
                  const char* timer = nullptr);

// Chooses the item with this text from the window's own menu, at any depth, as the menu does
// when a player picks it: WM_COMMAND with the item's id.
void Choose(const wchar_t* item, bool repaints = true);
// The texts of the menu's checked items, in menu order.
std::vector<std::wstring> Checked();

// Runs `open`, which returns once its dialogs have ended, and hands each dialog of this thread
// to `drive` once it is up. Each must be owned by `owner`, or by a dialog opened before it, with
// its owner disabled behind it. A dialog still open after five seconds is ended, and the test
// fails.
void WithDialog(const std::function<void(HWND)>& drive, const std::function<void()>& open,
                HWND owner = win);
// Types into the focused control as a keyboard does, and waits until the keys are handled:
// '\t' Tab, '\r' Enter, '\x1b' Esc, '\b' Backspace, ' ' the space bar, anything else as the
// character itself.
void Type(const std::wstring& keys);
std::wstring Text(HWND window, int id = 0);
// What a message box says: the texts of its statics, one after the other.
std::wstring Said(HWND box);

// The game's key as enumerated: name -> the number of a 4-byte REG_DWORD, 'text' for a REG_SZ
// of exactly its terminated length, ? for anything else.
std::map<std::wstring, std::wstring> Stored();
void Put(const wchar_t* name, DWORD type, const void* data, DWORD size);
void PutName(const wchar_t* name, const std::wstring& text);
// The seed of a random test: TESSELMARK_SEED when set, else a fresh one; the caller traces it.
unsigned Seed();
HMODULE Exe();  // the built game, for its resources

// A move on a laid field and what it must leave (`after` "new": a freshly dealt field); the
// screen is checked when a face is given.
struct Play {
    int mode;
    const char* board;
    GamePhase phase;
    const char* steps;
    const char* after;
    GamePhase then;
    int face = -1;
    const char* cells = nullptr;
};
void Verify(const Play& play);
constexpr int kOriginal = CMD_MODE_ORIGINAL, kEnergy = CMD_MODE_ENERGY_SAVING;
enum Face { Pressed, Sunglasses, Dead, Surprised, Smile };

// Shared set-up for the tests: the real main window, the real registry, dialog drivers.
#pragma once
#include <functional>
#include <string>

#include "game/game.h"

// Deletes the game's registry key, resets the game record and creates the real main
// window as the program does at start-up (settings loaded, level and mode replayed).
HWND StartGame();
// Same, but keeps whatever the registry holds.
HWND StartGameKeepingStore();
void EndGame(HWND window);

void DeleteStore();
// Dispatches every pending message of this thread.
void PumpMessages();
// Dispatches messages until `done` returns true or `timeoutMs` passes; returns done().
bool PumpUntil(const std::function<bool()>& done, int timeoutMs);

// Lays out a board from rows of text, '*' a mine and anything else a safe cell, counts
// the neighbours independently of the game and begins the game in `Ready`.
void LayBoard(const std::initializer_list<const char*>& rows);

int CountMines();
int CountOpened();
int CountFlagged();

// Sends a mouse message with the client position packed as the system packs it.
void Mouse(HWND window, UINT message, int x, int y);
// Client position of the centre of a cell.
int CellX(int column);
int CellY(int row);

// Runs `open` (which opens a modal dialog and returns when it closes) while `drive`
// is called once with each dialog as soon as it is up. A watchdog closes a dialog that
// is still open after a few seconds and fails the test.
void WithDialog(const std::function<void(HWND)>& drive, const std::function<void()>& open);

// Number of pens that can still be created: a measure of GDI objects in use.
int FreeGdiSlots();

std::wstring DialogText(HWND dialog, int id);

// Runs `action` and counts the dialogs it opens, ending each so that the test goes on.
int DialogsOpenedBy(const std::function<void()>& action);

// A REG_DWORD of the game's key (0xDEADBEEF when missing), a REG_SZ ("(missing)").
DWORD StoredNumber(const wchar_t* name);
void StoreNumber(const wchar_t* name, DWORD value);
std::wstring StoredText(const wchar_t* name);

// Whether the game's one-second timer exists; it is set again as it was.
bool TimerRunning(HWND window);

// Settings and records in the current user's registry, and the dialogs that edit them.
#pragma once
#include "platform/win.h"

constexpr wchar_t kStoreKey[] = L"Software\\kelvorin";

void LoadSettings();
void SaveLevelAndPosition(HWND window);
void SaveRecords();
void SaveClickMode();
// Whether the saves can write the game's key (a managed profile may make it read-only).
bool StoreWritable();

void CheckNewRecord(HWND window);

INT_PTR CALLBACK CustomDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK NewRecordDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK HighScoresDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

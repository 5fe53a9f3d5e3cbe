// The main window: start-up, window procedure, menu commands and mouse input.
#pragma once
#include "platform/win.h"

constexpr wchar_t kWindowClass[] = L"Tesselmark";
constexpr wchar_t kWindowTitle[] = L"テセルマーク";
constexpr DWORD kWindowStyle = WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

ATOM RegisterMainWindowClass(HINSTANCE instance);
// Creates the main window at the stored position with the size the stored field needs.
HWND CreateMainWindow(HINSTANCE instance);
// Places the window at (left, top) with the size that makes its client area the field's at the
// current DPI, whatever height the menu bar has.
void FitMainWindow(HWND window, int left, int top);
// Runs one of the game's dialogs, modal, over `owner`; returns how it ended (IDOK, IDCANCEL).
INT_PTR RunDialog(HWND owner, int id, DLGPROC procedure);
// The whole program: class, settings, window, loop. Returns the exit code.
int RunGame(HINSTANCE instance);

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

void OnCommand(HWND window, WPARAM wParam);

void OnLeftDown(HWND window, LPARAM lParam);
void OnLeftUp(HWND window, LPARAM lParam);
void OnRightDown(HWND window, LPARAM lParam);
void OnRightUp(HWND window, LPARAM lParam);
void OnMiddleDown(HWND window, LPARAM lParam);
void OnMiddleUp(HWND window, LPARAM lParam);
void OnMouseMove(HWND window, LPARAM lParam);

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Resource, command and control identifiers: the one place they are defined.
#pragma once

// Bitmaps
#define IDB_DIGITS 101
#define IDB_FACES 103
#define IDB_CELLS 105

// Icons
#define IDI_FLAG 107
#define IDI_MAIN 108
#define IDI_MINE_16 109
#define IDI_MINE_24 110
#define IDI_MINE_48 111
#define IDI_SMILE 112
#define IDI_SUNGLASSES 113
#define IDI_DEAD 114

// Dialogs
#define IDD_CUSTOM 102
#define IDD_ABOUT 107
#define IDD_HIGH_SCORES 119
#define IDD_NEW_RECORD 120

// Menu
#define IDR_MAIN_MENU 115

// Menu commands
#define CMD_NEW_GAME 40013
#define CMD_BEGINNER 40014
#define CMD_INTERMEDIATE 40015
#define CMD_EXPERT 40016
#define CMD_CUSTOM 40017
#define CMD_HIGH_SCORES 40022
#define CMD_EXIT 40023
#define CMD_ABOUT 40024
#define CMD_MODE_ENERGY_SAVING 40030
#define CMD_MODE_ORIGINAL 40031

// Version dialog
#define IDC_ABOUT_OK 1002

// Custom board dialog
#define IDC_CUSTOM_OK 1002
#define IDC_CUSTOM_CANCEL 1003
#define IDC_HEIGHT 1005
#define IDC_WIDTH 1006
#define IDC_MINES 1007

// High-score dialog
#define IDC_TIME1 1006
#define IDC_TIME2 1007
#define IDC_TIME3 1008
#define IDC_NAME1 1009
#define IDC_NAME2 1010
#define IDC_NAME3 1011
#define IDC_RESET_SCORES 1012

// New-record dialog
#define IDC_NAME_EDIT 1005
#define IDC_RECORD_TITLE 1013

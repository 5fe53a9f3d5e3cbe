#include <algorithm>
#include <cstring>

#include "game/game.h"
#include "store/store.h"

static HKEY OpenStore() {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kStoreKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return nullptr;
    }
    return key;
}

// A number is taken only when it really is a 4-byte REG_DWORD; anything else keeps the field.
static void ReadNumber(HKEY key, const wchar_t* name, int32_t* field) {
    DWORD type = 0;
    DWORD size = sizeof(DWORD);
    DWORD value = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) ==
            ERROR_SUCCESS &&
        type == REG_DWORD && size == sizeof(DWORD)) {
        *field = static_cast<int32_t>(value);
    }
}

// A name is taken only from a REG_SZ that fits the buffer, and always ends terminated.
static void ReadName(HKEY key, const wchar_t* name, wchar_t (&field)[kNameCapacity]) {
    wchar_t text[kNameCapacity] = {};
    DWORD type = 0;
    DWORD size = sizeof(text);
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ) {
        return;
    }
    const DWORD units = size / sizeof(wchar_t);
    text[std::min<DWORD>(units, kNameCapacity - 1)] = 0;
    std::memcpy(field, text, sizeof(text));
}

static void WriteNumber(HKEY key, const wchar_t* name, int32_t value) {
    const DWORD data = static_cast<DWORD>(value);
    RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof(data));
}

static void WriteName(HKEY key, const wchar_t* name, const wchar_t* text) {
    const DWORD bytes = static_cast<DWORD>(2 * lstrlenW(text) + 2);
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), bytes);
}

static int32_t Clamp(int32_t value, int32_t low, int32_t high) {
    return std::max(low, std::min(value, high));
}

// Stored values are brought into the ranges the game itself writes, so that no edited
// or damaged value can overrun the board, stall mine placement or replay a stray command.
static void BringIntoRange(Settings& s) {
    s.Width = Clamp(s.Width, 9, 30);
    s.Height = Clamp(s.Height, 9, 24);
    s.Mines = Clamp(s.Mines, 10, (s.Width - 1) * (s.Height - 1));
    if (s.Difficulty < CMD_BEGINNER || s.Difficulty > CMD_CUSTOM) s.Difficulty = CMD_BEGINNER;
    if (s.ClickMode != CMD_MODE_ORIGINAL && s.ClickMode != CMD_MODE_ENERGY_SAVING)
        s.ClickMode = CMD_MODE_ORIGINAL;
    for (int32_t* time : {&s.Time1, &s.Time2, &s.Time3}) {
        if (*time < 0 || *time > kNoRecordTime) *time = kNoRecordTime;
    }
}

void LoadSettings() {
    Settings& s = game.settings;
    HKEY key = OpenStore();
    if (key) {
        ReadNumber(key, L"ClickMode", &s.ClickMode);
        ReadNumber(key, L"Difficulty", &s.Difficulty);
        ReadNumber(key, L"Height", &s.Height);
        ReadNumber(key, L"Width", &s.Width);
        ReadNumber(key, L"Mines", &s.Mines);
        ReadNumber(key, L"XPos", &s.XPos);
        ReadNumber(key, L"Ypos", &s.Ypos);
        ReadNumber(key, L"Time1", &s.Time1);
        ReadNumber(key, L"Time2", &s.Time2);
        ReadNumber(key, L"Time3", &s.Time3);
        ReadName(key, L"Name1", s.Name1);
        ReadName(key, L"Name2", s.Name2);
        ReadName(key, L"Name3", s.Name3);
        RegCloseKey(key);
    }
    BringIntoRange(s);
}

void SaveLevelAndPosition(HWND window) {
    GetWindowRect(window, &game.windowRect);
    HKEY key = OpenStore();
    if (!key) return;
    const Settings& s = game.settings;
    WriteNumber(key, L"Difficulty", s.Difficulty);
    WriteNumber(key, L"Height", s.Height);
    WriteNumber(key, L"Width", s.Width);
    WriteNumber(key, L"Mines", s.Mines);
    WriteNumber(key, L"XPos", game.windowRect.left);
    WriteNumber(key, L"Ypos", game.windowRect.top);
    RegCloseKey(key);
}

void SaveRecords() {
    HKEY key = OpenStore();
    if (!key) return;
    const Settings& s = game.settings;
    WriteName(key, L"Name1", s.Name1);
    WriteName(key, L"Name2", s.Name2);
    WriteName(key, L"Name3", s.Name3);
    WriteNumber(key, L"Time1", s.Time1);
    WriteNumber(key, L"Time2", s.Time2);
    WriteNumber(key, L"Time3", s.Time3);
    RegCloseKey(key);
}

void SaveClickMode() {
    HKEY key = OpenStore();
    if (!key) return;
    WriteNumber(key, L"ClickMode", game.settings.ClickMode);
    RegCloseKey(key);
}

void KeepOnScreen(int width, int height, int32_t* x, int32_t* y) {
    // 64-bit sums: a stored position near the integer limits must not wrap.
    const int64_t left = *x, top = *y;
    RECT rect;
    rect.left = static_cast<LONG>(std::clamp<int64_t>(left, INT32_MIN / 2, INT32_MAX / 2));
    rect.top = static_cast<LONG>(std::clamp<int64_t>(top, INT32_MIN / 2, INT32_MAX / 2));
    rect.right = rect.left + width;
    rect.bottom = rect.top + height;
    if (MonitorFromRect(&rect, MONITOR_DEFAULTTONULL)) return;
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (!GetMonitorInfoW(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &info)) return;
    const RECT& area = info.rcWork;
    *x = std::max<LONG>(area.left, std::min<LONG>(rect.left, area.right - width));
    *y = std::max<LONG>(area.top, std::min<LONG>(rect.top, area.bottom - height));
}

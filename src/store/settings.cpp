#include <algorithm>
#include <cstring>

#include "game/game.h"
#include "store/store.h"

// Opens (or creates) the game's key with the access asked: the load only reads, so that
// what a read-only key holds still shows; the saves ask to write.
static HKEY OpenStore(REGSAM access) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kStoreKey, 0, nullptr, REG_OPTION_NON_VOLATILE, access,
                        nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return nullptr;
    }
    return key;
}

bool StoreWritable() {
    HKEY key = OpenStore(KEY_SET_VALUE);
    if (!key) return false;
    RegCloseKey(key);
    return true;
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

// A name is taken only from a REG_SZ, and always ends terminated. A name longer than the
// buffer is read whole, once, into memory of its size, so that its holder keeps the record
// under its first 63 units rather than losing it to the no-record name.
static void ReadName(HKEY key, const wchar_t* name, wchar_t (&field)[kNameCapacity]) {
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        type != REG_SZ) {
        return;
    }
    wchar_t local[kNameCapacity];
    HANDLE heap = GetProcessHeap();
    wchar_t* text = size <= sizeof(local) ? local : static_cast<wchar_t*>(HeapAlloc(heap, 0, size));
    if (!text) return;
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) ==
            ERROR_SUCCESS &&
        type == REG_SZ) {
        const DWORD units = std::min<DWORD>(size / sizeof(wchar_t), kNameCapacity - 1);
        std::memcpy(field, text, units * sizeof(wchar_t));
        field[units] = 0;
    }
    if (text != local) HeapFree(heap, 0, text);
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
    if (s.Difficulty < CMD_BEGINNER || s.Difficulty > CMD_CUSTOM) s.Difficulty = CMD_BEGINNER;
    // A fixed level shows its own field whatever size is stored beside it; the window is placed
    // for that field.
    if (const LevelPreset* preset = FindLevelPreset(s.Difficulty)) {
        s.Width = preset->width;
        s.Height = preset->height;
        s.Mines = preset->mines;
    }
    s.Width = Clamp(s.Width, 9, 30);
    s.Height = Clamp(s.Height, 9, 24);
    s.Mines = Clamp(s.Mines, 10, (s.Width - 1) * (s.Height - 1));
    if (s.ClickMode != CMD_MODE_ORIGINAL && s.ClickMode != CMD_MODE_ENERGY_SAVING)
        s.ClickMode = CMD_MODE_ORIGINAL;
    for (int32_t* time : {&s.Time1, &s.Time2, &s.Time3}) {
        if (*time < 0 || *time > kNoRecordTime) *time = kNoRecordTime;
    }
}

void LoadSettings() {
    Settings& s = game.settings;
    HKEY key = OpenStore(KEY_QUERY_VALUE);
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
    HKEY key = OpenStore(KEY_SET_VALUE);
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
    HKEY key = OpenStore(KEY_SET_VALUE);
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
    HKEY key = OpenStore(KEY_SET_VALUE);
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

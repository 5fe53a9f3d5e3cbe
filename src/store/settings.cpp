#include <algorithm>
#include <cstring>

#include "game/game.h"
#include "store/store.h"

// Opens (or creates) the game's key with the access asked: the load only reads, so that
// what a read-only key holds still shows; the saves ask to write.
static HKEY OpenStore(REGSAM access) {
    HKEY key = nullptr;
    const LSTATUS opened = RegCreateKeyExW(HKEY_CURRENT_USER, kStoreKey, 0, nullptr,
                                           REG_OPTION_NON_VOLATILE, access, nullptr, &key, nullptr);
    return opened == ERROR_SUCCESS ? key : nullptr;
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
    s.Width = Clamp(s.Width, kColumnRange);
    s.Height = Clamp(s.Height, kRowRange);
    s.Mines = Clamp(s.Mines, MineRange(s.Width, s.Height));
    if (s.ClickMode != CMD_MODE_ORIGINAL && s.ClickMode != CMD_MODE_ENERGY_SAVING)
        s.ClickMode = CMD_MODE_ORIGINAL;
    for (const LevelPreset& level : kLevelPresets) {
        int32_t& time = s.*level.time;
        if (time < 0 || time > kNoRecordTime) time = kNoRecordTime;
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
        for (const LevelPreset& level : kLevelPresets)
            ReadNumber(key, level.timeValue, &(s.*level.time));
        for (const LevelPreset& level : kLevelPresets)
            ReadName(key, level.nameValue, s.*level.name);
        RegCloseKey(key);
    }
    BringIntoRange(s);
}

// Opens the key to write, has `write` write its values in their order, and closes the key.
template <typename Write>
static void Save(Write write) {
    HKEY key = OpenStore(KEY_SET_VALUE);
    if (!key) return;
    write(key);
    RegCloseKey(key);
}

// The window's screen rectangle goes to windowRect: its corner is where the level's new size
// is placed.
void SaveLevelAndPosition(HWND window) {
    GetWindowRect(window, &game.windowRect);
    Save([](HKEY key) {
        const Settings& s = game.settings;
        WriteNumber(key, L"Difficulty", s.Difficulty);
        WriteNumber(key, L"Height", s.Height);
        WriteNumber(key, L"Width", s.Width);
        WriteNumber(key, L"Mines", s.Mines);
        WriteNumber(key, L"XPos", game.windowRect.left);
        WriteNumber(key, L"Ypos", game.windowRect.top);
    });
}

void SaveRecords() {
    Save([](HKEY key) {
        const Settings& s = game.settings;
        for (const LevelPreset& level : kLevelPresets)
            WriteName(key, level.nameValue, s.*level.name);
        for (const LevelPreset& level : kLevelPresets)
            WriteNumber(key, level.timeValue, s.*level.time);
    });
}

void SaveClickMode() {
    Save([](HKEY key) { WriteNumber(key, L"ClickMode", game.settings.ClickMode); });
}

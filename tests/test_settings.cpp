// The settings store against the real registry of the test prefix: what a first start
// writes, the types and sizes of every value, names round-tripping, and stored values
// that are out of range, of the wrong type or size, or damaged.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/store.h"
#include "testkit.h"
#include "ui/ui.h"

namespace {

HKEY OpenKey()
{
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, kStoreKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    return key;
}

struct Stored {
    bool present = false;
    DWORD type = 0;
    std::vector<BYTE> bytes;
};

Stored Read(const wchar_t* name)
{
    Stored s;
    HKEY key = OpenKey();
    DWORD size = 0;
    if (RegQueryValueExW(key, name, nullptr, &s.type, nullptr, &size) == ERROR_SUCCESS) {
        s.present = true;
        s.bytes.resize(size);
        RegQueryValueExW(key, name, nullptr, &s.type, s.bytes.data(), &size);
    }
    RegCloseKey(key);
    return s;
}

int32_t Dword(const wchar_t* name)
{
    const Stored s = Read(name);
    EXPECT_TRUE(s.present) << "missing " << static_cast<const void*>(name);
    EXPECT_EQ(s.type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(s.bytes.size(), 4u);
    int32_t value = 0;
    if (s.bytes.size() == 4) memcpy(&value, s.bytes.data(), 4);
    return value;
}

void Put(const wchar_t* name, DWORD type, const void* data, DWORD size)
{
    HKEY key = OpenKey();
    RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}

void PutDword(const wchar_t* name, int32_t value) { Put(name, REG_DWORD, &value, 4); }

const wchar_t* const kAllNames[] = {L"ClickMode", L"Difficulty", L"Height", L"Width", L"Mines", L"XPos", L"Ypos",
                                    L"Time1", L"Time2", L"Time3", L"Name1", L"Name2", L"Name3"};

// The game is up and playable: a sane field, the window on a monitor, no dialog, and a
// click that opens a cell.
void ExpectPlayable(HWND window)
{
    ASSERT_TRUE(IsWindow(window));
    const Settings& s = game.settings;
    EXPECT_GE(s.Width, 9);
    EXPECT_LE(s.Width, 30);
    EXPECT_GE(s.Height, 9);
    EXPECT_LE(s.Height, 24);
    EXPECT_GE(s.Mines, 10);
    EXPECT_LE(s.Mines, (s.Width - 1) * (s.Height - 1));
    EXPECT_EQ(CountMines(), s.Mines);
    EXPECT_TRUE(s.ClickMode == CMD_MODE_ORIGINAL || s.ClickMode == CMD_MODE_ENERGY_SAVING);
    EXPECT_EQ(GetWindow(window, GW_ENABLEDPOPUP), nullptr) << "a dialog opened at start";
    RECT rect;
    GetWindowRect(window, &rect);
    EXPECT_NE(MonitorFromRect(&rect, MONITOR_DEFAULTTONULL), nullptr) << "window off every monitor";
    game.settings.ClickMode = CMD_MODE_ORIGINAL;
    Mouse(window, WM_LBUTTONDOWN, CellX(0), CellY(0));
    Mouse(window, WM_LBUTTONUP, CellX(0), CellY(0));
    EXPECT_NE(game.phase, Ready);
    EXPECT_GE(CountOpened(), 1);
}

TEST(Settings, FirstStartWritesTheLevelAndModeOnly)
{
    HWND window = StartGame();
    const Settings& s = game.settings;
    EXPECT_EQ(s.Width, 9);
    EXPECT_EQ(s.Height, 9);
    EXPECT_EQ(s.Mines, 10);
    EXPECT_EQ(s.Difficulty, CMD_BEGINNER);
    EXPECT_EQ(s.ClickMode, CMD_MODE_ORIGINAL);
    EXPECT_EQ(s.Time1 + s.Time2 + s.Time3, 3 * 999);
    EXPECT_STREQ(s.Name3, L"名前なし");
    RECT rect;
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.left, 300);
    EXPECT_EQ(rect.top, 200);
    EXPECT_EQ(Dword(L"ClickMode"), CMD_MODE_ORIGINAL);
    EXPECT_EQ(Dword(L"Difficulty"), CMD_BEGINNER);
    EXPECT_EQ(Dword(L"Height"), 9);
    EXPECT_EQ(Dword(L"Width"), 9);
    EXPECT_EQ(Dword(L"Mines"), 10);
    EXPECT_EQ(Dword(L"XPos"), 300);
    EXPECT_EQ(Dword(L"Ypos"), 200);
    for (const wchar_t* name : {L"Time1", L"Time2", L"Time3", L"Name1", L"Name2", L"Name3"}) {
        EXPECT_FALSE(Read(name).present) << "written at start";
    }
    // Moving the window and quitting stores nothing; choosing a level stores the new corner.
    SetWindowPos(window, nullptr, 420, 310, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SendMessageW(window, WM_COMMAND, CMD_INTERMEDIATE, 0);
    EXPECT_EQ(Dword(L"XPos"), 420);
    EXPECT_EQ(Dword(L"Ypos"), 310);
    EXPECT_EQ(Dword(L"Width"), 16);
    SetWindowPos(window, nullptr, 100, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EndGame(window);
    EXPECT_EQ(Dword(L"XPos"), 420);
}

TEST(Settings, RecordsRoundTripWithTheirExactSizes)
{
    HWND window = StartGame();
    const std::wstring fifteen(15, L'あ'), sixtyThree(63, L'z');
    lstrcpyW(game.settings.Name1, L"");
    lstrcpyW(game.settings.Name2, fifteen.c_str());
    lstrcpyW(game.settings.Name3, sixtyThree.c_str());
    game.settings.Time1 = 7;
    game.settings.Time2 = 0;
    game.settings.Time3 = 998;
    SaveRecords();
    EndGame(window);
    const struct { const wchar_t* name; size_t bytes; } sizes[] = {{L"Name1", 2}, {L"Name2", 32}, {L"Name3", 128}};
    for (const auto& s : sizes) {
        const Stored stored = Read(s.name);
        EXPECT_EQ(stored.type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(stored.bytes.size(), s.bytes);
    }
    EXPECT_EQ(Dword(L"Time1"), 7);
    window = StartGameKeepingStore();
    EXPECT_STREQ(game.settings.Name1, L"");
    EXPECT_EQ(game.settings.Name2, fifteen);
    EXPECT_EQ(game.settings.Name3, sixtyThree);
    EXPECT_EQ(game.settings.Time2, 0);
    EXPECT_EQ(game.settings.Time3, 998);
    EndGame(window);
}

TEST(Settings, AStoredCustomLevelGivesTheNextField)
{
    DeleteStore();
    PutDword(L"Difficulty", CMD_CUSTOM);
    PutDword(L"Width", 21);
    PutDword(L"Height", 13);
    PutDword(L"Mines", 50);
    HWND window = StartGameKeepingStore();
    EXPECT_EQ(game.settings.Width, 21);
    EXPECT_EQ(game.settings.Height, 13);
    EXPECT_EQ(CountMines(), 50);
    EXPECT_EQ(game.settings.customWidth, 9);
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 16 * 21 + 20);
    ExpectPlayable(window);
    EndGame(window);
}

TEST(Settings, BadStoredValuesOneByOneAndAllAtOnceLeaveAPlayableGame)
{
    struct Bad { const wchar_t* name; int32_t value; } bads[] = {
        {L"Width", 0},           {L"Width", 51},        {L"Width", -5},       {L"Width", INT32_MAX},
        {L"Height", 0},          {L"Height", 1000},     {L"Mines", 5000},     {L"Mines", -1},
        {L"Difficulty", CMD_EXIT}, {L"Difficulty", CMD_ABOUT}, {L"Difficulty", 7},
        {L"ClickMode", CMD_EXIT}, {L"ClickMode", CMD_HIGH_SCORES}, {L"ClickMode", 0},
        {L"XPos", -30000},       {L"Ypos", 90000},      {L"XPos", INT32_MIN},
        {L"Time1", -5},          {L"Time2", 5000}};
    for (const Bad& bad : bads) {
        DeleteStore();
        PutDword(L"Difficulty", CMD_CUSTOM);
        PutDword(bad.name, bad.value);
        HWND window = StartGameKeepingStore();
        SCOPED_TRACE(testing::Message() << "value " << bad.value);
        ExpectPlayable(window);
        EXPECT_LE(game.settings.Time1, 999);
        EXPECT_GE(game.settings.Time1, 0);
        EXPECT_LE(game.settings.Time2, 999);
        EndGame(window);
    }
    // Every value wrong at once: numbers as strings, names as numbers, sizes off.
    DeleteStore();
    const wchar_t text[] = L"not a number";
    for (const wchar_t* name : kAllNames) Put(name, REG_SZ, text, sizeof(text));
    Put(L"Name1", REG_DWORD, "\x01\x02\x03\x04", 4);
    Put(L"Width", REG_BINARY, "\xff\xff", 2);
    Put(L"Mines", REG_QWORD, "\x10\x00\x00\x00\x00\x00\x00\x01", 8);
    HWND window = StartGameKeepingStore();
    ExpectPlayable(window);
    EXPECT_STREQ(game.settings.Name1, L"名前なし");
    EXPECT_EQ(game.settings.Time1, 999);
    EndGame(window);
}

TEST(Settings, ANameWithoutTerminatorIsCutAndTerminated)
{
    DeleteStore();
    wchar_t full[64];
    for (wchar_t& c : full) c = L'x';
    Put(L"Name1", REG_SZ, full, sizeof(full));
    wchar_t longer[100];
    for (wchar_t& c : longer) c = L'y';
    Put(L"Name2", REG_SZ, longer, sizeof(longer));
    HWND window = StartGameKeepingStore();
    EXPECT_EQ(lstrlenW(game.settings.Name1), 63);
    EXPECT_STREQ(game.settings.Name2, L"名前なし");
    EXPECT_EQ(game.settings.Name1[63], 0);
    EndGame(window);
}

}  // namespace

// Windows Media Center's window search, close, start path and key maps.
#include "controllers/media_center.h"

#include <cstring>

#include "config/host_probes.h"
#include "controllers/actions.h"
#include "controllers/builtin_maps.h"
#include "controllers/key_maps.h"
#include "controllers/keymap_load.h"

namespace {

constexpr std::uint8_t Ctrl = VK_CONTROL;
constexpr std::uint8_t Shift = VK_SHIFT;
constexpr std::uint8_t Alt = VK_MENU;
constexpr std::uint8_t Win = VK_LWIN;

constexpr std::uint8_t VK_PRIOR = 0x21;
constexpr std::uint8_t VK_NEXT = 0x22;

// 44-key map (every layout other than 1, 2, 3).
const KeyRow kMap44[] = {
    {0, 8, PostDigit(1)},
    {9, 9, Tap(VK_BACK)},
    {10, 10, PostDigit(0)},
    {11, 11, Tap(VK_RETURN)},
    {14, 14, Tap(VK_BACK)},
    {15, 15, Chord(Ctrl, 'D')},
    {16, 16, Tap(VK_PRIOR)},
    {17, 17, Tap(VK_NEXT)},
    {18, 18, Tap(VK_F9)},
    {19, 19, Tap(VK_F10)},
    {20, 20, Tap(VK_F8)},
    {21, 21, Chord(Ctrl, 'M')},
    {22, 22, Chord(Ctrl, 'T')},
    {23, 23, Chord(Alt, VK_RETURN)},
    {24, 24, Chord(Ctrl, 'E')},
    {26, 26, Chord(Ctrl, Shift, 'S')},
    {27, 27, Chord(Ctrl, 'R')},
    {28, 28, Chord(Ctrl, 'I')},
    {30, 30, Chord(Ctrl, 'G')},
    {31, 31, Tap(VK_BACK)},
    {32, 32, Tap(VK_UP)},
    {33, 33, Tap(VK_DOWN)},
    {35, 35, Chord(Ctrl, 'I')},
    {64, 64, Chord(Ctrl, 'B')},
    {65, 65, Chord(Ctrl, 'F')},
    {66, 66, Tap(VK_LEFT)},
    {67, 67, Tap(VK_RIGHT)},
    {68, 68, Chord(Ctrl, 'P')},
    {69, 69, Tap(VK_UP)},
    {70, 70, Tap(VK_DOWN)},
    {71, 71, Chord(Ctrl, 'P')},
    {72, 72, Chord(Ctrl, 'A')},
    {73, 73, Chord(Ctrl, 'T')},
    {74, 74, Tap(VK_F1)},
};

// 41-key map.
const KeyRow kMap41[] = {
    {0, 8, PostDigit(1)},
    {9, 9, Tap(VK_BACK)},
    {10, 10, PostDigit(0)},
    {11, 11, Tap(VK_RETURN)},
    {13, 13, Chord(Ctrl, 'D')},
    {14, 14, Tap(VK_RETURN)},
    {16, 16, Tap(VK_UP)},
    {17, 17, Tap(VK_DOWN)},
    {18, 18, Tap(VK_LEFT)},
    {19, 19, Tap(VK_RIGHT)},
    {20, 20, Tap(VK_F8)},
    {21, 21, Chord(Ctrl, 'A')},
    {22, 22, Chord(Ctrl, 'O')},
    {23, 23, Chord(Alt, VK_RETURN)},
    {24, 24, Chord(Win, 'D')},
    {25, 25, Chord(Ctrl, 'G')},
    {26, 26, Chord(Ctrl, Shift, 'S')},
    {27, 27, Chord(Ctrl, 'R')},
    {28, 28, Chord(Ctrl, 'I')},
    {30, 30, Chord(Ctrl, 'T')},
    {31, 31, Chord(Ctrl, 'E')},
    {64, 64, Chord(Ctrl, 'B')},
    {65, 65, Chord(Ctrl, 'F')},
    {66, 66, Chord(Ctrl, Shift, 'B')},
    {67, 67, Chord(Ctrl, Shift, 'F')},
    {68, 68, Chord(Ctrl, 'P')},
    {69, 69, Chord(Ctrl, Shift, 'S')},
    {72, 72, Tap(VK_NEXT)},
    {73, 73, Tap(VK_PRIOR)},
    {74, 74, Tap(VK_F9)},
    {75, 75, Tap(VK_F10)},
};

// 36-key map, fixed entries. 14 and 29 switch the digit mode (kModeKeys36);
// the number keys follow it (kNumberKeys36).
const KeyRow kMap36[] = {
    {0, 0, Chord(Ctrl, 'R')},
    {2, 2, PostDigit(0)},  // in both digit modes
    {4, 4, Chord(Ctrl, Shift, 'B')},
    {7, 7, Chord(Ctrl, 'T')},
    {8, 8, Chord(Ctrl, Shift, 'S')},
    {12, 12, Chord(Ctrl, Shift, 'F')},
    {13, 13, Chord(Shift, Ctrl, 'Z')},
    {15, 15, Chord(Win, 'D')},
    {16, 16, Tap(VK_RETURN)},
    {17, 17, Chord(Ctrl, 'P')},
    {19, 19, Tap(VK_ESCAPE)},
    {20, 20, Tap(VK_F9)},
    {22, 22, Tap(VK_F10)},
    {23, 23, Tap(VK_NEXT)},
    {24, 24, Tap(VK_F8)},
    {25, 25, Chord(Alt, VK_RETURN)},
    {26, 26, Chord(Ctrl, 'I')},
    {28, 28, Chord(Ctrl, 'D')},
    {31, 31, Tap(VK_PRIOR)},
};

struct ModeKey {
    std::uint32_t nCode;
    std::uint8_t nDigitMode;
};
const ModeKey kModeKeys36[] = {{14, 1}, {29, 0}};

// In digit mode the key posts its digit; otherwise it taps up to two keys,
// each a whole action with its own window search.
struct NumberKey {
    std::uint32_t nCode;
    std::int32_t nDigit;
    std::uint8_t steer[2];
};
const NumberKey kNumberKeys36[] = {
    {1, 1, {VK_LEFT, VK_UP}},  {11, 2, {VK_UP, 0}},    {27, 3, {VK_RIGHT, VK_UP}},
    {5, 4, {VK_LEFT, 0}},      {9, 5, {0, 0}},         {21, 6, {VK_RIGHT, 0}},
    {6, 7, {VK_LEFT, VK_DOWN}}, {10, 8, {VK_DOWN, 0}}, {18, 9, {VK_RIGHT, VK_DOWN}},
};

// 35-key map.
const KeyRow kMap35[] = {
    {0, 8, PostDigit(1)},
    {10, 10, Chord(Alt, VK_RETURN)},
    {11, 11, Tap(VK_RETURN)},
    {14, 14, Tap(VK_RETURN)},
    {16, 16, Chord(Ctrl, 'I')},
    {17, 17, Tap(VK_PRIOR)},
    {18, 18, Tap(VK_F10)},
    {19, 19, Tap(VK_BACK)},
    {20, 20, PostDigit(0)},
    {23, 23, Chord(Ctrl, 'T')},
    {25, 25, Chord(Ctrl, 'P')},
    {26, 26, Chord(Ctrl, 'R')},
    {27, 27, Tap(VK_NEXT)},
    {28, 28, Chord(Ctrl, 'F')},
    {29, 29, Chord(Ctrl, Shift, 'A')},
    {30, 30, Chord(Ctrl, 'B')},
    {31, 31, Chord(Shift, Ctrl, 'Z')},
    {32, 32, Tap(VK_UP)},
    {33, 33, Tap(VK_DOWN)},
    {64, 64, Chord(Ctrl, Shift, 'S')},
    {65, 65, Chord(Ctrl, 'P')},
    {66, 66, Tap(VK_LEFT)},
    {67, 67, Tap(VK_RIGHT)},
    {68, 68, Tap(VK_F8)},
    {72, 72, Tap(VK_F9)},
};

void SetDigitMode(AppController& app, std::uint8_t mode) {
    app.dwExtra = (app.dwExtra & ~0xFFu) | mode;
}

}  // namespace

bool MediaCenterDigitMode() { return (MediaCenter.dwExtra & 0xFFu) != 0; }

os::Hwnd MediaCenterFindMainWindow() {
    // XP's Media Center titles its window differently: the class decides.
    const char* title = bLegacyMediaCenter == 1 ? nullptr : "Windows Media Center";
    return os::FindWindowExA(os::GetDesktopWindow(), 0, "eHome Render Window", title);
}

void MediaCenterClose(AppController& app) {
    app.hWnd = MediaCenterFindMainWindow();
    if (app.hWnd == 0) return;
    SetDigitMode(app, 1);
    os::SetForegroundWindow(app.hWnd);
    os::SetActiveWindow(app.hWnd);
    os::PostMessageA(app.hWnd, os::WM_CLOSE, 0, 0);
    app.bActive = 0;
}

void MediaCenterPrepareLaunch(AppController& app) { SetDigitMode(app, 0); }

bool BuildMediaCenterPath(const AppController& app, char* path, std::size_t size) {
    // szInstallDir holds a command line such as "C:\...\ehshell.exe" "%1".
    const char* text = app.szInstallDir;
    const void* nul = std::memchr(text, '\0', sizeof app.szInstallDir);
    const char* end =
        nul != nullptr ? static_cast<const char*>(nul) : text + sizeof app.szInstallDir;
    while (text < end && *text == ' ') ++text;
    char stop = ' ';
    if (text < end && *text == '"') {
        stop = '"';
        ++text;
    }
    const char* last = text;
    while (last < end && *last != stop) ++last;
    std::size_t len = static_cast<std::size_t>(last - text);
    if (len == 0 || len >= size) return false;
    std::memcpy(path, text, len);
    path[len] = '\0';
    return true;
}

void MediaCenterKeyMap44(std::uint32_t code) { RunKeyMap(MediaCenter, kMap44, code); }
void MediaCenterKeyMap41(std::uint32_t code) { RunKeyMap(MediaCenter, kMap41, code); }
void MediaCenterKeyMap35(std::uint32_t code) { RunKeyMap(MediaCenter, kMap35, code); }

void MediaCenterKeyMap36(std::uint32_t code) {
    // A row of the key-map file takes the key from the number and mode keys.
    if (FileHasRow(MediaCenter, code)) {
        RunKeyMap(MediaCenter, kMap36, code);
        return;
    }
    for (const ModeKey& key : kModeKeys36) {
        if (key.nCode != code) continue;
        SetDigitMode(MediaCenter, key.nDigitMode);  // no window search, nothing sent
        return;
    }
    for (const NumberKey& key : kNumberKeys36) {
        if (key.nCode != code) continue;
        if (MediaCenterDigitMode()) {
            RunKeyRow(MediaCenter, KeyRow{code, code, PostDigit(key.nDigit)}, code);
            return;
        }
        for (std::uint8_t vk : key.steer)
            if (vk != 0) RunKeyRow(MediaCenter, KeyRow{code, code, Tap(vk)}, code);
        return;
    }
    RunKeyMap(MediaCenter, kMap36, code);
}

BuiltinMapList MediaCenterBuiltinMaps() {
    static const BuiltinMap maps[] = {
        {BuiltinApp::MediaCenter, kLayout41, kMap41, sizeof kMap41 / sizeof(KeyRow), nullptr, 0,
         nullptr},
        {BuiltinApp::MediaCenter, kLayout36, kMap36, sizeof kMap36 / sizeof(KeyRow), nullptr, 0,
         "14 and 29 switch the number keys 1, 5, 6, 9, 10, 11, 18, 21 and 27 between digits "
         "and arrows; those codes are outside this table"},
        {BuiltinApp::MediaCenter, kLayout35, kMap35, sizeof kMap35 / sizeof(KeyRow), nullptr, 0,
         nullptr},
        {BuiltinApp::MediaCenter, kLayout44, kMap44, sizeof kMap44 / sizeof(KeyRow), nullptr, 0,
         nullptr},
    };
    return {maps, 4};
}

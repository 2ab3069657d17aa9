// ArcSoft TV 5.0's window search and key maps.
#include "controllers/arcsoft_tv5.h"

#include "controllers/builtin_maps.h"
#include "controllers/key_maps.h"
#include "controllers/keymap_load.h"
#include "controllers/totalmedia35.h"

namespace {

constexpr std::uint8_t Ctrl = VK_CONTROL;
constexpr std::uint8_t Shift = VK_SHIFT;
constexpr std::uint8_t Alt = VK_MENU;

// Shared map (41-, 36- and 44-key remotes). Codes 30 and 72 hold their
// choice for the listed board variants; kSharedVariants gives the other.
const KeyRow kShared[] = {
    {0, 8, NumpadDigit(1)},
    {9, 9, Tap(VK_F11)},
    {10, 10, NumpadDigit(0)},
    {11, 11, Tap(VK_RETURN)},
    {14, 14, Tap(VK_BACK)},
    {15, 15, Tap(VK_F12)},
    {16, 16, Chord(Ctrl, Shift, 'L')},
    {17, 17, Chord(Ctrl, Shift, 'K')},
    {18, 18, Tap(VK_F9)},
    {19, 19, Tap(VK_F10)},
    {20, 20, Tap(VK_F8)},
    {21, 21, Tap(VK_F6)},
    {22, 22, Tap(VK_F4)},
    {23, 23, Chord(Alt, VK_RETURN)},
    {24, 24, Chord(Ctrl, 'E')},
    {25, 25, Tap(VK_F2).ThenWait(2000)},
    {26, 26, Chord(Ctrl, 'S')},
    {27, 27, Chord(Ctrl, 'R').ThenWait(2000)},
    {28, 28, Tap(VK_F5)},
    {30, 30, Chord(Ctrl, Shift, 'S')},  // nBoardVariant 1, 2, 3, 5, 9
    {31, 31, Chord(Ctrl, 'Q')},
    {32, 32, Tap(VK_UP)},
    {33, 33, Tap(VK_DOWN)},
    {34, 34, Chord(Ctrl, 'L')},
    {35, 35, Chord(Ctrl, 'I')},
    {64, 64, Chord(Ctrl, Shift, 'D')},
    {65, 65, Chord(Ctrl, Shift, 'F')},
    {66, 66, Tap(VK_LEFT)},
    {67, 67, Tap(VK_RIGHT)},
    {68, 68, Chord(Ctrl, 'P')},
    {69, 69, Tap(VK_UP)},
    {70, 70, Tap(VK_DOWN)},
    {71, 71, Chord(Ctrl, 'P')},
    {72, 72, Chord(Ctrl, Shift, 'W')},  // nBoardVariant other than 1, 3, 5
    {73, 73, Chord(Ctrl, 'T')},
    {74, 74, Chord(Ctrl, 'K')},
    {75, 75, Chord(Ctrl, 'G')},
};

// The other boards get TotalMedia's chords for these two codes, sent to this
// application's own window: handed to the TotalMedia controller they would
// look for a TotalMedia window and send nothing here.
const BoardVariantRow kSharedVariants[] = {
    {30, {1, 2, 3, 5, 9}, 5, Chord(Ctrl, Shift, 'S'), Chord(Ctrl, VK_TAB)},
    {72, {1, 3, 5}, 3, Chord(Ctrl, 'J'), Chord(Ctrl, Shift, 'W')},
};

// 35-key map.
const KeyRow kMap35[] = {
    {0, 8, NumpadDigit(1)},
    {10, 10, Chord(Alt, VK_RETURN)},
    {11, 11, Tap(VK_RETURN)},
    {14, 14, Tap(VK_F11)},
    {16, 16, Tap(VK_F5)},
    {17, 17, Chord(Ctrl, Shift, 'L')},
    {18, 18, Tap(VK_F10)},
    {19, 19, Tap(VK_BACK)},
    {20, 20, NumpadDigit(0)},
    {25, 25, Chord(Ctrl, 'P')},
    {26, 26, Chord(Ctrl, 'R')},
    {27, 27, Chord(Ctrl, Shift, 'K')},
    {28, 28, Chord(Ctrl, Shift, 'F')},
    {30, 30, Chord(Ctrl, Shift, 'D')},
    {32, 32, Tap(VK_UP)},
    {33, 33, Tap(VK_DOWN)},
    {64, 64, Chord(Ctrl, 'S')},
    {65, 65, Chord(Ctrl, Shift, 'P')},
    {66, 66, Tap(VK_LEFT)},
    {67, 67, Tap(VK_RIGHT)},
    {68, 68, Tap(VK_F8)},
    {72, 72, Tap(VK_F9)},
};

}  // namespace

os::Hwnd ArcSoftTV5FindMainWindow() {
    return os::FindWindowExA(os::GetDesktopWindow(), 0, "_MIRACLE_20090309_1", "Arcsoft TV 5.0");
}

void ArcSoftTV5KeyMapShared(std::uint32_t code) {
    KeyRow scratch{};
    const KeyRow* row = ChooseRow(ArcSoftTV5,
                                  BoardVariantLookup(kShared, sizeof kShared / sizeof kShared[0],
                                                     kSharedVariants, 2, code, scratch),
                                  code);
    if (row != nullptr) RunKeyRow(ArcSoftTV5, *row, code);
}

void ArcSoftTV5KeyMap35(std::uint32_t code) { RunKeyMap(ArcSoftTV5, kMap35, code); }

BuiltinMapList ArcSoftTV5BuiltinMaps() {
    static const BuiltinMap maps[] = {
        {BuiltinApp::ArcSoftTV5, kLayout41 | kLayout36 | kLayout44, kShared,
         sizeof kShared / sizeof(KeyRow), kSharedVariants,
         sizeof kSharedVariants / sizeof kSharedVariants[0], nullptr},
        {BuiltinApp::ArcSoftTV5, kLayout35, kMap35, sizeof kMap35 / sizeof(KeyRow), nullptr, 0, nullptr},
    };
    return {maps, 2};
}

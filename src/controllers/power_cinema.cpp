// PowerCinema: found by its title alone, closed by Alt+F4 (the common
// Close), driven by chords and posted key-downs; one key map for every remote.
#include "controllers/actions.h"
#include "controllers/builtin_maps.h"
#include "controllers/key_maps.h"

namespace {

constexpr std::uint8_t Ctrl = VK_CONTROL;
constexpr std::uint8_t Shift = VK_SHIFT;
constexpr std::uint8_t Alt = VK_MENU;

// Rows in scan-code order; codes not listed do nothing. 15 and 25 have no
// known PowerCinema key: they send nothing, and 25 keeps the pause the
// other maps give that key.
const KeyRow kPowerCinemaMap[] = {
    {0, 8, PostDigit(1)},
    {9, 9, Chord(Ctrl, 'L')},
    {10, 10, PostDigit(0)},
    {11, 11, PostKeyDown(VK_RETURN)},
    {14, 14, PostKeyDown(VK_BACK)},
    {15, 15, NoAction()},
    {16, 16, PostKeyDown(VK_ADD)},
    {17, 17, PostKeyDown(VK_SUBTRACT)},
    {18, 18, PostKeyDown(VK_F9)},
    {19, 19, PostKeyDown(VK_F10)},
    {20, 20, PostKeyDown(VK_F8)},
    {21, 21, Chord(Ctrl, Shift, 'C')},
    {22, 22, Chord(Ctrl, 'V')},
    {23, 23, PostKeyDown(VK_F11)},
    {24, 24, Chord(Ctrl, 'E')},
    {25, 25, NoAction().ThenWait(2000)},
    {26, 26, Chord(Ctrl, 'S')},
    {27, 27, Chord(Ctrl, 'R').ThenWait(2000)},
    {28, 28, Chord(Ctrl, Shift, 'Z')},
    {30, 30, Chord(Ctrl, 'O')},
    {31, 31, Chord(Ctrl, Shift, Alt, VK_HOME)},
    {32, 32, PostKeyDown(VK_UP)},
    {33, 33, PostKeyDown(VK_DOWN)},
    {34, 34, Chord(Ctrl, 'T')},
    {35, 35, Chord(Ctrl, 'I')},
    {64, 64, Chord(Ctrl, Shift, 'D')},
    {65, 65, Chord(Ctrl, Shift, 'F')},
    {66, 66, PostKeyDown(VK_LEFT)},
    {67, 67, PostKeyDown(VK_RIGHT)},
    {68, 68, Chord(Ctrl, 'P')},
    {69, 69, PostKeyDown(VK_UP)},
    {70, 70, PostKeyDown(VK_DOWN)},
    {71, 71, Chord(Ctrl, 'P')},
    {72, 72, Chord(Ctrl, Shift, 'E')},
    {73, 73, Chord(Ctrl, Shift, 'X')},
    {75, 75, Chord(Ctrl, 'G')},
};

}  // namespace

void PowerCinemaKeyMap(std::uint32_t code) { RunKeyMap(PowerCinema, kPowerCinemaMap, code); }

BuiltinMapList PowerCinemaBuiltinMaps() {
    static const BuiltinMap maps[] = {
        {BuiltinApp::PowerCinema, kLayoutEvery, kPowerCinemaMap,
         sizeof kPowerCinemaMap / sizeof(KeyRow), nullptr, 0, nullptr},
    };
    return {maps, 1};
}

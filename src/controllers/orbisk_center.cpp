#include "controllers/orbisk_center.h"

#include "controllers/actions.h"
#include "controllers/builtin_maps.h"
#include "controllers/key_maps.h"
#include "controllers/visible_form.h"

namespace {

constexpr Delivery kMain = Delivery::Main;
constexpr Delivery kAlways = Delivery::Always;
constexpr Delivery kNotViewer = Delivery::NotViewer;
constexpr Delivery kForm = Delivery::Form;
constexpr Delivery kFormWithMessage = Delivery::FormWithMessage;

constexpr Action Cmd(std::uint32_t command, Delivery rule) {
    return Command(kOrbiskCenterMessage, command, rule);
}
constexpr Action Digit(std::int32_t first) {
    return CommandDigit(kOrbiskCenterMessage, first, kMain);
}

// Rows in scan-code order; codes not listed do nothing.
const KeyRow kOrbiskCenterMap[] = {
    {0, 8, Digit(1)},
    {9, 9, Cmd(4003, kMain)},
    {10, 10, Digit(0)},
    {11, 11, Cmd(35005, kForm)},
    {14, 14, Cmd(35007, kForm)},
    {15, 15, Cmd(27, kMain)},
    {16, 16, Cmd(4001, kMain)},
    {17, 17, Cmd(4002, kMain)},
    {18, 18, Cmd(402, kMain)},
    {19, 19, Cmd(401, kMain)},
    {20, 20, Cmd(403, kMain)},
    {21, 21, Cmd(300, kMain)},
    {22, 22, Cmd(207, kMain)},
    {23, 23, Cmd(3, kMain)},
    {24, 24, Cmd(32, kMain)},
    {25, 25, Cmd(2000, kMain).ThenWait(2000)},
    {26, 26, Cmd(1002, kNotViewer)},
    {27, 27, Cmd(1001, kMain).ThenWait(2000)},
    {28, 28, Cmd(1000, kMain)},
    {29, 29, Cmd(26, kMain)},
    {30, 30, Cmd(18, kMain)},
    {31, 31, Cmd(28, kMain)},
    {32, 32, Cmd(35002, kFormWithMessage)},
    {33, 33, Cmd(35004, kForm)},
    {34, 34, Cmd(50, kMain)},
    {35, 35, Cmd(33, kMain)},
    {64, 64, Cmd(1005, kAlways)},
    {65, 65, Cmd(1004, kAlways)},
    {66, 66, Cmd(35001, kForm)},
    {67, 67, Cmd(35003, kForm)},
    {68, 68, Cmd(3000, kAlways).ThenWait(2000)},
    {69, 69, Cmd(35002, kFormWithMessage)},
    {70, 70, Cmd(35004, kForm)},
    {71, 71, Cmd(3000, kAlways).ThenWait(2000)},
    {72, 72, Cmd(30, kMain)},
    {73, 73, Cmd(31, kMain)},
    {74, 74, Cmd(20, kMain)},
    {75, 75, Cmd(24, kMain)},
};

}  // namespace

void OrbiskCenterKeyMap(std::uint32_t code) {
    RunCommandMap(OrbiskCenter, FormFamily::OrbiskCenter, kOrbiskCenterMap, code);
}

void OrbiskCenterClose(AppController& app) { CloseByCommand(app, kOrbiskCenterMessage, 25, 2000); }

BuiltinMapList OrbiskCenterBuiltinMaps() {
    static const BuiltinMap maps[] = {
        {BuiltinApp::OrbiskCenter, kLayoutEvery, kOrbiskCenterMap,
         sizeof kOrbiskCenterMap / sizeof kOrbiskCenterMap[0], nullptr, 0, nullptr},
    };
    return {maps, 1};
}

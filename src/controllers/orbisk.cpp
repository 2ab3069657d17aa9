#include "controllers/orbisk.h"

#include "controllers/actions.h"
#include "controllers/builtin_maps.h"
#include "controllers/key_maps.h"
#include "controllers/visible_form.h"

namespace {

constexpr Delivery kPlain = Delivery::Plain;
constexpr Delivery kRaised = Delivery::Raised;

constexpr Action Cmd(std::uint32_t command, Delivery rule) {
    return Command(kOrbiskMessage, command, rule);
}
constexpr Action Digit(std::int32_t first) { return CommandDigit(kOrbiskMessage, first, kPlain); }

// Rows in scan-code order; codes not listed do nothing.
const KeyRow kOrbiskMap[] = {
    {0, 8, Digit(1)},
    {9, 9, Cmd(4003, kPlain)},
    {10, 10, Digit(0)},
    {11, 11, Cmd(10020, kPlain)},
    {14, 14, Cmd(4003, kPlain)},
    {15, 15, Cmd(27, kPlain)},
    {16, 16, Cmd(4001, kPlain)},
    {17, 17, Cmd(4002, kPlain)},
    {18, 18, Cmd(402, kPlain)},
    {19, 19, Cmd(401, kPlain)},
    {20, 20, Cmd(403, kPlain)},
    {21, 21, Cmd(300, kPlain)},
    {22, 22, Cmd(200, kPlain)},
    {23, 23, Cmd(3, kPlain)},
    {24, 24, Cmd(51, kPlain)},
    {25, 25, Cmd(2000, kPlain).ThenWait(2000)},
    {26, 26, Cmd(1002, kPlain)},
    {27, 27, Cmd(1001, kPlain).ThenWait(2000)},
    {28, 28, Cmd(1000, kPlain)},
    {30, 30, Cmd(18, kPlain)},
    {31, 31, Cmd(10022, kPlain)},
    {32, 32, Cmd(4001, kPlain)},
    {33, 33, Cmd(4002, kPlain)},
    {34, 34, Cmd(50, kPlain)},
    {35, 35, Cmd(104, kPlain).ThenWait(3000)},
    {64, 64, Cmd(1005, kPlain)},
    {65, 65, Cmd(1004, kPlain)},
    {66, 66, Cmd(402, kPlain)},
    {67, 67, Cmd(401, kPlain)},
    {68, 68, Cmd(3000, kRaised).ThenWait(2000)},
    {69, 69, Cmd(4001, kPlain)},
    {70, 70, Cmd(4002, kPlain)},
    {71, 71, Cmd(3000, kRaised).ThenWait(2000)},
    {72, 72, Cmd(8, kPlain)},
    {73, 73, Cmd(17, kPlain).ThenWait(3000)},
    {74, 74, Cmd(20, kRaised)},
    {75, 75, Cmd(21, kPlain)},
};

}  // namespace

void OrbiskKeyMap(std::uint32_t code) {
    RunCommandMap(Orbisk, FormFamily::None, kOrbiskMap, code);
}

void OrbiskClose(AppController& app) { CloseByCommand(app, kOrbiskMessage, 1, 3000); }

BuiltinMapList OrbiskBuiltinMaps() {
    static const BuiltinMap maps[] = {
        {BuiltinApp::Orbisk, kLayoutEvery, kOrbiskMap, sizeof kOrbiskMap / sizeof kOrbiskMap[0],
         nullptr, 0, nullptr},
    };
    return {maps, 1};
}

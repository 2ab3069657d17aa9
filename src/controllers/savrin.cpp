#include "controllers/savrin.h"

#include "controllers/actions.h"
#include "controllers/builtin_maps.h"
#include "controllers/key_maps.h"
#include "controllers/visible_form.h"

namespace {

constexpr Delivery kMain = Delivery::Main;
constexpr Delivery kAlways = Delivery::Always;
constexpr Delivery kForm = Delivery::Form;
constexpr Delivery kPlain = Delivery::Plain;

constexpr Action Cmd(std::uint32_t command, Delivery rule) {
    return Command(kSavrinMessage, command, rule);
}
constexpr Action Digit(std::int32_t first) { return CommandDigit(kSavrinMessage, first, kMain); }

// Rows in scan-code order; codes not listed do nothing.
const KeyRow kSavrinMap44[] = {
    {0, 8, Digit(1)},
    {9, 9, Cmd(4003, kMain)},
    {10, 10, Digit(0)},
    {11, 11, Cmd(35005, kForm)},
    {14, 14, Cmd(5, kPlain)},
    {15, 15, Cmd(27, kMain)},
    {16, 16, Cmd(4001, kMain)},
    {17, 17, Cmd(4002, kMain)},
    {18, 18, Cmd(402, kMain)},
    {19, 19, Cmd(401, kMain)},
    {20, 20, Cmd(403, kMain)},
    {21, 21, Cmd(303, kMain)},
    {22, 22, Cmd(207, kMain)},
    {23, 23, Cmd(3, kMain)},
    {24, 24, Cmd(32, kMain)},
    {25, 25, Cmd(2000, kMain).ThenWait(2000)},
    {26, 26, Cmd(1002, kAlways)},
    {27, 27, Cmd(1001, kMain).ThenWait(2000)},
    {28, 28, Cmd(1000, kMain)},
    {30, 30, Cmd(18, kPlain)},
    {31, 31, Cmd(22, kPlain)},
    {32, 32, Cmd(35002, kForm)},
    {33, 33, Cmd(35004, kForm)},
    {34, 34, Cmd(50, kMain)},
    {35, 35, Cmd(33, kMain)},
    {64, 64, Cmd(1005, kAlways)},
    {65, 65, Cmd(1004, kAlways)},
    {66, 66, Cmd(35001, kForm)},
    {67, 67, Cmd(35003, kForm)},
    {68, 68, Cmd(3000, kAlways).ThenWait(2000)},
    {69, 69, Cmd(35002, kForm)},
    {70, 70, Cmd(35004, kForm)},
    {71, 71, Cmd(3000, kAlways).ThenWait(2000)},
    {72, 72, Cmd(30, kMain)},
    {73, 73, Cmd(31, kMain)},
    {74, 74, Cmd(500, kMain)},
    {75, 75, Cmd(24, kMain)},
};

const KeyRow kSavrinMap41[] = {
    {0, 8, Digit(1)},
    {9, 9, Cmd(4003, kMain)},
    {10, 10, Digit(0)},
    {11, 11, Cmd(35005, kForm)},
    {13, 13, Cmd(500, kMain)},
    {14, 14, Cmd(35005, kForm)},
    {16, 16, Cmd(4001, kMain)},
    {17, 17, Cmd(4002, kMain)},
    {18, 18, Cmd(402, kMain)},
    {19, 19, Cmd(401, kMain)},
    {20, 20, Cmd(403, kMain)},
    {21, 21, Cmd(303, kMain)},
    {22, 22, Cmd(207, kMain)},
    {23, 23, Cmd(3, kMain)},
    {24, 24, Cmd(5, kPlain)},
    {25, 25, Cmd(2000, kMain)},
    {26, 26, Cmd(1002, kAlways)},
    {27, 27, Cmd(1001, kMain)},
    {28, 28, Cmd(1000, kMain)},
    {30, 30, Cmd(17, kPlain)},
    {31, 31, Cmd(8, kPlain)},
    {64, 64, Cmd(1005, kAlways)},
    {65, 65, Cmd(1004, kAlways)},
    {66, 66, Cmd(1008, kPlain)},
    {67, 67, Cmd(1009, kPlain)},
    {68, 68, Cmd(3000, kAlways)},
    {69, 69, Cmd(1002, kAlways)},
    {72, 72, Cmd(27, kMain)},
    {73, 73, Cmd(50, kMain)},
    {74, 74, Cmd(24, kMain)},
    {75, 75, Cmd(22, kPlain)},
};

// The 36-key remote's digits are scattered over its codes.
const KeyRow kSavrinMap36[] = {
    {0, 0, Cmd(1001, kMain)},
    {1, 1, Digit(1)},
    {2, 2, Digit(0)},
    {4, 4, Cmd(1005, kAlways)},
    {5, 5, Digit(4)},
    {6, 6, Digit(7)},
    {7, 7, Cmd(207, kMain)},
    {8, 8, Cmd(1002, kAlways)},
    {9, 9, Digit(5)},
    {10, 10, Digit(8)},
    {11, 11, Digit(2)},
    {12, 12, Cmd(1004, kAlways)},
    {13, 13, Cmd(303, kMain)},
    {14, 14, Cmd(2000, kMain)},
    {15, 15, Cmd(5, kPlain)},
    {16, 16, Cmd(35005, kForm)},
    {17, 17, Cmd(3000, kAlways)},
    {18, 18, Digit(9)},
    {19, 19, Cmd(35007, kForm)},
    {20, 20, Cmd(402, kMain)},
    {21, 21, Digit(6)},
    {22, 22, Cmd(401, kMain)},
    {23, 23, Cmd(4002, kMain)},
    {24, 24, Cmd(403, kMain)},
    {25, 25, Cmd(3, kMain)},
    {26, 26, Cmd(1000, kMain)},
    {27, 27, Digit(3)},
    {28, 28, Cmd(4004, kAlways)},
    {29, 29, Cmd(27, kMain)},
    {31, 31, Cmd(4001, kMain)},
};

// 3852 is raw code 12 of this remote after the key engine's remap; it is
// listed here, against the rule that maps ignore it.
const KeyRow kSavrinMap35[] = {
    {0, 0, Digit(1)},
    {1, 8, Digit(2)},
    {10, 10, Cmd(3, kMain)},
    {11, 11, Cmd(35005, kForm)},
    {14, 14, Cmd(4003, kMain)},
    {16, 16, Cmd(1000, kMain)},
    {17, 17, Cmd(4001, kMain)},
    {18, 18, Cmd(401, kMain)},
    {19, 19, Cmd(4003, kMain)},
    {20, 20, Digit(0)},
    {23, 23, Cmd(2000, kMain)},
    {25, 25, Cmd(3000, kAlways)},
    {26, 26, Cmd(1001, kMain)},
    {27, 27, Cmd(4002, kMain)},
    {28, 28, Cmd(1004, kAlways)},
    {29, 29, Cmd(27, kMain)},
    {30, 30, Cmd(1005, kAlways)},
    {31, 31, Cmd(303, kMain)},
    {32, 32, Cmd(35002, kForm)},
    {33, 33, Cmd(35004, kForm)},
    {64, 64, Cmd(1002, kAlways)},
    {65, 65, Cmd(3000, kAlways)},
    {66, 66, Cmd(35001, kForm)},
    {67, 67, Cmd(35003, kForm)},
    {68, 68, Cmd(403, kMain)},
    {72, 72, Cmd(402, kMain)},
    {3852, 3852, Digit(1)},
};

}  // namespace

void SavrinKeyMap41(std::uint32_t code) {
    RunCommandMap(Savrin, FormFamily::Savrin, kSavrinMap41, code);
}
void SavrinKeyMap36(std::uint32_t code) {
    RunCommandMap(Savrin, FormFamily::Savrin, kSavrinMap36, code);
}
void SavrinKeyMap35(std::uint32_t code) {
    RunCommandMap(Savrin, FormFamily::Savrin, kSavrinMap35, code);
}
void SavrinKeyMap44(std::uint32_t code) {
    RunCommandMap(Savrin, FormFamily::Savrin, kSavrinMap44, code);
}

void SavrinClose(AppController& app) { CloseByCommand(app, kSavrinMessage, 25, 0); }

BuiltinMapList SavrinBuiltinMaps() {
    static const BuiltinMap maps[] = {
        {BuiltinApp::Savrin, kLayout41, kSavrinMap41, sizeof kSavrinMap41 / sizeof(KeyRow),
         nullptr, 0, nullptr},
        {BuiltinApp::Savrin, kLayout36, kSavrinMap36, sizeof kSavrinMap36 / sizeof(KeyRow),
         nullptr, 0, nullptr},
        {BuiltinApp::Savrin, kLayout35, kSavrinMap35, sizeof kSavrinMap35 / sizeof(KeyRow),
         nullptr, 0, nullptr},
        {BuiltinApp::Savrin, kLayout44, kSavrinMap44, sizeof kSavrinMap44 / sizeof(KeyRow),
         nullptr, 0, nullptr},
    };
    return {maps, 4};
}

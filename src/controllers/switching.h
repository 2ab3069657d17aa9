// The tray menu's application entry: for each of the eight applications the
// test behind its check mark, and the switch sequence that closes every
// other TV application and brings the chosen one forward or starts it.
#pragma once
#include <cstddef>
#include <cstdint>

#include "controllers/app_controller.h"

struct SwitchStep {
    std::int32_t bActivate;  // 1 ActivateOrLaunch, 0 Close
    AppController* pApp;
};
constexpr int kSwitchSteps = 8;
struct SwitchRow {
    std::uint32_t nMenuCommand;
    std::int32_t nTargetAppCode;
    AppController* pApp;
    SwitchStep steps[kSwitchSteps];
};
constexpr int kSwitchRowCount = 8;
extern const SwitchRow SwitchRows[kSwitchRowCount];

const SwitchRow* SwitchRowOfCommand(std::uint32_t command);  // nullptr for other ids
const SwitchRow* SwitchRowOfCode(std::int32_t code);         // nullptr for other codes

// The entry is offered: the application is installed (Media Center: the
// probe finds it).
bool IsSwitchEntryAvailable(const SwitchRow& row);
// The check mark: the application's own window exists right now.
bool SwitchWindowExists(const SwitchRow& row);
// Runs the row's steps in order; results are not examined.
void RunSwitch(const SwitchRow& row);
// The same for the key-map file's user application `index`: every other
// application closed, then it is brought forward or started.
void RunUserSwitch(std::size_t index);

// The simulated desktop's own interface: setters for the world, the virtual
// clock, the effect log and fault injection. Tests and rcsim use this; the
// program only ever sees os.h.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "os/os.h"

namespace sim {

// Forget everything: clock at 0 (or `startTime`), no windows, empty log,
// no faults, driver with no presses.
void Reset(std::uint32_t startTime = 0);

// ---- virtual clock
std::uint32_t Now();
// Runs the scheduler for `ms` of virtual time: due timers fire in order,
// scripted world events happen, modal loops are answered.
void Run(std::uint32_t ms);

// ---- windows (top level, z-order: the newest is on top unless `atBottom`)
struct WindowSpec {
    std::string className;
    std::string title;
    bool visible = true;
    std::string owner;  // name of the stand-in program that owns it
};
os::Hwnd AddWindow(const WindowSpec& spec);
void RemoveWindow(os::Hwnd hwnd);
void SetWindowTitle(os::Hwnd hwnd, const std::string& title);
void SetWindowVisible(os::Hwnd hwnd, bool visible);
void SetForeground(os::Hwnd hwnd);
// Windows Windows refuses to bring forward (SetForegroundWindow fails).
void RefuseForeground(os::Hwnd hwnd, bool refuse = true);
// A window that appears or disappears at a virtual time.
void AddWindowAt(std::uint32_t time, const WindowSpec& spec);
void RemoveWindowAt(std::uint32_t time, const std::string& className, const std::string& title);
std::string DescribeWindow(os::Hwnd hwnd);  // `0x10002 "Class" "Title"`

// ---- the effect log
struct Effect {
    std::uint32_t time;
    std::string text;  // stable format, see docs/scenarios.md
};
const std::vector<Effect>& Effects();
// Lines as "t=<time> <text>", the format rcsim prints.
std::vector<std::string> EffectLines();
// Only the texts, without times.
std::vector<std::string> EffectTexts();
void ClearEffects();
void Log(const std::string& text);

// ---- shell starts and message boxes
void SetShellExecuteResult(std::uint32_t value);  // default 42
// Answer the next message box after `afterMs` of virtual time (the modal
// loop keeps running timers meanwhile) with button `result` (IDOK = 1).
void AnswerMessageBox(int result, std::uint32_t afterMs = 0);

// ---- the card's driver
// Which answers the simulated board gives. Pin `readyPin` reads 1 while a
// code is waiting; pins 0..5 carry bits of the code; the I2C read gives the
// code in the first byte (shifted left by one when `i2cShifted`).
struct DriverBoard {
    std::uint8_t readyPin = 6;
    bool answersPins = true;
    bool answersI2C = true;
    bool i2cShifted = false;
    std::uint16_t chipId = 0x7134;  // main-device path
};
void SetDriverBoard(const DriverBoard& board);
// The simulated IKsControl of the capture path and of the main-device path.
os::ComPtr DriverCapturePath();
os::ComPtr DriverMainPath();
// A press of `code` at the current time (or at `time`), held for `holdMs`:
// while held, every poll finds it pending. 0xFF in the I2C byte means none.
void PressKey(std::uint8_t code, std::uint32_t holdMs = 60);
void PressKeyAt(std::uint32_t time, std::uint8_t code, std::uint32_t holdMs = 60);
std::uint32_t DriverRequestCount();
// Refuse every request with `hr` (S_FALSE included) until cleared with S_OK.
void SetDriverResult(os::HResult hr);

// ---- fault injection
enum class Call {
    KsProperty,
    ShellExecuteA,
    SetTimer,
    SetForegroundWindow,
    PostMessageA,
    GetWindowsDirectoryA,
    // later subsystems add theirs here
};
// The next `count` calls of `call` fail with `result` (an HRESULT for COM
// calls, the return value otherwise).
void FailNext(Call call, std::int64_t result, int count = 1);

}  // namespace sim

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
// Extension files (registry, devices, ...) reset their part through a hook
// that Reset calls after its own. Registering the same hook twice is harmless.
void AddResetHook(void (*hook)());

// ---- virtual clock
std::uint32_t Now();
// Runs the scheduler for `ms` of virtual time: due timers fire in order,
// scripted world events happen, modal loops are answered.
void Run(std::uint32_t ms);
// GetMessageA returns 0, as for WM_QUIT, once the clock reaches `time`
// (for tests that run the program's own message loop).
void EndMessageLoopAt(std::uint32_t time);

// Whether window `hwnd` has timer `id` set (a thread timer: hwnd 0).
bool HasTimer(os::Hwnd hwnd, std::uint32_t id);

// ---- modal loops: message boxes and dialogs
// The id of the timer whose procedure was running (innermost) when each
// box or dialog now open was opened; 0 for anything else (a message, a
// world event, the test's own call). Oldest first. A dialog counts from
// its opening to its EndDialog.
std::vector<std::uint32_t> OpenModalOpeners();
// The most boxes and dialogs opened by timer `id`'s procedure that were
// open at once since Reset.
int PeakModalsOpenedBy(std::uint32_t timerId);

// ---- windows (top level, z-order: the newest is on top unless `atBottom`)
struct WindowDesc {
    std::string className;
    std::string title;
    bool visible = true;
    std::string owner = {};  // name of the stand-in program that owns it
    bool atBottom = false;  // enter the z-order at the bottom instead of the top
    // The stand-in closes on WM_CLOSE, on WM_SYSCOMMAND SC_CLOSE, and on
    // Alt+F4 (without Ctrl) while it is the foreground window.
    bool closable = false;
};
os::Hwnd AddWindow(const WindowDesc& desc);
void RemoveWindow(os::Hwnd hwnd);
void SetWindowTitle(os::Hwnd hwnd, const std::string& title);
void SetWindowVisible(os::Hwnd hwnd, bool visible);
void SetForeground(os::Hwnd hwnd);
// Windows Windows refuses to bring forward (SetForegroundWindow fails).
void RefuseForeground(os::Hwnd hwnd, bool refuse = true);
// The foreground lock of a real desktop after recent user input: the
// program's SetForegroundWindow is refused unless the foreground window is
// its own or its thread is attached to the foreground window's thread.
void LockForeground(bool locked = true);
// A window that appears or disappears at a virtual time.
void AddWindowAt(std::uint32_t time, const WindowDesc& desc);
void RemoveWindowAt(std::uint32_t time, const std::string& className, const std::string& title);
// The first window with exactly this class and title changes its title or
// its visibility at a virtual time.
void SetWindowTitleAt(std::uint32_t time, const std::string& className, const std::string& title,
                      const std::string& newTitle);
void SetWindowVisibleAt(std::uint32_t time, const std::string& className, const std::string& title,
                        bool visible);
std::string DescribeWindow(os::Hwnd hwnd);  // `0x10002 "Class" "Title"`
// Top-level windows, topmost first.
std::vector<os::Hwnd> TopLevelWindows();
os::Hwnd ActiveWindow();
// A window list that keeps changing while it is walked: for the next
// `steps` GW_HWNDNEXT calls the bottom window leads back to the top one, as
// when windows keep coming forward during a walk. 0 after Reset.
void TurnWindowListFor(std::uint32_t steps);
std::uint32_t WindowWalkSteps();  // GW_HWNDNEXT calls since Reset
// The first window whose class and title equal these bytes exactly, or 0.
os::Hwnd FindExact(const std::string& className, const std::string& title);

// A message sent at `time` to every window of the program, as Windows
// broadcasts power notices (WM_POWERBROADCAST) to all top-level windows.
void BroadcastAt(std::uint32_t time, std::uint32_t msg, std::uint32_t wParam, std::int32_t lParam = 0);

// ---- the keyboard
// A layout with AltGr (German, French, ...): a right Alt (VK_MENU with
// KEYEVENTF_EXTENDEDKEY) is AltGr and holds a left Ctrl down with it, so
// Alt chords sent with it arrive as Ctrl+Alt chords. Off after Reset.
void SetAltGrLayout(bool on);
// The virtual keys synthetic input holds down now, in code order (the left
// Ctrl an AltGr holds shows as VK_CONTROL).
std::vector<std::uint8_t> KeysDown();

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
// Every start answers `value`. Until then starts answer as Windows would:
// 42 for a file that exists or has a scripted launch, 2 for any other.
void SetShellExecuteResult(std::uint32_t value);
// Answer the next message box after `afterMs` of virtual time (the modal
// loop keeps running timers meanwhile) with button `result` (IDOK = 1).
void AnswerMessageBox(int result, std::uint32_t afterMs = 0);
// Answer the message box that is open at virtual time `time` (or the next
// one to open after it) with `result`.
void AnswerMessageBoxAt(std::uint32_t time, int result);
// Message boxes shown and not yet answered (nested boxes count each).
int OpenMessageBoxCount();
// A successful shell start of `file` (compared without regard to case)
// makes `desc` appear `delayMs` later, as a started application would.
void SetLaunchWindow(const std::string& file, const WindowDesc& desc, std::uint32_t delayMs = 500);

// ---- host: Windows directory, files, the program's string table
void SetWindowsDirectory(const std::string& dir);  // default C:\windows
void SetFileExists(const std::string& path, bool exists = true);
bool FileExists(const std::string& path);  // without regard to case
// A file with these bytes (it exists from then on, as with SetFileExists).
// A file that exists without content reads as empty.
void SetFileContent(const std::string& path, const std::string& bytes);
// What SHGetFolderPathA(CSIDL_APPDATA) answers (default
// C:\Users\User\AppData\Roaming); empty: the call fails.
void SetAppDataFolder(const std::string& path);
// The program's own path (default C:\Program Files\Remote Control\RemoteControl.exe).
void SetModuleFileName(const std::string& path);
// LoadStringA answers; entries 22 and 23 start as "Remote Control".
void SetResourceString(std::uint32_t id, const std::string& text);

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
// With S_FALSE the driver still carries the request out, then reports S_FALSE.
void SetDriverResult(os::HResult hr);

// What the driver answers to requests it does not accept.
constexpr os::HResult kDriverSetNotFound = static_cast<os::HResult>(0x80070492u);  // property set or id
constexpr os::HResult kDriverBadRequest = static_cast<os::HResult>(0x80070057u);   // lengths, flags, fields
constexpr os::HResult kDriverBadAddress = static_cast<os::HResult>(0x800703E6u);   // an address it cannot reach
constexpr os::HResult kDriverNoConnection = static_cast<os::HResult>(0x80004003u); // null or unknown interface

// One KsProperty call as the driver saw it: the request and data bytes as
// sent (up to the first 64 and 16 bytes), and the result it gave.
enum class DriverPath : std::uint8_t { None, Capture, Main };
struct DriverRequest {
    std::uint32_t time;
    DriverPath path;
    std::uint32_t propertyLength;
    std::uint32_t dataLength;
    std::uint8_t property[64];
    std::uint8_t data[16];
    os::HResult result;
    std::vector<std::uint8_t> Property() const;  // the first min(propertyLength, 64) bytes
    std::vector<std::uint8_t> Data() const;      // the first min(dataLength, 16) bytes
};
// The most recent requests (up to 256), oldest first.
std::vector<DriverRequest> DriverRequests();
void ClearDriverRequests();
// Also write every request into the effect log ("ks ...", docs/scenarios.md).
void LogDriverRequests(bool on);

// ---- fault injection
enum class Call {
    KsProperty,
    ShellExecuteA,
    SetTimer,
    SetForegroundWindow,
    PostMessageA,
    GetWindowsDirectoryA,
    ReadFileBytes,     // the file is there but cannot be read
    SHGetFolderPathA,  // the result is the HRESULT
    // later subsystems add theirs here
};
// The next `count` calls of `call` fail with `result` (an HRESULT for COM
// calls, the return value otherwise).
void FailNext(Call call, std::int64_t result, int count = 1);

}  // namespace sim

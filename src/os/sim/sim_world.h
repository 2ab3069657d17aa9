// What the files of the simulated desktop share among themselves: the clock
// in 64-bit elapsed form, the window list, fault lookups and log helpers.
// Tests and the program never include this.
#pragma once
#include <cstdint>
#include <string>

#include "os/os.h"
#include "os/sim/sim.h"

namespace sim {
namespace world {

// ---- clock and scheduler (sim_clock.cpp)
// Virtual milliseconds since Reset; Now() is the start time plus this, wrapped.
std::uint64_t Elapsed();
void AdvanceTo(std::uint64_t elapsed);  // moves the clock, plays world events on the way
// Runs the scheduler until `until`; with `stopOnMessage` it returns early
// (true) as soon as a posted message for a program window is waiting.
bool Pump(std::uint64_t until, bool stopOnMessage);
bool AnythingScheduled();  // timers or world events left
// Where the outermost running Pump stops, or the largest value when none
// runs (a modal loop opened straight from a test): modal loops with nobody
// left to answer them end there.
std::uint64_t RunDeadline();
// A world event at an elapsed time (windows coming and going, answers).
void Schedule(std::uint64_t at, void (*action)(std::uint32_t arg), std::uint32_t arg);
void ForgetTimersOf(os::Hwnd hwnd);
// The elapsed time of a virtual time; a time already past means now.
std::uint64_t ElapsedAt(std::uint32_t time);

// ---- who is running, and the modal loops it opened (sim_modals.cpp)
// Around every timer procedure (its id), dispatched message and world
// event (0), so that a box or dialog knows what opened it.
void EnterCallback(std::uint32_t timerId);
void LeaveCallback();
// A box or dialog opens or ends; `key` tells one from another.
void ModalOpened(std::uint64_t key);
void ModalClosed(std::uint64_t key);
void ResetModals();

// ---- windows (sim_windows.cpp)
struct Window {
    os::Hwnd hwnd = 0;
    std::string className;
    std::string title;
    std::string owner;
    bool visible = true;
    bool refuseForeground = false;
    bool closable = false;
    os::WndProc proc = nullptr;  // set for the program's own windows
    os::Hwnd ownedBy = 0;        // the owner of a dialog, destroyed before it
};
Window* Find(os::Hwnd hwnd);
// The program's own window procedure for `hwnd`, or null for stand-ins.
os::WndProc ProcOf(os::Hwnd hwnd);
// Destroys the windows `hwnd` owns first, as DestroyWindow does.
void Destroy(os::Hwnd hwnd);
void DestroyOwnedBy(os::Hwnd owner);
os::Hwnd AddProgramWindow(const std::string& className, const std::string& title, bool visible,
                          os::WndProc proc);
void ResetWindows();

// ---- processes and the foreground lock (sim_processes.cpp)
// Windows of one owner share a process and a thread; the program's own
// windows are the program's; a window without owner is a program of its own.
std::uint32_t ProcessOf(os::Hwnd hwnd);
// Under the foreground lock only the foreground process, or a thread
// attached to the foreground window's input, may hand the foreground on.
bool ProgramMayTakeForeground(os::Hwnd foreground);
// The program's input is attached to this thread's.
bool InputAttachedTo(std::uint32_t thread);

// ---- messages (sim_messages.cpp)
bool HasProgramMessage();
bool QuitPending();
void QueueMessage(os::Hwnd hwnd, std::uint32_t msg, std::uint32_t wParam, std::int32_t lParam);
bool DispatchOneProgramMessage();  // pops the first queued message and dispatches it
void ResetMessages();
const char* MessageName(std::uint32_t msg);
// The name a registered message (0xC000 and up) was registered under, or null.
const char* RegisteredMessageName(std::uint32_t msg);

// ---- faults (sim_faults.cpp)
// True when the next call of `call` is to fail; `result` receives the value.
bool TakeFault(Call call, std::int64_t* result);
void ResetFaults();

// ---- shell starts and message boxes (sim_shell_start.cpp)
void ResetShell();
// ---- Windows directory, files, string table (sim_kernel.cpp)
void ResetHost();

// ---- driver (sim_driver.cpp)
void ResetDriver();
void ResetTokens();
// The caller's buffer behind a token of os::BufferAddress, or null.
void* ResolveAddress(std::uint32_t token);

// ---- popup menus and tray clicks (sim_menus.cpp, sim_tray_click.cpp)
// A click outside closes the popup menu being tracked; false when none is.
bool CloseTrackedMenuByClick();
// Every Shell_NotifyIconA call, so that clicks find the icon's window.
void NoteTrayCall(std::uint32_t message, os::Hwnd hwnd, std::uint32_t id, std::uint32_t flags,
                  std::uint32_t callbackMessage);

// ---- log text helpers (sim_effects.cpp)
// Text in double quotes: `"` as \" and bytes outside printable ASCII as \xNN.
std::string Quote(const char* text);
std::string Hex(std::uint32_t value, int minDigits);
// ASCII letters compared without regard to case, as user32 compares class
// names and titles; a null text matches nothing.
bool SameIgnoringCase(const char* a, const char* b);
void ResetEffects();
std::string VkName(std::uint8_t vk);  // "VK_RETURN", "P", or hex

}  // namespace world
}  // namespace sim

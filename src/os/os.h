// The OS boundary: one free function per platform call (or per group of
// calls that are always made together), named after that call. Portable
// code includes only this header; src/os/win32/ makes the real calls,
// src/os/sim/ is the simulated desktop. The backend is chosen at link time.
#pragma once
#include <cstdint>

namespace os {

// Handles are 32-bit values, as on 32-bit Windows. 0 means none.
using Hwnd = std::uint32_t;
using Hmenu = std::uint32_t;
using Hinstance = std::uint32_t;
using Hkey = std::uint32_t;
using HResult = std::int32_t;

constexpr HResult S_OK = 0;
constexpr HResult S_FALSE = 1;
constexpr HResult E_FAIL = static_cast<HResult>(0x80004005u);
constexpr HResult E_NOINTERFACE = static_cast<HResult>(0x80004002u);

// An opaque COM interface pointer (IKsControl, IBaseFilter, ...). The
// win32 backend stores the real interface pointer; the simulation a token.
struct ComObject;
using ComPtr = ComObject*;

// ---- window messages and constants used by portable code
constexpr std::uint32_t WM_CREATE = 0x0001;
constexpr std::uint32_t WM_DESTROY = 0x0002;
constexpr std::uint32_t WM_CLOSE = 0x0010;
constexpr std::uint32_t WM_DISPLAYCHANGE = 0x007E;
constexpr std::uint32_t WM_KEYDOWN = 0x0100;
constexpr std::uint32_t WM_KEYUP = 0x0101;
constexpr std::uint32_t WM_SYSKEYDOWN = 0x0104;
constexpr std::uint32_t WM_INITDIALOG = 0x0110;
constexpr std::uint32_t WM_COMMAND = 0x0111;
constexpr std::uint32_t WM_SYSCOMMAND = 0x0112;
constexpr std::uint32_t WM_TIMER = 0x0113;
constexpr std::uint32_t WM_MOUSEMOVE = 0x0200;
constexpr std::uint32_t WM_LBUTTONDOWN = 0x0201;
constexpr std::uint32_t WM_RBUTTONDOWN = 0x0204;
constexpr std::uint32_t WM_POWERBROADCAST = 0x0218;
constexpr std::uint32_t SC_CLOSE = 0xF060;

constexpr std::uint32_t GW_HWNDNEXT = 2;
constexpr std::uint32_t GW_CHILD = 5;

constexpr std::uint32_t KEYEVENTF_EXTENDEDKEY = 0x0001;
constexpr std::uint32_t KEYEVENTF_KEYUP = 0x0002;

constexpr std::uint32_t MB_OK = 0x00000000;
constexpr std::uint32_t MB_ICONINFORMATION = 0x00000040;
constexpr std::uint32_t MB_SETFOREGROUND = 0x00010000;

constexpr int SW_HIDE = 0;
constexpr int SW_SHOW = 5;

// ---- kernel
std::uint32_t GetTickCount();
void Sleep(std::uint32_t ms);
void OutputDebugStringA(const char* text);
// Returns the length copied (without NUL), or 0 on failure; when the buffer
// is too small it returns the size needed, as the real call does.
std::uint32_t GetWindowsDirectoryA(char* buffer, std::uint32_t size);

// ---- window search and activation (user32)
Hwnd GetDesktopWindow();
Hwnd GetWindow(Hwnd hwnd, std::uint32_t cmd);
// Copies at most maxCount-1 characters and a NUL; returns the length copied.
int GetWindowTextA(Hwnd hwnd, char* buffer, int maxCount);
// The same for the window's class name ("#32770" for a dialog or a box).
int GetClassNameA(Hwnd hwnd, char* buffer, int maxCount);
// NULL class or title matches any; comparisons ignore letter case.
Hwnd FindWindowA(const char* className, const char* title);
Hwnd FindWindowExA(Hwnd parent, Hwnd childAfter, const char* className, const char* title);
int IsWindowVisible(Hwnd hwnd);
int IsWindow(Hwnd hwnd);
int SetForegroundWindow(Hwnd hwnd);
Hwnd SetActiveWindow(Hwnd hwnd);
Hwnd GetForegroundWindow();
// Raises the window to the top of the z-order; returns nonzero on success.
int BringWindowToTop(Hwnd hwnd);
// The thread that made the window, and its process into *processId when
// given; 0 (and process 0) for no window.
std::uint32_t GetWindowThreadProcessId(Hwnd hwnd, std::uint32_t* processId);
std::uint32_t GetCurrentThreadId();
// Joins (attach nonzero) or parts the input state of two threads; nonzero
// on success.
int AttachThreadInput(std::uint32_t thread, std::uint32_t toThread, int attach);

// ---- synthetic input and messages
void keybd_event(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags, std::uint32_t extraInfo);
int PostMessageA(Hwnd hwnd, std::uint32_t msg, std::uint32_t wParam, std::int32_t lParam);
std::int32_t SendMessageA(Hwnd hwnd, std::uint32_t msg, std::uint32_t wParam, std::int32_t lParam);

// ---- shell and message boxes
// Returns the HINSTANCE value as an integer (greater than 32 is success).
std::uint32_t ShellExecuteA(Hwnd owner, const char* verb, const char* file, const char* params,
                            const char* dir, int showCmd);
int MessageBoxA(Hwnd owner, const char* text, const char* caption, std::uint32_t type);

// ---- window timers
using TimerProc = void (*)(Hwnd hwnd, std::uint32_t msg, std::uint32_t id, std::uint32_t time);
// Returns nonzero on success.
std::uint32_t SetTimer(Hwnd hwnd, std::uint32_t id, std::uint32_t elapseMs, TimerProc proc);
int KillTimer(Hwnd hwnd, std::uint32_t id);

// ---- main window and message loop
using WndProc = std::int32_t (*)(Hwnd hwnd, std::uint32_t msg, std::uint32_t wParam, std::int32_t lParam);
struct Msg {
    Hwnd hwnd;
    std::uint32_t message;
    std::uint32_t wParam;
    std::int32_t lParam;
};
struct WindowClass {        // the fields of WNDCLASSEXA the program sets
    std::uint32_t style;
    WndProc proc;
    Hinstance instance;
    std::uint32_t iconId;   // icon resource id for hIcon and hIconSm
    std::uint32_t background; // COLOR_* + 1
    const char* className;
};
Hinstance GetModuleHandleA(const char* name);
int LoadStringA(Hinstance instance, std::uint32_t id, char* buffer, int maxCount);
int RegisterClassExA(const WindowClass& wc);  // returns nonzero on success
Hwnd CreateWindowExA(std::uint32_t exStyle, const char* className, const char* title,
                     std::uint32_t style, int x, int y, int width, int height, Hwnd parent,
                     Hmenu menu, Hinstance instance);
int ShowWindow(Hwnd hwnd, int cmd);
int UpdateWindow(Hwnd hwnd);
int DestroyWindow(Hwnd hwnd);
std::int32_t DefWindowProcA(Hwnd hwnd, std::uint32_t msg, std::uint32_t wParam, std::int32_t lParam);
void PostQuitMessage(int exitCode);
// GetMessageA for all windows of the thread: >0 message, 0 WM_QUIT, -1 error.
int GetMessageA(Msg* msg);
// Accelerator table handle as an integer; 0 when it could not be loaded.
std::uint32_t LoadAcceleratorsA(Hinstance instance, std::uint32_t id);
int TranslateAcceleratorA(Hwnd hwnd, std::uint32_t accel, Msg* msg);
int TranslateMessage(const Msg* msg);
std::int32_t DispatchMessageA(const Msg* msg);

// ---- the card's driver (IKsControl::KsProperty)
// The requests carry 32-bit addresses of the caller's buffers. BufferAddress
// gives the value to write there: the pointer on 32-bit Windows; a token the
// simulated driver resolves on the 64-bit host.
std::uint32_t BufferAddress(void* buffer);
HResult KsProperty(ComPtr ksControl, void* property, std::uint32_t propertyLength, void* data,
                   std::uint32_t dataLength, std::uint32_t* bytesReturned);

}  // namespace os

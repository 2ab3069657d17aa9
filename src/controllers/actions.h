// The action vocabulary of the key maps, the KeyRow table type, the one
// function that carries out a row, and the lookup over a const table.
#pragma once
#include <cstddef>
#include <cstdint>

#include "controllers/app_controller.h"
#include "os/os.h"

// Virtual keys the key maps send, in code order.
constexpr std::uint8_t VK_BACK = 0x08;
constexpr std::uint8_t VK_TAB = 0x09;
constexpr std::uint8_t VK_RETURN = 0x0D;
constexpr std::uint8_t VK_SHIFT = 0x10;
constexpr std::uint8_t VK_CONTROL = 0x11;
constexpr std::uint8_t VK_MENU = 0x12;
constexpr std::uint8_t VK_ESCAPE = 0x1B;
constexpr std::uint8_t VK_HOME = 0x24;
constexpr std::uint8_t VK_LEFT = 0x25;
constexpr std::uint8_t VK_UP = 0x26;
constexpr std::uint8_t VK_RIGHT = 0x27;
constexpr std::uint8_t VK_DOWN = 0x28;
constexpr std::uint8_t VK_LWIN = 0x5B;
constexpr std::uint8_t VK_NUMPAD0 = 0x60;
constexpr std::uint8_t VK_ADD = 0x6B;
constexpr std::uint8_t VK_SUBTRACT = 0x6D;
constexpr std::uint8_t VK_F1 = 0x70;
constexpr std::uint8_t VK_F2 = 0x71;
constexpr std::uint8_t VK_F4 = 0x73;
constexpr std::uint8_t VK_F5 = 0x74;
constexpr std::uint8_t VK_F6 = 0x75;
constexpr std::uint8_t VK_F8 = 0x77;
constexpr std::uint8_t VK_F9 = 0x78;
constexpr std::uint8_t VK_F10 = 0x79;
constexpr std::uint8_t VK_F11 = 0x7A;
constexpr std::uint8_t VK_F12 = 0x7B;

// Posted key-downs: repeat count 1, scan code 0x50, extended key.
constexpr std::int32_t kPostedKeyDownLParam = 0x01500001;

enum class ActionKind : std::uint8_t {
    None,
    Tap,           // vk[0]
    Chord,         // vk[0..nKeys-2] modifiers in order, vk[nKeys-1] the key
    NumpadDigit,   // tap VK_NUMPAD0 + digit
    PostKeyDown,   // vk[0]
    PostDigit,     // post key-down VK_NUMPAD0 + digit
    PostMessage,   // nMessage, wParam, lParam
    BringForward,  // the preamble only
    Command,       // nMessage with wParam as command, lParam 0, by `rule`
    CommandDigit,  // command 10000 + digit, by `rule`
};

// How a command of the card family's applications reaches them: the main
// window (unless a form shows), always the main window, the main window
// unless the picture viewer is the form, the form else the main window, the
// main window without form search, or the main window raised first.
enum class Delivery : std::uint8_t {
    None, Main, Always, NotViewer, Form, FormWithMessage, Plain, Raised
};

// The byte-sized fields first: a row takes 32 bytes, not 40, and the
// tables are most of the exe's read-only data.
struct Action {
    ActionKind kind;
    std::uint8_t nKeys;
    std::uint8_t vk[4];
    std::int8_t nDigit;       // digit of the row's first code (0..9); later codes count up
    Delivery rule;            // command kinds only
    std::uint32_t nMessage;
    std::uint32_t wParam;
    std::int32_t lParam;
    std::uint32_t nWaitMs;    // then wait

    // "then wait N ms"
    constexpr Action ThenWait(std::uint32_t ms) const {
        Action a = *this;
        a.nWaitMs = ms;
        return a;
    }
};

constexpr Action Tap(std::uint8_t vk) {
    return Action{ActionKind::Tap, 1, {vk, 0, 0, 0}, 0, Delivery::None, 0, 0, 0, 0};
}
constexpr Action Chord(std::uint8_t m1, std::uint8_t key) {
    return Action{ActionKind::Chord, 2, {m1, key, 0, 0}, 0, Delivery::None, 0, 0, 0, 0};
}
constexpr Action Chord(std::uint8_t m1, std::uint8_t m2, std::uint8_t key) {
    return Action{ActionKind::Chord, 3, {m1, m2, key, 0}, 0, Delivery::None, 0, 0, 0, 0};
}
constexpr Action Chord(std::uint8_t m1, std::uint8_t m2, std::uint8_t m3, std::uint8_t key) {
    return Action{ActionKind::Chord, 4, {m1, m2, m3, key}, 0, Delivery::None, 0, 0, 0, 0};
}
constexpr Action NumpadDigit(std::int32_t firstDigit) {
    return Action{ActionKind::NumpadDigit, 0, {0, 0, 0, 0}, static_cast<std::int8_t>(firstDigit),
                  Delivery::None, 0, 0, 0, 0};
}
constexpr Action PostKeyDown(std::uint8_t vk) {
    return Action{ActionKind::PostKeyDown, 1, {vk, 0, 0, 0}, 0, Delivery::None, 0, 0, 0, 0};
}
constexpr Action PostDigit(std::int32_t firstDigit) {
    return Action{ActionKind::PostDigit, 0, {0, 0, 0, 0}, static_cast<std::int8_t>(firstDigit),
                  Delivery::None, 0, 0, 0, 0};
}
constexpr Action Post(std::uint32_t message, std::uint32_t wParam, std::int32_t lParam) {
    return Action{ActionKind::PostMessage, 0, {0, 0, 0, 0}, 0, Delivery::None, message, wParam,
                  lParam, 0};
}
constexpr Action BringForward() {
    return Action{ActionKind::BringForward, 0, {0, 0, 0, 0}, 0, Delivery::None, 0, 0, 0, 0};
}

constexpr Action Command(std::uint32_t message, std::uint32_t command, Delivery rule) {
    return Action{ActionKind::Command, 0, {0, 0, 0, 0}, 0, rule, message, command, 0, 0};
}
constexpr Action CommandDigit(std::uint32_t message, std::int32_t firstDigit, Delivery rule) {
    return Action{ActionKind::CommandDigit, 0, {0, 0, 0, 0}, static_cast<std::int8_t>(firstDigit),
                  rule, message, 0, 0, 0};
}
// A row that searches no window and sends nothing (it may still wait).
constexpr Action NoAction() {
    return Action{ActionKind::None, 0, {0, 0, 0, 0}, 0, Delivery::None, 0, 0, 0, 0};
}

// One row of a key map: scan codes first..last share one action.
struct KeyRow {
    std::uint32_t nFirst;
    std::uint32_t nLast;
    Action action;
};

// The row holding `code`, or nullptr. Rows are in scan-code order.
const KeyRow* LookupKey(const KeyRow* table, std::size_t count, std::uint32_t code);
template <std::size_t N>
const KeyRow* LookupKey(const KeyRow (&table)[N], std::uint32_t code) {
    return LookupKey(table, N, code);
}

// Sends the action proper to `target` (no preamble); `code` picks the
// digit within a digit row. Then waits if the row says so.
void PerformAction(os::Hwnd target, const KeyRow& row, std::uint32_t code);
// The row's wait, if it has one.
void WaitAfter(const KeyRow& row);
// The command a Command or CommandDigit row sends for `code`.
std::uint32_t CommandOf(const KeyRow& row, std::uint32_t code);
// The preamble on the controller's window, then the action.
void RunKeyRow(AppController& app, const KeyRow& row, std::uint32_t code);
// Looks the code up and runs its row; unlisted codes do nothing.
bool RunKeyMap(AppController& app, const KeyRow* table, std::size_t count, std::uint32_t code);
template <std::size_t N>
bool RunKeyMap(AppController& app, const KeyRow (&table)[N], std::uint32_t code) {
    return RunKeyMap(app, table, N, code);
}

// Key presses as every action sends them: extended key down, extended key up
// (Shift, Ctrl and Alt as the left keys, without the extended flag).
void KeyDown(std::uint8_t vk);
void KeyUp(std::uint8_t vk);
void TapKey(std::uint8_t vk);
// Modifiers in order, the key down and up, modifiers released in reverse.
void SendChord(const std::uint8_t* keys, std::size_t count);

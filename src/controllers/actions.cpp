#include "controllers/actions.h"

#include "controllers/keymap_load.h"

namespace {

// The digit of `code` within its row; later codes of a row count up.
std::int32_t DigitOf(const KeyRow& row, std::uint32_t code) {
    std::int64_t digit = row.action.nDigit + (static_cast<std::int64_t>(code) - row.nFirst);
    if (digit < 0 || digit > 9) digit = 0;  // a malformed row never leaves 0..9
    return static_cast<std::int32_t>(digit);
}

std::uint8_t DigitKey(const KeyRow& row, std::uint32_t code) {
    return static_cast<std::uint8_t>(VK_NUMPAD0 + DigitOf(row, code));
}

bool IsKeystroke(ActionKind kind) {
    return kind == ActionKind::Tap || kind == ActionKind::Chord || kind == ActionKind::NumpadDigit;
}

void PostKey(os::Hwnd target, std::uint8_t vk) {
    os::PostMessageA(target, os::WM_KEYDOWN, vk, kPostedKeyDownLParam);
}

// Shift, Ctrl and Alt go out as the left keys: on layouts with AltGr a right
// Alt becomes AltGr and brings Ctrl along, and Alt+F4 would close nothing.
std::uint32_t KeyFlags(std::uint8_t vk) {
    const bool modifier = vk == VK_SHIFT || vk == VK_CONTROL || vk == VK_MENU;
    return modifier ? 0 : os::KEYEVENTF_EXTENDEDKEY;
}

}  // namespace

std::uint32_t CommandOf(const KeyRow& row, std::uint32_t code) {
    if (row.action.kind != ActionKind::CommandDigit) return row.action.wParam;
    return static_cast<std::uint32_t>(10000 + DigitOf(row, code));
}

void KeyDown(std::uint8_t vk) { os::keybd_event(vk, 0, KeyFlags(vk), 0); }

void KeyUp(std::uint8_t vk) { os::keybd_event(vk, 0, KeyFlags(vk) | os::KEYEVENTF_KEYUP, 0); }

void TapKey(std::uint8_t vk) {
    KeyDown(vk);
    KeyUp(vk);
}

void SendChord(const std::uint8_t* keys, std::size_t count) {
    if (count == 0) return;
    for (std::size_t i = 0; i + 1 < count; ++i) KeyDown(keys[i]);
    TapKey(keys[count - 1]);
    for (std::size_t i = count - 1; i > 0; --i) KeyUp(keys[i - 1]);
}

const KeyRow* LookupKey(const KeyRow* table, std::size_t count, std::uint32_t code) {
    for (std::size_t i = 0; i < count; ++i)
        if (code >= table[i].nFirst && code <= table[i].nLast) return &table[i];
    return nullptr;
}

void PerformAction(os::Hwnd target, const KeyRow& row, std::uint32_t code) {
    const Action& a = row.action;
    switch (a.kind) {
    case ActionKind::Tap: TapKey(a.vk[0]); break;
    case ActionKind::Chord: SendChord(a.vk, a.nKeys <= 4 ? a.nKeys : 4); break;
    case ActionKind::NumpadDigit: TapKey(DigitKey(row, code)); break;
    case ActionKind::PostKeyDown: PostKey(target, a.vk[0]); break;
    case ActionKind::PostDigit: PostKey(target, DigitKey(row, code)); break;
    case ActionKind::PostMessage: os::PostMessageA(target, a.nMessage, a.wParam, a.lParam); break;
    case ActionKind::Command:
    case ActionKind::CommandDigit:
        os::PostMessageA(target, a.nMessage, CommandOf(row, code), 0);
        break;
    case ActionKind::BringForward:
    case ActionKind::None: break;
    }
    WaitAfter(row);
}

void WaitAfter(const KeyRow& row) {
    if (row.action.nWaitMs != 0) os::Sleep(row.action.nWaitMs);
}

void RunKeyRow(AppController& app, const KeyRow& row, std::uint32_t code) {
    // A row's wait follows it whether or not the window was there; a row
    // that sends nothing looks for no window.
    if (row.action.kind == ActionKind::None || !RunPreamble(app)) {
        WaitAfter(row);
        return;
    }
    // Synthetic keys go to whichever window has the focus: with the
    // foreground refused they would land in some other program.
    if (IsKeystroke(row.action.kind) && !ForegroundIsApp(app)) {
        os::OutputDebugStringA("<RCMessageBox>  keys not sent: the TV application is not in front");
        WaitAfter(row);
        return;
    }
    PerformAction(app.hWnd, row, code);
}

bool RunKeyMap(AppController& app, const KeyRow* table, std::size_t count, std::uint32_t code) {
    const KeyRow* row = ChooseRow(app, LookupKey(table, count, code), code);
    if (row == nullptr) return false;
    RunKeyRow(app, *row, code);
    return true;
}

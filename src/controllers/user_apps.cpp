#include "controllers/user_apps.h"

#include <cstring>

#include "controllers/actions.h"
#include "controllers/app_controller.h"
#include "controllers/keymap_load.h"
#include "core/interval_timer.h"
#include "core/records.h"
#include "core/tick_box.h"

UserAppRecord UserApps[kKeymapMaxUserApps];

namespace {

constexpr std::uint32_t kLaunchedAbove = 30;  // ShellExecuteA results above this start

bool IsKeystroke(ActionKind kind) {
    return kind == ActionKind::Tap || kind == ActionKind::Chord || kind == ActionKind::NumpadDigit;
}

bool TitleStartsWith(os::Hwnd hwnd, const char* prefix, std::size_t len) {
    char text[128];
    int got = os::GetWindowTextA(hwnd, text, sizeof text);
    if (got < 0 || got >= static_cast<int>(sizeof text)) got = 0;
    text[got] = '\0';
    return static_cast<std::size_t>(got) >= len && std::memcmp(text, prefix, len) == 0;
}

// Keystrokes become posted key-downs: the window need not be in front. A
// chord posts each key in turn; the modifiers are not held for it.
void PostKeystrokes(os::Hwnd hwnd, const KeyRow& row, std::uint32_t code) {
    const Action& a = row.action;
    if (a.kind == ActionKind::Chord) {
        for (std::uint8_t i = 0; i < a.nKeys && i < 4; ++i)
            os::PostMessageA(hwnd, os::WM_KEYDOWN, a.vk[i], kPostedKeyDownLParam);
        WaitAfter(row);
        return;
    }
    KeyRow posted = row;
    posted.action.kind =
        a.kind == ActionKind::Tap ? ActionKind::PostKeyDown : ActionKind::PostDigit;
    PerformAction(hwnd, posted, code);
}

}  // namespace

void ResetUserApps() { std::memset(UserApps, 0, sizeof UserApps); }

std::size_t UserAppCount() {
    const KeymapFile* file = ActiveKeymap();
    if (file == nullptr) return 0;
    return file->nApps < kKeymapMaxUserApps ? file->nApps : kKeymapMaxUserApps;
}

const UserApp* UserAppAt(std::size_t index) {
    return index < UserAppCount() ? &ActiveKeymap()->apps[index] : nullptr;
}

int UserAppOfCode(std::int32_t code) {
    const std::int64_t index = static_cast<std::int64_t>(code) - kAppUserFirst;
    return index >= 0 && index < static_cast<std::int64_t>(UserAppCount()) ? static_cast<int>(index)
                                                                          : -1;
}

int UserAppOfMenuCommand(std::uint32_t command) {
    if (command < kUserMenuCommandFirst) return -1;
    const std::uint32_t index = command - kUserMenuCommandFirst;
    return index < UserAppCount() ? static_cast<int>(index) : -1;
}

os::Hwnd FindUserAppWindow(std::size_t index) {
    const UserApp* app = UserAppAt(index);
    if (app == nullptr) return 0;
    const char* cls = app->szClass[0] != '\0' ? app->szClass : nullptr;
    if (!app->bTitlePrefix) {
        const char* title = app->szTitle[0] != '\0' ? app->szTitle : nullptr;
        if (cls == nullptr && title == nullptr) return 0;  // would match any window
        return os::FindWindowExA(os::GetDesktopWindow(), 0, cls, title);
    }
    const std::size_t len = strnlen(app->szTitle, sizeof app->szTitle);
    if (len == 0 && cls == nullptr) return 0;  // would match any window
    const os::Hwnd desktop = os::GetDesktopWindow();
    os::Hwnd hwnd = os::FindWindowExA(desktop, 0, cls, nullptr);
    for (int i = 0; hwnd != 0 && i < kTitleWalkLimit; ++i) {
        if (TitleStartsWith(hwnd, app->szTitle, len)) return hwnd;
        hwnd = os::FindWindowExA(desktop, hwnd, cls, nullptr);
    }
    return 0;
}

AppRepeat UserAppRepeat(std::size_t index) {
    const UserApp* app = UserAppAt(index);
    return app != nullptr ? app->repeat : AppRepeat::Every;
}

bool RunUserAppKey(std::size_t index, std::uint32_t code) {
    const UserApp* app = UserAppAt(index);
    const MapRow* found = app != nullptr ? UserAppRow(index, code) : nullptr;
    if (found == nullptr || found->bRemove) return false;
    if (found->bOnce && KeyRepeatState.bRepeat == 1) return false;
    const KeyRow& row = found->row;
    UserAppRecord& rec = UserApps[index];
    rec.hWnd = row.action.kind == ActionKind::None ? 0 : FindUserAppWindow(index);
    if (rec.hWnd == 0) {
        WaitAfter(row);
        return true;
    }
    const bool keystroke = IsKeystroke(row.action.kind);
    if (app->delivery == AppDelivery::Messages) {
        if (row.action.kind == ActionKind::BringForward) BringForward(rec.hWnd);
        if (keystroke)
            PostKeystrokes(rec.hWnd, row, code);
        else
            PerformAction(rec.hWnd, row, code);
        return true;
    }
    BringForward(rec.hWnd);
    // As for the built-in applications: keys go to whichever window has the
    // focus, so none are sent while another program stays in front.
    if (keystroke && !ForegroundIsWindowOf(rec.hWnd)) {
        os::OutputDebugStringA("<RCMessageBox>  keys not sent: the TV application is not in front");
        WaitAfter(row);
        return true;
    }
    PerformAction(rec.hWnd, row, code);
    return true;
}

void CloseUserApp(std::size_t index) {
    if (UserAppAt(index) == nullptr) return;
    const os::Hwnd hwnd = FindUserAppWindow(index);
    // Posted to the window itself: Alt+F4 would reach whatever has the focus.
    if (hwnd != 0) os::PostMessageA(hwnd, os::WM_CLOSE, 0, 0);
    UserApps[index].bActive = 0;
}

void CloseUserAppsExcept(int except) {
    for (std::size_t i = 0; i < UserAppCount(); ++i)
        if (static_cast<int>(i) != except) CloseUserApp(i);
}

void LaunchOrCloseUserApp(std::size_t index) {
    const UserApp* app = UserAppAt(index);
    if (app == nullptr) return;
    if (FindUserAppWindow(index) != 0) {
        CloseUserApp(index);
        return;
    }
    UserAppRecord& rec = UserApps[index];
    const std::uint32_t result =
        app->szExe[0] != '\0'
            ? os::ShellExecuteA(0, "open", app->szExe, app->szArgs[0] != '\0' ? app->szArgs : nullptr,
                                nullptr, os::SW_SHOW)
            : 0;
    if (result <= kLaunchedAbove) {
        TickMessageBox("Can't launch TV application what you want.", "Remote Control", os::MB_OK);
        return;
    }
    rec.bActive = 1;
    rec.bWatch = 1;
    StartWatchTimer();
}

void ActivateOrLaunchUserApp(std::size_t index) {
    const os::Hwnd hwnd = FindUserAppWindow(index);
    if (hwnd == 0) {
        LaunchOrCloseUserApp(index);
        return;
    }
    UserApps[index].bActive = 1;
    BringForward(hwnd);
}

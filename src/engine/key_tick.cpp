#include "engine/key_tick.h"

#include "controllers/user_apps.h"
#include "core/app_record.h"
#include "core/records.h"
#include "core/tick_box.h"
#include "device/ir_reader.h"
#include "device/tuner_connection.h"
#include "engine/press_latch.h"
#include "engine/route.h"
#include "engine/shutdown.h"
#include "engine/trace.h"

namespace {

constexpr std::uint8_t VK_RETURN = 0x0D;
constexpr std::uint8_t VK_ESCAPE = 0x1B;

// Held keys are thinned while one of these runs; Orbisk Center is not one.
AppController* const kThinningApps[] = {&Orbisk,     &MediaCenter, &TotalMedia35, &PowerCinema,
                                        &TVEnhance, &Savrin,      &ArcSoftTV5};

// The repeat setting of the user application the router would hand the
// key to: the first active one, unless a built-in application is active,
// which goes first. Every when there is none.
AppRepeat ActiveUserAppRepeat() {
    if (OrbiskCenter.bActive == 1) return AppRepeat::Every;
    for (const AppController* app : kThinningApps)
        if (app->bActive == 1) return AppRepeat::Every;
    for (std::size_t i = 0; i < UserAppCount(); ++i)
        if (UserApps[i].bActive == 1) return UserAppRepeat(i);
    return AppRepeat::Every;
}

bool AnyThinningAppActive() {
    for (const AppController* app : kThinningApps)
        if (app->bActive == 1) return true;
    return ActiveUserAppRepeat() == AppRepeat::Tenth;
}

void SendToShutdownDialog(std::int32_t code) {
    if (code == kSuppressedRepeat) return;
    std::uint32_t key = (code == 12 || code == 22 || code == 30) ? VK_RETURN : VK_ESCAPE;
    os::SetForegroundWindow(hShutdownDlg);
    os::SetActiveWindow(hShutdownDlg);
    os::SendMessageA(hShutdownDlg, os::WM_KEYDOWN, key, 0);
}

}  // namespace

void OnKeyTimer(os::Hwnd owner) {
    if (!IsIRKeyPending()) return;

    std::uint8_t raw;
    if (g_Board.nIRReaderType == 1)
        raw = ReadIRCodeFromPins();
    else if (g_Board.nIRReaderType == 2)
        raw = ReadIRCodeFromI2C();
    else
        return;  // no reader for this board: act on no code
    if (raw == 255) return;

    std::uint32_t now = os::GetTickCount();
    KeyRepeatRecord& state = KeyRepeatState;
    if (raw == state.nLastCode && now - state.dwLastTime < kRepeatWindowMs) {
        state.bRepeat = 1;
        // A key held for years must not overflow the count.
        state.nRepeatCount = static_cast<std::int32_t>(
            (static_cast<std::uint32_t>(state.nRepeatCount) + 1) & 0x7FFFFFFFu);
    } else {
        state.bRepeat = 0;
        state.nRepeatCount = 0;
        PointerAccelCount = 0;
    }

    std::int32_t code = raw;
    if (nIRKEYType == 3 && code == 12) code = kRemappedCode12;
    state.dwLastTime = now;
    state.nLastCode = code;
    TraceValue("scan Code = ", code);

    if (state.nRepeatCount != 0 && state.nRepeatCount % 10 != 0 && state.bRepeat == 1 &&
        AnyThinningAppActive())
        code = kSuppressedRepeat;
    if (state.bRepeat == 1 && ActiveUserAppRepeat() == AppRepeat::None) code = kSuppressedRepeat;
    TraceValue("scan Code = ", code);

    // Asked before thinning is looked at: thinned events carry a press on.
    const bool heldPower = ContinuesPress(PowerKeyPress);
    if (ContinuesDialogPress()) return;
    if (ShutdownDialogOpen) {
        // The answer may power off and fail with a box: the tick's own.
        EnterRouteTick();
        SendToShutdownDialog(code);
        LeaveRouteTick();
        return;
    }
    RouteScanCode(code, owner, heldPower);
}

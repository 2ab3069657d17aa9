// The form search of the card family's applications (Orbisk Center's and
// Savrin's variant) and the delivery of their command messages by rule.
#pragma once
#include <cstdint>

#include "controllers/actions.h"
#include "controllers/app_controller.h"
#include "controllers/keymap_load.h"
#include "os/os.h"

// Which application's forms are searched: Savrin's player windows have the
// class "Dravune" where Orbisk Center's have "TarvelPlayer_Class"; Orbisk
// has no forms.
enum class FormFamily : std::uint8_t { None, OrbiskCenter, Savrin };

struct VisibleForm {
    os::Hwnd hwnd;     // 0 when no form is visible
    int nStep;         // 1..7, the step that found it; 0 for none
};
constexpr int kPictureViewerStep = 5;

// The first window of the seven steps that exists and is visible; later
// steps are not looked up.
VisibleForm FindVisibleForm(FormFamily family);

// Carries out one command row of a card-family key map: the main window
// into hWnd, the form into dwExtra (rules that use it), the post by the
// row's rule, then the row's wait, whether or not anything was posted.
void RunCommandRow(AppController& app, FormFamily family, const KeyRow& row, std::uint32_t code);

// The family's Close: the main window is searched (hWnd left alone); if it
// is there, it is sent the close command, then the wait, then bActive = 0.
// It is not brought forward.
void CloseByCommand(AppController& app, std::uint32_t message, std::uint32_t command,
                    std::uint32_t waitMs);

// Looks the code up (the key-map file's row first) and runs its row; codes
// not listed search nothing. A file's keystroke row runs as other maps run it.
template <std::size_t N>
void RunCommandMap(AppController& app, FormFamily family, const KeyRow (&table)[N],
                   std::uint32_t code) {
    const KeyRow* row = ChooseRow(app, LookupKey(table, code), code);
    if (row == nullptr) return;
    if (row->action.kind == ActionKind::Command || row->action.kind == ActionKind::CommandDigit)
        RunCommandRow(app, family, *row, code);
    else
        RunKeyRow(app, *row, code);
}

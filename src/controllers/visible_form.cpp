// FindVisibleForm and the delivery rules of the command-driven applications
// of the card family: Orbisk Center, Savrin and Orbisk.
#include "controllers/visible_form.h"

#include "core/tick_box.h"

namespace {

struct FormStep {
    const char* szClass;
    const char* szTitle;  // nullptr: any
};

// In search order; the first visible one is the form the key goes to.
const FormStep kOrbiskCenterForms[] = {
    {"TPopupForm", nullptr},
    {"TSourceForm", nullptr},
    {"TFormCalander", nullptr},
    {"TDialogForm", nullptr},
    {"TarvelPlayer_Class", "PictureView"},
    {"TarvelPlayer_Class", "Playback"},
    {"TWizardForm", "WizardForm"},
};
const FormStep kSavrinForms[] = {
    {"TPopupForm", nullptr},
    {"TSourceForm", nullptr},
    {"TFormCalander", nullptr},
    {"TDialogForm", nullptr},
    {"Dravune", "PictureView"},
    {"Dravune", "Playback"},
    {"TWizardForm", "WizardForm"},
};
static_assert(sizeof kOrbiskCenterForms == sizeof kSavrinForms, "same seven steps");

const char kNoMainWindowText[] = "can't find the TarvelMainPanel_Class";

void Post(os::Hwnd target, const KeyRow& row, std::uint32_t code) {
    os::PostMessageA(target, row.action.nMessage, CommandOf(row, code), 0);
}

bool UsesFormSearch(Delivery rule) {
    return rule == Delivery::Main || rule == Delivery::Always || rule == Delivery::NotViewer ||
           rule == Delivery::Form || rule == Delivery::FormWithMessage;
}

// The form rule: the visible form is brought forward and gets the command;
// without one the main window gets it, left where it is.
void DeliverToForm(os::Hwnd main, const VisibleForm& form, const KeyRow& row,
                   std::uint32_t code) {
    if (form.hwnd != 0) {
        os::SetForegroundWindow(form.hwnd);
        os::SetActiveWindow(form.hwnd);
        Post(form.hwnd, row, code);
    } else {
        Post(main, row, code);
    }
}

void Deliver(AppController& app, const VisibleForm& form, const KeyRow& row,
             std::uint32_t code) {
    const os::Hwnd main = app.hWnd;
    switch (row.action.rule) {
    case Delivery::Main:
        if (main != 0 && form.hwnd == 0) Post(main, row, code);
        break;
    case Delivery::Always:
    case Delivery::Plain:
        if (main != 0) Post(main, row, code);
        break;
    case Delivery::NotViewer:
        // Only the picture viewer itself holds the key back: with no form,
        // or with no viewer at all, the main window gets it.
        if (main != 0 && !(form.hwnd != 0 && form.nStep == kPictureViewerStep))
            Post(main, row, code);
        break;
    case Delivery::FormWithMessage:
        if (main == 0) {
            TickMessageBox(kNoMainWindowText, nullptr, os::MB_OK);
            break;
        }
        DeliverToForm(main, form, row, code);
        break;
    case Delivery::Form:
        if (main != 0) DeliverToForm(main, form, row, code);
        break;
    case Delivery::Raised:
        // Raised before the test, whatever the search found.
        os::BringWindowToTop(main);
        os::SetForegroundWindow(main);
        os::SetActiveWindow(main);
        if (main != 0) Post(main, row, code);
        break;
    case Delivery::None:
        break;
    }
}

}  // namespace

VisibleForm FindVisibleForm(FormFamily family) {
    if (family == FormFamily::None) return VisibleForm{0, 0};
    const FormStep* steps = family == FormFamily::Savrin ? kSavrinForms : kOrbiskCenterForms;
    const int count = static_cast<int>(sizeof kOrbiskCenterForms / sizeof kOrbiskCenterForms[0]);
    const os::Hwnd desktop = os::GetDesktopWindow();
    for (int i = 0; i < count; ++i) {
        os::Hwnd hwnd = os::FindWindowExA(desktop, 0, steps[i].szClass, steps[i].szTitle);
        if (hwnd != 0 && os::IsWindowVisible(hwnd) != 0) return VisibleForm{hwnd, i + 1};
    }
    return VisibleForm{0, 0};
}

void RunCommandRow(AppController& app, FormFamily family, const KeyRow& row, std::uint32_t code) {
    const bool isCommand = row.action.kind == ActionKind::Command ||
                           row.action.kind == ActionKind::CommandDigit;
    if (isCommand) {
        app.hWnd = FindMainWindow(app);
        VisibleForm form{0, 0};
        if (UsesFormSearch(row.action.rule)) {
            form = FindVisibleForm(family);
            app.dwExtra = form.hwnd;
        }
        Deliver(app, form, row, code);
    }
    WaitAfter(row);
}

void CloseByCommand(AppController& app, std::uint32_t message, std::uint32_t command,
                    std::uint32_t waitMs) {
    const os::Hwnd hwnd = FindMainWindow(app);
    if (hwnd == 0) return;
    os::PostMessageA(hwnd, message, command, 0);
    if (waitMs != 0) os::Sleep(waitMs);
    app.bActive = 0;
}

// The About dialog: OK and the close box end it with their own ids; other
// commands leave it open.
#include <gtest/gtest.h>

#include <string>

#include "app/tray_menu.h"
#include "app/program.h"
#include "controllers/controller_table.h"
#include "os/dialogs.h"
#include "os/sim/sim.h"
#include "os/sim/sim_dialogs.h"

namespace {

TEST(AboutDialog, EndsOnlyWithOkOrTheCloseBox) {
    const struct {
        int press;
        const char* closed;
    } rows[] = {{os::IDOK, "dialog 21 closed -> 1"}, {os::IDCANCEL, "dialog 21 closed -> 2"}};
    for (const auto& row : rows) {
        sim::Reset();
        InitProcessRecords();
        const os::Hwnd main = sim::AddWindow({"Remote Control", "Remote Control", false, ""});
        sim::PressDialogButton(1001, 100);  // not a button of this dialog: nothing
        sim::PressDialogButton(row.press, 100);
        sim::ClearEffects();
        ShowAboutDialog(main);
        const auto texts = sim::EffectTexts();
        ASSERT_GE(texts.size(), 4u);
        EXPECT_NE(std::string::npos, texts[0].find("\"Remote Control - About\""));
        // Still open after the unknown command: the next press is its own.
        EXPECT_EQ(0u, texts[texts.size() - 3].find("user press " + std::to_string(row.press)));
        EXPECT_EQ(row.closed, texts.back());
        EXPECT_EQ(0, sim::OpenDialogCount());
    }
}

}  // namespace

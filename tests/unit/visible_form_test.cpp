// The form search of both families and what each delivery rule does with
// the form it found.
#include "controllers/key_maps.h"
#include "controllers/visible_form.h"
#include "controller_world.h"

namespace {

using namespace ctlworld;

class VisibleFormTest : public World {};

TEST_F(VisibleFormTest, FirstVisibleStepWinsInSearchOrder) {
    struct Win {
        const char* cls;
        const char* title;
        bool visible;
    };
    const struct {
        std::vector<Win> windows;
        FormFamily family;
        int step;  // of the window found, 0 for none
    } rows[] = {
        {{}, FormFamily::OrbiskCenter, 0},
        {{{"TWizardForm", "WizardForm", true}, {"TSourceForm", "x", true}}, FormFamily::OrbiskCenter, 2},
        {{{"TPopupForm", "", false}, {"TDialogForm", "d", true}}, FormFamily::OrbiskCenter, 4},
        {{{"TWizardForm", "Other", true}}, FormFamily::OrbiskCenter, 0},
        {{{"TarvelPlayer_Class", "Playback", true}}, FormFamily::OrbiskCenter, 6},
        {{{"TarvelPlayer_Class", "PictureView", true}}, FormFamily::OrbiskCenter, 5},
        {{{"TarvelPlayer_Class", "PictureView", true}}, FormFamily::Savrin, 0},
        {{{"Dravune", "PictureView", true}}, FormFamily::Savrin, 5},
        {{{"Dravune", "Playback", true}}, FormFamily::Savrin, 6},
        {{{"Dravune", "Playback", true}}, FormFamily::OrbiskCenter, 0},
    };
    int n = 0;
    for (const auto& row : rows) {
        sim::Reset();
        os::Hwnd last = 0;
        for (const Win& w : row.windows) last = Add(w.cls, w.title, w.visible);
        const VisibleForm found = FindVisibleForm(row.family);
        EXPECT_EQ(row.step, found.nStep) << "row " << n;
        if (row.step == 0) {
            EXPECT_EQ(0u, found.hwnd) << "row " << n;
        } else if (row.windows.size() == 1) {
            EXPECT_EQ(last, found.hwnd) << "row " << n;
        }
        ++n;
    }
}

TEST_F(VisibleFormTest, NotViewerHoldsBackOnlyForThePictureViewerItself) {
    const os::Hwnd main = Add("TarvelMainPanel_Class", "Orbisk Center");
    const Lines posted{Post(4024, 1002, main)};
    // No form and no viewer window at all: the key is not the viewer's.
    EXPECT_EQ(posted, Effects([] { OrbiskCenterKeyMap(26); }));
    const os::Hwnd viewer = Add("TarvelPlayer_Class", "PictureView", false);
    EXPECT_EQ(posted, Effects([] { OrbiskCenterKeyMap(26); }));  // hidden viewer
    sim::SetWindowVisible(viewer, true);
    EXPECT_EQ(Lines{}, Effects([] { OrbiskCenterKeyMap(26); }));
    EXPECT_EQ(Lines{}, Effects([] { OrbiskCenterKeyMap(16); }));
    EXPECT_EQ(viewer, OrbiskCenter.dwExtra);
    Add("TSourceForm", "Source");
    EXPECT_EQ(posted, Effects([] { OrbiskCenterKeyMap(26); }));
}

TEST_F(VisibleFormTest, FormRuleRaisesTheFormOrPostsToAMainWindowLeftInPlace) {
    const os::Hwnd main = Add("TarvelMainPanel_Class", "Orbisk Center");
    const os::Hwnd other = Add("Other", "Other");
    sim::SetForeground(other);
    EXPECT_EQ(Lines{Post(4024, 35001, main)}, Effects([] { OrbiskCenterKeyMap(66); }));
    EXPECT_EQ(other, os::GetForegroundWindow());
    EXPECT_EQ(0u, OrbiskCenter.dwExtra);
    const os::Hwnd popup = Add("TPopupForm", "Popup");
    Lines want = Forward(popup);
    want.push_back(Post(4024, 35001, popup));
    EXPECT_EQ(want, Effects([] { OrbiskCenterKeyMap(66); }));
    EXPECT_EQ(popup, OrbiskCenter.dwExtra);
    EXPECT_EQ(main, OrbiskCenter.hWnd);
}

TEST_F(VisibleFormTest, SavrinPlainRuleLeavesTheLastFormInDwExtra) {
    const os::Hwnd main = Add("Any", "Dravune");
    const os::Hwnd popup = Add("TPopupForm", "Popup");
    EXPECT_EQ(Lines{}, Effects([] { SavrinKeyMap44(16); }));
    EXPECT_EQ(popup, Savrin.dwExtra);
    sim::RemoveWindow(popup);
    EXPECT_EQ(Lines{Post(3000, 5, main)}, Effects([] { SavrinKeyMap44(14); }));
    EXPECT_EQ(popup, Savrin.dwExtra);
    EXPECT_EQ(Lines{Post(3000, 4001, main)}, Effects([] { SavrinKeyMap44(16); }));
    EXPECT_EQ(0u, Savrin.dwExtra);
}

}  // namespace

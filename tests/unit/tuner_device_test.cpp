// Capture-filter discovery against the simulated DirectShow categories:
// which device is used, the fallbacks and messages, the chip probe, and
// that every reference taken is given back.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "device/tuner_connection.h"
#include "device/tuner_device.h"
#include "os/devices.h"
#include "os/sim/sim.h"
#include "os/sim/sim_devices.h"

namespace {

using sim::FilterCategory;
using sim::FilterDesc;

constexpr os::Guid kCapture = {0x65E8773D, 0x8F56, 0x11D0, {0xA3, 0xB9, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}};

const char* const kCap1 = "Philips Silicon (7171-35) WDM Video Capture";
const char* const kCap3 = "713x BDA Analog Capture";
const char* const kCap5 = "7231 BDA Analog Capture0";
const char* const kMain7160 = "7160 BDA Main Device0";
const char* const kMain7162 = "7162 BDA Main Device0";

const std::string kAddFailed =
    "messagebox \"Couldn't add the MainDeviceFilter to the graph object!\" (null) style=0x00000010";
const std::string kNoInterface = "messagebox \"Couldn't get interface handle!\" (null) style=0x00000010";
const std::string kNoChip = "messagebox \"Could not find any suitable devices\" \"Info\" style=0x00000010";

int Add(FilterCategory category, const std::string& name) {
    FilterDesc desc;
    desc.friendlyName = name;
    return sim::AddFilterDevice(category, desc);
}

// The message boxes shown, without the scripted user's answer.
std::vector<std::string> MessageBoxes() {
    std::vector<std::string> boxes;
    for (const std::string& text : sim::EffectTexts()) {
        if (text.rfind("messagebox \"", 0) != 0) continue;
        std::size_t style = text.find(" style=");
        std::size_t answer = text.find(" -> ", style == std::string::npos ? 0 : style);
        boxes.push_back(text.substr(0, answer));
    }
    return boxes;
}

std::vector<std::uint16_t> ProbedChips() {
    std::vector<std::uint16_t> chips;
    for (const sim::DriverRequest& r : sim::DriverRequests())
        if (r.propertyLength == 40) chips.push_back(static_cast<std::uint16_t>(r.property[28] | r.property[29] << 8));
    return chips;
}

class TunerDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim::Reset();
        g_Tuner = {0, nullptr, nullptr, nullptr, 0x7164, 0, 0};
    }
    void TearDown() override {
        CloseTunerDevice();
        EXPECT_EQ(sim::LiveComObjects(), 0) << "a reference was not released";
        EXPECT_EQ(sim::BadReleases(), 0);
    }
};

TEST_F(TunerDeviceTest, TheLastDeviceOfTheExactNameIsTheOneReturned) {
    Add(FilterCategory::Capture, kCap3);
    Add(FilterCategory::Capture, "713X BDA Analog Capture");   // letter case differs
    Add(FilterCategory::Capture, "713x BDA Analog Capture0");  // longer
    int later = Add(FilterCategory::Capture, kCap3);
    Add(FilterCategory::Capture, "713x BDA Analog Captur");    // shorter
    os::ComPtr filter = FindDeviceFilter(kCapture, kCap3);
    EXPECT_EQ(sim::FilterDeviceId(filter), later);
    EXPECT_EQ(sim::LiveFilters(), 1);  // the earlier match was let go
    os::Release(filter);
    EXPECT_EQ(FindDeviceFilter(kCapture, "713x bda analog capture"), nullptr);
}

TEST_F(TunerDeviceTest, NamesThatAreNoStringOrDoNotFitMatchNothing) {
    FilterDesc number;
    number.friendlyName = kCap3;
    number.nameIsString = false;
    FilterDesc unreadable;
    unreadable.friendlyName = kCap3;
    unreadable.hasName = false;
    sim::AddFilterDevice(FilterCategory::Capture, number);
    sim::AddFilterDevice(FilterCategory::Capture, unreadable);
    Add(FilterCategory::Capture, std::string(kCap3) + std::string(80, ' '));
    EXPECT_EQ(FindDeviceFilter(kCapture, kCap3), nullptr);
    int good = Add(FilterCategory::Capture, kCap3);
    os::ComPtr filter = FindDeviceFilter(kCapture, kCap3);
    EXPECT_EQ(sim::FilterDeviceId(filter), good);
    os::Release(filter);
}

TEST_F(TunerDeviceTest, ADeviceWithoutPropertyBagDoesNotHideTheCard) {
    FilterDesc broken;
    broken.friendlyName = "USB Video Device";
    broken.bagOpens = false;
    // Broken before the card, between two matches, and by an injected fault.
    struct Case {
        std::vector<bool> brokenAt;  // per position: broken device or the card
        bool injected;
    };
    for (const Case& c : {Case{{true, false}, false}, Case{{false, true, false}, false},
                          Case{{false, false}, true}}) {
        sim::Reset();
        int last = -1;
        for (bool isBroken : c.brokenAt)
            last = isBroken ? sim::AddFilterDevice(FilterCategory::Capture, broken)
                            : Add(FilterCategory::Capture, kCap3);
        if (c.injected) sim::FailDeviceCall(sim::DeviceCall::BindToStorage, os::E_FAIL);
        os::ComPtr filter = FindDeviceFilter(kCapture, kCap3);
        EXPECT_EQ(sim::FilterDeviceId(filter), last);
        EXPECT_EQ(sim::LiveFilters(), 1);
        os::Release(filter);
        EXPECT_EQ(sim::LiveComObjects(), 0);
    }
}

TEST_F(TunerDeviceTest, FailuresOfTheWalkReturnNoneAndReleaseEverything) {
    FilterDesc unbindable;
    unbindable.friendlyName = kCap3;
    unbindable.binds = false;
    Add(FilterCategory::Capture, kCap3);
    sim::AddFilterDevice(FilterCategory::Capture, unbindable);
    // A later match that cannot be bound ends the search with none, and the
    // filter bound before it is released.
    EXPECT_EQ(FindDeviceFilter(kCapture, kCap3), nullptr);
    EXPECT_EQ(sim::LiveComObjects(), 0);

    sim::Reset();
    Add(FilterCategory::Capture, kCap3);
    sim::FailDeviceCall(sim::DeviceCall::CreateDeviceEnumerator, os::E_FAIL);
    EXPECT_EQ(FindDeviceFilter(kCapture, kCap3), nullptr);
    sim::FailDeviceCall(sim::DeviceCall::CreateClassEnumerator, os::E_FAIL);
    EXPECT_EQ(FindDeviceFilter(kCapture, kCap3), nullptr);
    sim::FailDeviceCall(sim::DeviceCall::PropertyBagRead, os::E_FAIL);
    EXPECT_EQ(FindDeviceFilter(kCapture, kCap3), nullptr);
    // An empty category answers S_FALSE.
    const os::Guid mainDevice = {0xCC7BFB46, 0xF175, 0x11D1, {0xA3, 0x92, 0x00, 0xE0, 0x29, 0x1F, 0x39, 0x59}};
    EXPECT_EQ(FindDeviceFilter(mainDevice, kCap3), nullptr);
    EXPECT_EQ(sim::LiveComObjects(), 0);
}

TEST_F(TunerDeviceTest, Only7162PresentSetsTheSelectorAndKeepsThe7160GraphName) {
    Add(FilterCategory::MainDevice, "7160 BDA Main Device1");
    int device = Add(FilterCategory::MainDevice, kMain7162);
    sim::DriverBoard board;
    board.chipId = 0x7164;
    sim::SetDriverBoard(board);
    EXPECT_EQ(OpenTunerDevice(), 1);
    EXPECT_EQ(g_Tuner.bMainDevicePath, 1);
    EXPECT_EQ(g_Tuner.nDeviceSelector, 1);
    EXPECT_EQ(sim::FilterDeviceId(g_Tuner.pMainDeviceFilter), device);
    EXPECT_EQ(g_Tuner.pKsControl, sim::DriverMainPath());
    EXPECT_EQ(sim::GraphAdds(), std::vector<std::string>{"7160 BDA Main Device0 #" + std::to_string(device)});
}

TEST_F(TunerDeviceTest, BothMainDevicesPresentThe7160OneIsUsed) {
    Add(FilterCategory::MainDevice, kMain7162);
    int device = Add(FilterCategory::MainDevice, kMain7160);
    EXPECT_EQ(OpenTunerDevice(), 1);
    EXPECT_EQ(g_Tuner.nDeviceSelector, 0);
    EXPECT_EQ(sim::FilterDeviceId(g_Tuner.pMainDeviceFilter), device);
}

TEST_F(TunerDeviceTest, MainDeviceFailuresTellTheUserAndFallBackToTheCapturePath) {
    struct Case {
        const char* name;
        sim::DeviceCall call;
        std::vector<std::string> boxes;
    };
    for (const Case& c : {Case{"AddFilter", sim::DeviceCall::AddFilter, {kAddFailed}},
                          Case{"QueryInterface", sim::DeviceCall::QueryInterface, {kNoInterface}},
                          Case{"graph", sim::DeviceCall::CreateFilterGraph, {}}}) {
        SCOPED_TRACE(c.name);
        sim::Reset();
        g_Tuner = {0, nullptr, nullptr, nullptr, 0x7164, 0, 0};
        Add(FilterCategory::MainDevice, kMain7160);
        int capture = Add(FilterCategory::Capture, kCap5);
        sim::FailDeviceCall(c.call, os::E_FAIL);
        EXPECT_EQ(OpenTunerDevice(), 1);
        EXPECT_EQ(g_Tuner.bMainDevicePath, 0);
        EXPECT_EQ(g_Tuner.pMainDeviceFilter, nullptr);
        EXPECT_EQ(sim::FilterDeviceId(g_Tuner.pCaptureFilter), capture);
        EXPECT_EQ(g_Tuner.pKsControl, sim::DriverCapturePath());
        EXPECT_EQ(MessageBoxes(), c.boxes);
        EXPECT_TRUE(ProbedChips().empty());
        CloseTunerDevice();
        EXPECT_EQ(sim::LiveComObjects(), 0);
    }
}

TEST_F(TunerDeviceTest, CaptureNamesAreTriedInOrderWhateverTheEnumerationOrder) {
    Add(FilterCategory::Capture, kCap5);
    int third = Add(FilterCategory::Capture, kCap3);
    Add(FilterCategory::Capture, "USB2.0 Camera");
    EXPECT_EQ(OpenTunerDevice(), 1);
    EXPECT_EQ(sim::FilterDeviceId(g_Tuner.pCaptureFilter), third);
    CloseTunerDevice();
    int first = Add(FilterCategory::Capture, kCap1);
    EXPECT_EQ(OpenTunerDevice(), 1);
    EXPECT_EQ(sim::FilterDeviceId(g_Tuner.pCaptureFilter), first);
    EXPECT_TRUE(MessageBoxes().empty());
}

TEST_F(TunerDeviceTest, CaptureFilterGoesInUnderTheSecondGraphNameOrNotAtAll) {
    int device = Add(FilterCategory::Capture, kCap3);
    sim::FailDeviceCall(sim::DeviceCall::AddFilter, os::E_FAIL);
    EXPECT_EQ(OpenTunerDevice(), 1);
    EXPECT_EQ(sim::GraphAdds(), std::vector<std::string>{"7231 BDA Analog Capture #" + std::to_string(device)});
    CloseTunerDevice();

    sim::FailDeviceCall(sim::DeviceCall::AddFilter, os::E_FAIL, 2);
    EXPECT_EQ(OpenTunerDevice(), 0);
    EXPECT_EQ(g_Tuner.pKsControl, nullptr);
    EXPECT_EQ(g_Tuner.pCaptureFilter, nullptr);

    FilterDesc noControl;
    noControl.friendlyName = kCap1;
    noControl.hasKsControl = false;
    sim::AddFilterDevice(FilterCategory::Capture, noControl);
    EXPECT_EQ(OpenTunerDevice(), 0);
    EXPECT_EQ(g_Tuner.pCaptureFilter, nullptr);
    EXPECT_TRUE(MessageBoxes().empty());
    EXPECT_EQ(sim::LiveComObjects(), 0);
}

TEST_F(TunerDeviceTest, NoCardAtAllFailsSilently) {
    Add(FilterCategory::Capture, "USB2.0 Camera");
    EXPECT_EQ(OpenTunerDevice(), 0);
    EXPECT_EQ(g_Tuner.pKsControl, nullptr);
    EXPECT_TRUE(MessageBoxes().empty());
    EXPECT_EQ(sim::DriverRequestCount(), 0u);
}

TEST_F(TunerDeviceTest, ChipProbeCountsDownToTheChipThatAnswers) {
    Add(FilterCategory::MainDevice, kMain7160);
    sim::DriverBoard board;
    board.chipId = 0x7162;
    sim::SetDriverBoard(board);
    EXPECT_EQ(OpenTunerDevice(), 1);
    EXPECT_EQ(ProbedChips(), (std::vector<std::uint16_t>{0x7164, 0x7163, 0x7162}));
    EXPECT_EQ(g_Tuner.nChipID, 0x7162);
    EXPECT_NE(g_Tuner.bChipFound, 0);
    EXPECT_TRUE(MessageBoxes().empty());

    const sim::DriverRequest first = sim::DriverRequests().front();
    const std::vector<std::uint8_t> header = {
        0xA8, 0xEB, 0xE0, 0x8E, 0xA6, 0x7D, 0xA9, 0x4A, 0xBD, 0x80, 0x87, 0xE7, 0x6B, 0x8A, 0xDB, 0xC8,
        0, 0, 0, 0,   1, 0, 0, 0,   2, 0, 0, 0,   0x64, 0x71};
    std::vector<std::uint8_t> sent = first.Property();
    ASSERT_EQ(sent.size(), 40u);
    EXPECT_EQ(std::vector<std::uint8_t>(sent.begin(), sent.begin() + 30), header);
    EXPECT_EQ(first.Data(), std::vector<std::uint8_t>{0xFE});
    EXPECT_EQ(first.result, os::E_FAIL);             // 0x7164 is not there
    EXPECT_EQ(sim::DriverRequests()[2].result, os::S_OK);

    // The chip found first survives closing: a re-open sends no probe.
    CloseTunerDevice();
    sim::ClearDriverRequests();
    EXPECT_EQ(OpenTunerDevice(), 1);
    EXPECT_TRUE(ProbedChips().empty());
    EXPECT_EQ(g_Tuner.nChipID, 0x7162);
}

TEST_F(TunerDeviceTest, NoChipAnswersLeavesTheConnectionOpenWithChipZero) {
    Add(FilterCategory::MainDevice, kMain7162);
    sim::DriverBoard board;
    board.chipId = 0x7134;
    sim::SetDriverBoard(board);
    EXPECT_EQ(OpenTunerDevice(), 1);
    EXPECT_EQ(ProbedChips(), (std::vector<std::uint16_t>{0x7164, 0x7163, 0x7162, 0x7161, 0x7160}));
    EXPECT_EQ(g_Tuner.nChipID, 0);
    EXPECT_EQ(g_Tuner.pKsControl, sim::DriverMainPath());
    EXPECT_EQ(MessageBoxes(), std::vector<std::string>{kNoChip});

    // A re-open probes nothing and says so again; the selector survives.
    CloseTunerDevice();
    sim::ClearDriverRequests();
    sim::ClearEffects();
    EXPECT_EQ(OpenTunerDevice(), 1);
    EXPECT_TRUE(ProbedChips().empty());
    EXPECT_EQ(g_Tuner.nDeviceSelector, 1);
    EXPECT_EQ(MessageBoxes(), std::vector<std::string>{kNoChip});
}

TEST_F(TunerDeviceTest, ProbeWithoutAnInterfaceSendsNothing) {
    Add(FilterCategory::MainDevice, kMain7160);
    sim::FailDeviceCall(sim::DeviceCall::QueryInterface, os::E_NOINTERFACE, 1, 1);
    EXPECT_EQ(OpenTunerDevice(), 1);
    EXPECT_EQ(sim::DriverRequestCount(), 0u);
    EXPECT_EQ(g_Tuner.nChipID, 0);
    EXPECT_EQ(MessageBoxes(), std::vector<std::string>{kNoChip});
}

TEST_F(TunerDeviceTest, CloseReleasesTheConnectionAndReopeningOverItLeaksNothing) {
    Add(FilterCategory::Capture, kCap3);
    EXPECT_EQ(OpenTunerDevice(), 1);
    EXPECT_EQ(OpenTunerDevice(), 1);  // a resume that came without a suspend
    EXPECT_EQ(sim::LiveFilters(), 1);
    CloseTunerDevice();
    EXPECT_EQ(g_Tuner.pKsControl, nullptr);
    EXPECT_EQ(g_Tuner.pCaptureFilter, nullptr);
    EXPECT_EQ(sim::LiveComObjects(), 0);
    EXPECT_EQ(OpenTunerDevice(), 1);
    EXPECT_EQ(g_Tuner.pKsControl, sim::DriverCapturePath());

    // Either path storing its filter over a held one lets the held one go.
    Add(FilterCategory::MainDevice, kMain7160);
    for (bool (*openPath)(os::ComPtr*) : {&OpenCapturePath, &OpenMainDevicePath, &OpenMainDevicePath}) {
        os::ComPtr ksControl = nullptr;
        EXPECT_TRUE(openPath(&ksControl));
        os::Release(ksControl);
    }
    EXPECT_EQ(sim::LiveFilters(), 2);  // one capture filter, one main-device filter
}

}  // namespace

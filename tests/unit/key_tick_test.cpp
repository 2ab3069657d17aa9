// One key tick: repeat window, remap, thinning, shutdown-dialog keys, cost.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "app/program.h"
#include "controllers/controller_table.h"
#include "controllers/keymap_load.h"
#include "controllers/user_apps.h"
#include "device/tuner_connection.h"
#include "engine/key_tick.h"
#include "engine/route.h"
#include "os/sim/sim.h"

namespace {
int g_allocations = 0;
bool g_counting = false;
}  // namespace

// Counts heap use inside the measured region of TickCost only.
void* operator new(std::size_t size) {
    if (g_counting) ++g_allocations;
    void* p = std::malloc(size ? size : 1);
    if (p == nullptr) throw std::bad_alloc();
    return p;
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace {

constexpr os::Hwnd kOwner = 0x1234;

class KeyTick : public ::testing::Test {
protected:
    void SetUp() override {
        sim::Reset(5000);
        InitProcessRecords();
        ClearRouted();
        UseReader(2);
        g_Tuner = TunerConnection{0, sim::DriverCapturePath(), nullptr, sim::DriverCapturePath(),
                                  0x7164, 0, 0};
    }
    void UseReader(std::uint8_t type) {
        sim::DriverBoard board;
        board.readyPin = 6;
        sim::SetDriverBoard(board);
        g_Board = BoardAttributes{6, type, 1};
    }
    // Marks the application active with its window there, as a running one is.
    static void Activate(AppController& app) {
        const WindowIdentity* id = IdentityOf(app);
        sim::WindowDesc w;
        w.className = id->szClass ? id->szClass : "AnyClass";
        w.title = id->szTitle ? id->szTitle : "Any title";
        sim::AddWindow(w);
        app.bActive = 1;
    }
    // Holds `code` and ticks `events` times, `gapMs` apart.
    std::vector<std::int32_t> Hold(std::uint8_t code, int events, std::uint32_t gapMs = 65) {
        sim::PressKey(code, gapMs * events + 1000);
        ClearRouted();
        for (int i = 0; i < events; ++i) {
            if (i) sim::Run(gapMs);
            OnKeyTimer(kOwner);
        }
        std::vector<std::int32_t> codes;
        for (std::size_t i = 0; i < RoutedCount(); ++i) codes.push_back(RoutedAt(i).code);
        return codes;
    }
};

TEST_F(KeyTick, HeldKeyRepeatsOnlyWithin249ms) {
    Hold(30, 2, 249);
    EXPECT_EQ(1, KeyRepeatState.bRepeat);
    EXPECT_EQ(1, KeyRepeatState.nRepeatCount);
    PointerAccelCount = 5;
    sim::Run(249);
    OnKeyTimer(kOwner);
    EXPECT_EQ(2, KeyRepeatState.nRepeatCount);
    EXPECT_EQ(5, PointerAccelCount);

    sim::Run(250);
    OnKeyTimer(kOwner);
    EXPECT_EQ(0, KeyRepeatState.bRepeat);
    EXPECT_EQ(0, KeyRepeatState.nRepeatCount);
    EXPECT_EQ(0, PointerAccelCount);

    sim::Run(2000);
    Hold(31, 1);
    Hold(30, 1);  // another code in between: a new press however short the gap
    EXPECT_EQ(0, KeyRepeatState.bRepeat);
    EXPECT_EQ(kOwner, RoutedAt(RoutedCount() - 1).owner);
}

TEST_F(KeyTick, RepeatWindowSurvivesTheCounterWrap) {
    sim::Reset(0xFFFFFF80u);
    Hold(30, 3, 100);
    EXPECT_LT(sim::Now(), 0x1000u);
    EXPECT_EQ(2, KeyRepeatState.nRepeatCount);
}

TEST_F(KeyTick, Code12BecomesItsOwnKeyOnlyOn35KeyRemote) {
    TotalMedia35.bActive = 1;  // no window: the router drops the flag at once
    DefaultTVAPP = 3;  // no launch sequence, so no closes and waits between the events
    nIRKEYType = 3;
    EXPECT_EQ(std::vector<std::int32_t>(12, 3852), Hold(12, 12));
    EXPECT_EQ(0, KeyRepeatState.nRepeatCount);
    for (std::int32_t layout : {0, 1, 2}) {
        nIRKEYType = layout;
        sim::Run(2000);
        std::vector<std::int32_t> codes = Hold(12, 2);
        EXPECT_EQ((std::vector<std::int32_t>{12, 12}), codes) << "layout " << layout;
    }
}

TEST_F(KeyTick, HeldKeysThinnedWhileOneOfSevenAppsIsActive) {
    std::vector<std::int32_t> thinned(25, -1);
    thinned[0] = thinned[10] = thinned[20] = 30;
    AppController* const seven[] = {&Orbisk,    &MediaCenter, &TotalMedia35, &PowerCinema,
                                    &TVEnhance, &Savrin,      &ArcSoftTV5};
    for (AppController* app : seven) {
        sim::Reset(5000);
        InitProcessRecords();
        Activate(*app);
        sim::Run(2000);
        EXPECT_EQ(thinned, Hold(30, 25)) << app->szWindowTitle;
    }
    sim::Reset(5000);
    InitProcessRecords();
    Activate(OrbiskCenter);
    sim::Run(2000);
    EXPECT_EQ(std::vector<std::int32_t>(25, 30), Hold(30, 25));
}

TEST_F(KeyTick, HeldKeysOfAnActiveUserAppFollowItsRepeatSetting) {
    std::vector<std::int32_t> tenth(25, -1);
    tenth[0] = tenth[10] = tenth[20] = 30;
    std::vector<std::int32_t> none(25, -1);
    none[0] = 30;
    const struct {
        const char* repeat;
        bool orbiskCenter;  // active too: it goes first and never thins
        std::vector<std::int32_t> codes;
    } rows[] = {{"every", false, std::vector<std::int32_t>(25, 30)},
                {"tenth", false, tenth},
                {"none", false, none},
                {"none", true, std::vector<std::int32_t>(25, 30)}};
    for (const auto& row : rows) {
        sim::Reset(5000);
        InitProcessRecords();
        sim::SetFileContent("C:\\Users\\User\\AppData\\Roaming\\Remote Control\\RemoteControl.ini",
                            std::string("[app:P]\r\nclass = P\r\nrepeat = ") + row.repeat + "\r\n");
        LoadKeymapFile();
        sim::WindowDesc w;
        w.className = "P";
        sim::AddWindow(w);
        UserApps[0].bActive = 1;
        if (row.orbiskCenter) Activate(OrbiskCenter);
        sim::Run(2000);
        EXPECT_EQ(row.codes, Hold(30, 25)) << row.repeat << row.orbiskCenter;
    }
}

TEST_F(KeyTick, EachEventTracedBeforeAndAfterThinning) {
    Activate(TotalMedia35);
    sim::ClearEffects();
    Hold(30, 2);
    std::vector<std::string> traced;  // the router writes lines of its own
    for (const std::string& text : sim::EffectTexts())
        if (text.find("scan Code") != std::string::npos) traced.push_back(text);
    EXPECT_EQ((std::vector<std::string>{"debug \"<RCMessageBox>  scan Code =  (1E)\"",
                                        "debug \"<RCMessageBox>  scan Code =  (1E)\"",
                                        "debug \"<RCMessageBox>  scan Code =  (1E)\"",
                                        "debug \"<RCMessageBox>  scan Code =  (FFFFFFFF)\""}),
              traced);
}

TEST_F(KeyTick, NoKeyChangesNothing) {
    Hold(30, 1);
    KeyRepeatRecord before = KeyRepeatState;
    sim::Run(100);
    EXPECT_TRUE(Hold(0xFF, 3).empty());  // the driver's no-key byte, ready pin up
    UseReader(3);                        // a reader type no board has
    EXPECT_TRUE(Hold(30, 2).empty());
    EXPECT_EQ(before.dwLastTime, KeyRepeatState.dwLastTime);
    EXPECT_EQ(before.nLastCode, KeyRepeatState.nLastCode);
}

TEST_F(KeyTick, ShutdownDialogTakesReturnOrEscape) {
    sim::WindowDesc dlg;
    dlg.className = "#32770";
    dlg.title = "Shutdown";
    hShutdownDlg = sim::AddWindow(dlg);
    ShutdownDialogOpen = 1;
    nIRKEYType = 3;
    const struct {
        std::uint8_t raw;
        const char* key;
    } rows[] = {{12, "0x1B"}, {22, "0x0D"}, {30, "0x0D"}, {29, "0x1B"}, {5, "0x1B"}};
    for (const auto& row : rows) {
        sim::Run(2000);
        sim::ClearEffects();
        Hold(row.raw, 1);
        std::vector<std::string> texts = sim::EffectTexts();
        ASSERT_EQ(5u, texts.size()) << int(row.raw);
        EXPECT_EQ(0u, texts[2].find("foreground "));
        EXPECT_EQ(0u, texts[3].find("active "));
        EXPECT_NE(std::string::npos,
                  texts[4].find(std::string("WM_KEYDOWN wParam=") + row.key + " lParam=0x0"))
            << texts[4];
    }
    nIRKEYType = 0;
    TotalMedia35.bActive = 1;
    sim::Run(2000);
    sim::ClearEffects();
    Hold(12, 2);  // the first event confirms, the thinned repeat sends nothing
    std::vector<std::string> texts = sim::EffectTexts();
    EXPECT_EQ(1, std::count_if(texts.begin(), texts.end(), [](const std::string& t) {
                  return t.find("WM_KEYDOWN") != std::string::npos;
              }));
    EXPECT_EQ(0u, RoutedCount());
}

TEST_F(KeyTick, TickCost) {
    const struct {
        std::uint8_t reader;
        bool key;
        std::uint32_t requests;
    } rows[] = {{2, false, 1}, {1, false, 1}, {2, true, 2}, {1, true, 8}};
    for (const auto& row : rows) {
        UseReader(row.reader);
        sim::Run(2000);
        if (row.key) sim::PressKey(30, 500);
        OnKeyTimer(kOwner);  // warm up: the first tick may grow logs
        sim::Run(65);
        std::uint32_t before = sim::DriverRequestCount();
        g_allocations = 0;
        g_counting = true;
        if (!row.key) OnKeyTimer(kOwner);
        g_counting = false;
        if (row.key) OnKeyTimer(kOwner);
        EXPECT_EQ(row.requests, sim::DriverRequestCount() - before) << int(row.reader);
        if (!row.key) {
            EXPECT_EQ(0, g_allocations) << int(row.reader);
        }
    }
}

}  // namespace

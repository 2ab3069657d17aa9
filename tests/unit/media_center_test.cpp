// Windows Media Center: the four key maps against the chart, digit mode on
// the 36-key remote, the close by WM_CLOSE, the legacy window search and
// the start path outside the fixed ehshell case.
#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "config/host_probes.h"
#include "key_chart.h"
#include "controllers/key_maps.h"
#include "controllers/media_center.h"

namespace {

using ctlworld::KeyRowExp;
using ctlworld::Lines;

// Media Center's digits are posted key-downs.
std::vector<KeyRowExp> WithDigits(std::uint32_t zeroCode, std::vector<KeyRowExp> rows) {
    return keychart::WithDigits(zeroCode, std::move(rows), true);
}

const std::vector<KeyRowExp> kChart44 = WithDigits(
    10, {{9, 'c', "VK_BACK", 0},          {11, 'c', "VK_RETURN", 0},
         {14, 'c', "VK_BACK", 0},         {15, 'c', "VK_CONTROL D", 0},
         {16, 'c', "VK_PRIOR", 0},        {17, 'c', "VK_NEXT", 0},
         {18, 'c', "VK_F9", 0},           {19, 'c', "VK_F10", 0},
         {20, 'c', "VK_F8", 0},           {21, 'c', "VK_CONTROL M", 0},
         {22, 'c', "VK_CONTROL T", 0},    {23, 'c', "VK_MENU VK_RETURN", 0},
         {24, 'c', "VK_CONTROL E", 0},    {26, 'c', "VK_CONTROL VK_SHIFT S", 0},
         {27, 'c', "VK_CONTROL R", 0},    {28, 'c', "VK_CONTROL I", 0},
         {30, 'c', "VK_CONTROL G", 0},    {31, 'c', "VK_BACK", 0},
         {32, 'c', "VK_UP", 0},           {33, 'c', "VK_DOWN", 0},
         {35, 'c', "VK_CONTROL I", 0},    {64, 'c', "VK_CONTROL B", 0},
         {65, 'c', "VK_CONTROL F", 0},    {66, 'c', "VK_LEFT", 0},
         {67, 'c', "VK_RIGHT", 0},        {68, 'c', "VK_CONTROL P", 0},
         {69, 'c', "VK_UP", 0},           {70, 'c', "VK_DOWN", 0},
         {71, 'c', "VK_CONTROL P", 0},    {72, 'c', "VK_CONTROL A", 0},
         {73, 'c', "VK_CONTROL T", 0},    {74, 'c', "VK_F1", 0}});

const std::vector<KeyRowExp> kChart41 = WithDigits(
    10, {{9, 'c', "VK_BACK", 0},          {11, 'c', "VK_RETURN", 0},
         {13, 'c', "VK_CONTROL D", 0},    {14, 'c', "VK_RETURN", 0},
         {16, 'c', "VK_UP", 0},           {17, 'c', "VK_DOWN", 0},
         {18, 'c', "VK_LEFT", 0},         {19, 'c', "VK_RIGHT", 0},
         {20, 'c', "VK_F8", 0},           {21, 'c', "VK_CONTROL A", 0},
         {22, 'c', "VK_CONTROL O", 0},    {23, 'c', "VK_MENU VK_RETURN", 0},
         {24, 'c', "VK_LWIN D", 0},       {25, 'c', "VK_CONTROL G", 0},
         {26, 'c', "VK_CONTROL VK_SHIFT S", 0}, {27, 'c', "VK_CONTROL R", 0},
         {28, 'c', "VK_CONTROL I", 0},    {30, 'c', "VK_CONTROL T", 0},
         {31, 'c', "VK_CONTROL E", 0},    {64, 'c', "VK_CONTROL B", 0},
         {65, 'c', "VK_CONTROL F", 0},    {66, 'c', "VK_CONTROL VK_SHIFT B", 0},
         {67, 'c', "VK_CONTROL VK_SHIFT F", 0}, {68, 'c', "VK_CONTROL P", 0},
         {69, 'c', "VK_CONTROL VK_SHIFT S", 0}, {72, 'c', "VK_NEXT", 0},
         {73, 'c', "VK_PRIOR", 0},        {74, 'c', "VK_F9", 0},
         {75, 'c', "VK_F10", 0}});

const std::vector<KeyRowExp> kChart35 = WithDigits(
    20, {{10, 'c', "VK_MENU VK_RETURN", 0}, {11, 'c', "VK_RETURN", 0},
         {14, 'c', "VK_RETURN", 0},         {16, 'c', "VK_CONTROL I", 0},
         {17, 'c', "VK_PRIOR", 0},          {18, 'c', "VK_F10", 0},
         {19, 'c', "VK_BACK", 0},           {23, 'c', "VK_CONTROL T", 0},
         {25, 'c', "VK_CONTROL P", 0},      {26, 'c', "VK_CONTROL R", 0},
         {27, 'c', "VK_NEXT", 0},           {28, 'c', "VK_CONTROL F", 0},
         {29, 'c', "VK_CONTROL VK_SHIFT A", 0}, {30, 'c', "VK_CONTROL B", 0},
         {31, 'c', "VK_SHIFT VK_CONTROL Z", 0}, {32, 'c', "VK_UP", 0},
         {33, 'c', "VK_DOWN", 0},           {64, 'c', "VK_CONTROL VK_SHIFT S", 0},
         {65, 'c', "VK_CONTROL P", 0},      {66, 'c', "VK_LEFT", 0},
         {67, 'c', "VK_RIGHT", 0},          {68, 'c', "VK_F8", 0},
         {72, 'c', "VK_F9", 0}});

// 36-key fixed entries; the number keys and 14/29 are checked apart.
const std::vector<KeyRowExp> kChart36 = {
    {0, 'c', "VK_CONTROL R", 0},       {2, 'k', "0x60", 0},
    {4, 'c', "VK_CONTROL VK_SHIFT B", 0}, {7, 'c', "VK_CONTROL T", 0},
    {8, 'c', "VK_CONTROL VK_SHIFT S", 0}, {12, 'c', "VK_CONTROL VK_SHIFT F", 0},
    {13, 'c', "VK_SHIFT VK_CONTROL Z", 0}, {15, 'c', "VK_LWIN D", 0},
    {16, 'c', "VK_RETURN", 0},         {17, 'c', "VK_CONTROL P", 0},
    {19, 'c', "VK_ESCAPE", 0},         {20, 'c', "VK_F9", 0},
    {22, 'c', "VK_F10", 0},            {23, 'c', "VK_NEXT", 0},
    {24, 'c', "VK_F8", 0},             {25, 'c', "VK_MENU VK_RETURN", 0},
    {26, 'c', "VK_CONTROL I", 0},      {28, 'c', "VK_CONTROL D", 0},
    {31, 'c', "VK_PRIOR", 0}};

// Number keys: digit posted in digit mode, else up to two taps.
const struct {
    std::uint32_t code;
    const char* digit;
    std::vector<const char*> steer;
} kNumberKeys[] = {{1, "0x61", {"VK_LEFT", "VK_UP"}}, {11, "0x62", {"VK_UP"}},
                   {27, "0x63", {"VK_RIGHT", "VK_UP"}}, {5, "0x64", {"VK_LEFT"}},
                   {9, "0x65", {}},                    {21, "0x66", {"VK_RIGHT"}},
                   {6, "0x67", {"VK_LEFT", "VK_DOWN"}}, {10, "0x68", {"VK_DOWN"}},
                   {18, "0x69", {"VK_RIGHT", "VK_DOWN"}}};

class MediaCenterTest : public keychart::Chart {
protected:
    void SetUp() override {
        Chart::SetUp();
        mc = Add("eHome Render Window", "Windows Media Center", true, true);
    }
    os::Hwnd mc = 0;
};

TEST_F(MediaCenterTest, Maps44And41And35FollowTheChart) {
    CheckChart(MediaCenterKeyMap44, kChart44, mc);
    CheckChart(MediaCenterKeyMap41, kChart41, mc);
    CheckChart(MediaCenterKeyMap35, kChart35, mc);
}

TEST_F(MediaCenterTest, Map36FollowsTheChartInBothDigitModes) {
    std::vector<std::uint32_t> numbers = {14, 29};
    for (const auto& key : kNumberKeys) numbers.push_back(key.code);
    for (std::uint32_t mode : {0u, 1u}) {
        MediaCenter.dwExtra = mode;
        CheckChart(MediaCenterKeyMap36, kChart36, mc, numbers);
        for (const auto& key : kNumberKeys) {
            Lines want;
            if (mode != 0) {
                want = KeyEffects({key.code, 'k', key.digit, 0}, mc);
            } else {
                for (const char* vk : key.steer)
                    Append(want, KeyEffects({key.code, 'c', vk, 0}, mc));
            }
            EXPECT_EQ(want, Effects([&] { MediaCenterKeyMap36(key.code); }))
                << "code " << key.code << " mode " << mode;
        }
    }
}

TEST_F(MediaCenterTest, DigitModeMovesOnlyByItsFourCauses) {
    sim::RemoveWindow(mc);
    MediaCenter.dwExtra = 0xAB00;  // the other bytes are not the mode's
    EXPECT_EQ(Lines{}, Effects([] { MediaCenterKeyMap36(14); }));  // no search, nothing sent
    EXPECT_EQ(0xAB01u, MediaCenter.dwExtra);
    EXPECT_EQ(Lines{}, Effects([] { MediaCenterKeyMap36(29); }));
    EXPECT_EQ(0xAB00u, MediaCenter.dwExtra);
    MediaCenterClose(MediaCenter);  // no window: untouched
    EXPECT_EQ(0xAB00u, MediaCenter.dwExtra);

    mc = Add("eHome Render Window", "Windows Media Center", true, true);
    const std::string window = sim::DescribeWindow(mc);
    MediaCenter.bActive = 1;
    Lines closed = Effects([] { LaunchOrClose(MediaCenter); });
    ASSERT_LE(3u, closed.size());
    EXPECT_EQ("post WM_CLOSE wParam=0x00 lParam=0x0 to " + window, closed[2]);
    for (const std::string& line : closed) EXPECT_EQ(std::string::npos, line.find("VK_F4")) << line;
    EXPECT_EQ(0xAB01u, MediaCenter.dwExtra);
    EXPECT_EQ(0, MediaCenter.bActive);

    sim::Run(10);  // the stand-in has closed
    LaunchOrClose(MediaCenter);  // nothing to close: steer after a start
    EXPECT_EQ(0xAB00u, MediaCenter.dwExtra);
}

TEST_F(MediaCenterTest, LegacyMediaCenterIsFoundByClassAlone) {
    sim::SetWindowTitle(mc, "Media Center");
    bLegacyMediaCenter = 0;
    EXPECT_EQ(0u, MediaCenterFindMainWindow());
    bLegacyMediaCenter = 1;
    EXPECT_EQ(mc, MediaCenterFindMainWindow());
    bLegacyMediaCenter = 0;
}

TEST_F(MediaCenterTest, OutsideTheFixedCaseTheRegisteredCommandNamesTheProgram) {
    sim::RemoveWindow(mc);
    DefaultTVAPP = kAppTotalMedia35;
    const std::string full(sizeof MediaCenter.szInstallDir, 'x');  // unterminated
    const struct {
        std::string command;
        const char* started;  // nullptr: nothing started, the launch message
    } rows[] = {{"\"C:\\Windows\\ehome\\ehshell.exe\" \"%1\"", "C:\\Windows\\ehome\\ehshell.exe"},
                {"C:\\WIN\\ehome\\ehshell.exe /nostartupanimation", "C:\\WIN\\ehome\\ehshell.exe"},
                {"  \"D:\\e h\\ehshell.exe", "D:\\e h\\ehshell.exe"},
                {"", nullptr},
                {"\"\"", nullptr},
                {full, full.c_str()}};
    for (const auto& row : rows) {
        Install(MediaCenter, "", "");
        std::memcpy(MediaCenter.szInstallDir, row.command.data(),
                    std::min(row.command.size() + 1, sizeof MediaCenter.szInstallDir));
        Lines effects = Effects([] { Launch(MediaCenter); });
        std::string all;
        for (const std::string& line : effects) all += line + "\n";
        if (row.started != nullptr) {
            EXPECT_NE(std::string::npos,
                      all.find("shell \"open\" \"" + std::string(row.started) + "\" \"remote\""))
                << all;
        } else {
            EXPECT_EQ(std::string::npos, all.find("shell ")) << all;
            EXPECT_NE(std::string::npos, all.find("Can't launch TV application")) << all;
        }
    }
}

}  // namespace

// TVEnhance: the same chart as PowerCinema's but for seven rows, and its
// window identity.
#include <map>

#include "controllers/key_maps.h"
#include "controller_world.h"

namespace {

using namespace ctlworld;

const KeyRowExp kDiffersFromPowerCinema[] = {
    {15, 'c', "VK_CONTROL VK_SHIFT X", 0},
    {24, 'k', "0x70", 0},
    {25, 'c', "VK_CONTROL VK_SHIFT P", 0},
    {31, 'c', "VK_CONTROL S", 0},
    {35, 'k', "0x1B", 0},
    {73, 'c', "VK_CONTROL VK_SHIFT VK_MENU VK_HOME", 0},
    {74, 'c', "VK_CONTROL VK_SHIFT S", 0},
};

class TVEnhanceTest : public World {};

TEST_F(TVEnhanceTest, EqualsPowerCinemaExceptItsSevenRows) {
    const os::Hwnd pc = Add("AnyClass", "PowerCinema");
    const os::Hwnd tve = Add("TVEnhance", "TV Enhance");
    std::map<std::uint32_t, const KeyRowExp*> differs;
    for (const KeyRowExp& r : kDiffersFromPowerCinema) differs[r.nCode] = &r;
    const std::string pcName = sim::DescribeWindow(pc), tveName = sim::DescribeWindow(tve);
    for (std::uint32_t code : AllCodes()) {
        Lines got = Effects([&] { TVEnhanceKeyMap(code); });
        if (differs.count(code)) {
            EXPECT_EQ(KeyEffects(*differs[code], tve), got) << "code " << code;
            continue;
        }
        Lines want = Effects([&] { PowerCinemaKeyMap(code); });
        for (std::string& line : want) {
            const std::size_t at = line.find(pcName);
            if (at != std::string::npos) line.replace(at, pcName.size(), tveName);
        }
        EXPECT_EQ(want, got) << "code " << code;
    }
}

TEST_F(TVEnhanceTest, FoundOnlyByClassAndBlankedTitleTogether) {
    Add("Other", "TV Enhance");
    Add("TVEnhance", "TVEnhance");
    EXPECT_EQ(Lines{}, Effects([] { TVEnhanceKeyMap(26); }));
    EXPECT_EQ(Lines{"sleep 2000"}, Effects([] { TVEnhanceKeyMap(27); }));
    const os::Hwnd tve = Add("TVEnhance", "TV Enhance");
    EXPECT_EQ(KeyEffects({26, 'c', "VK_CONTROL S", 0}, tve),
              Effects([] { TVEnhanceKeyMap(26); }));
}

}  // namespace

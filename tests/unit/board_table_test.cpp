// The board table's shape: row counts per chip and attribute triple, the
// order of the chip blocks, duplicates and lower-case rows.
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "device/board_table.h"

namespace {

std::string Device(const BoardRecord& r) { return std::string(r.szHardwareID + 17, 4); }
std::string Subsystem(const BoardRecord& r) { return std::string(r.szHardwareID + 29, 8); }
std::tuple<int, int, int> Triple(const BoardRecord& r) {
    return {r.nIRReadyPin, r.nIRReaderType, r.nBoardVariant};
}
std::string Upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

TEST(BoardTable, EveryRowIsAWellFormedHardwareID) {
    ASSERT_EQ(nBoardTableRows, 72u);
    for (std::size_t i = 0; i < nBoardTableRows; ++i) {
        const BoardRecord& r = BoardTable[i];
        SCOPED_TRACE(r.szHardwareID);
        ASSERT_EQ(std::strlen(r.szHardwareID), 37u);
        EXPECT_EQ(std::string(r.szHardwareID, 17), "PCI\\VEN_1131&DEV_");
        EXPECT_EQ(std::string(r.szHardwareID + 21, 8), "&SUBSYS_");
        for (char c : Device(r)) EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(c)));
        for (char c : Subsystem(r)) EXPECT_TRUE(std::isxdigit(static_cast<unsigned char>(c)));
    }
}

TEST(BoardTable, RowsPerChipAndTripleAreAsListed) {
    using Key = std::tuple<std::string, int, int, int>;
    std::map<Key, int> counts;
    for (std::size_t i = 0; i < nBoardTableRows; ++i) {
        auto t = Triple(BoardTable[i]);
        ++counts[Key{Device(BoardTable[i]), std::get<0>(t), std::get<1>(t), std::get<2>(t)}];
    }
    const std::map<Key, int> expected = {
        {{"7130", 6, 1, 1}, 2},
        {{"7133", 6, 1, 1}, 14}, {{"7133", 6, 2, 1}, 5}, {{"7133", 8, 2, 5}, 4}, {{"7133", 0, 2, 1}, 1},
        {{"7134", 6, 1, 1}, 8}, {{"7134", 0, 2, 1}, 3}, {{"7134", 8, 2, 1}, 2},
        {{"7160", 3, 2, 1}, 2}, {{"7160", 3, 2, 5}, 3}, {{"7160", 3, 2, 8}, 3}, {{"7160", 8, 2, 9}, 1},
        {{"7231", 7, 2, 1}, 22}, {{"7231", 7, 2, 5}, 1}, {{"7231", 8, 2, 1}, 1},
    };
    EXPECT_EQ(counts, expected);
}

TEST(BoardTable, ChipBlocksComeInTableOrder) {
    // 7130 x2, then 7133 and 7134 mixed (24 + 11), 7160 x9, 7231 x24, 7134 x2.
    std::vector<std::string> devices;
    for (std::size_t i = 0; i < nBoardTableRows; ++i) devices.push_back(Device(BoardTable[i]));
    const std::set<std::string> mixed = {"7133", "7134"};
    for (std::size_t i = 0; i < 2; ++i) EXPECT_EQ(devices[i], "7130") << i;
    bool both[2] = {false, false};
    for (std::size_t i = 2; i < 37; ++i) {
        EXPECT_EQ(mixed.count(devices[i]), 1u) << i;
        both[devices[i] == "7134"] = true;
    }
    EXPECT_TRUE(both[0] && both[1]);
    for (std::size_t i = 37; i < 46; ++i) EXPECT_EQ(devices[i], "7160") << i;
    for (std::size_t i = 46; i < 70; ++i) EXPECT_EQ(devices[i], "7231") << i;
    for (std::size_t i = 70; i < 72; ++i) EXPECT_EQ(devices[i], "7134") << i;
}

TEST(BoardTable, SixIDsTwiceWithTheSameAttributesAndFourLowerCaseRows) {
    std::map<std::string, std::vector<std::size_t>> byId;
    std::set<std::string> folded;
    int lowerCaseRows = 0;
    for (std::size_t i = 0; i < nBoardTableRows; ++i) {
        const BoardRecord& r = BoardTable[i];
        byId[r.szHardwareID].push_back(i);
        folded.insert(Upper(r.szHardwareID));
        const std::string sub = Subsystem(r);
        bool lower = false, upper = false;
        for (char c : sub) {
            lower |= (c >= 'a' && c <= 'f');
            upper |= (c >= 'A' && c <= 'F');
        }
        EXPECT_FALSE(lower && upper) << r.szHardwareID;
        lowerCaseRows += lower ? 1 : 0;
    }
    int twice = 0;
    for (const auto& id : byId) {
        ASSERT_LE(id.second.size(), 2u) << id.first;
        if (id.second.size() == 2) {
            ++twice;
            EXPECT_EQ(Triple(BoardTable[id.second[0]]), Triple(BoardTable[id.second[1]])) << id.first;
        }
    }
    EXPECT_EQ(twice, 6);
    EXPECT_EQ(lowerCaseRows, 4);
    // A lower-case row is not a disguised copy of another row.
    EXPECT_EQ(folded.size(), byId.size());
}

}  // namespace

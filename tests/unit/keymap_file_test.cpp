// The key-map file: every built-in map survives export and parse exactly
// as the code runs it, each kind of row reads as its actions.h action, and
// bad input of any kind gives its error on its line while the rest is read.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "controllers/builtin_maps.h"
#include "controllers/keymap_file.h"
#include "device/tuner_connection.h"

namespace {

KeymapFile g_file;  // 120 KB: static, as the program keeps it

const KeymapFile& Parse(const std::string& text) {
    ParseKeymapFile("test.ini", reinterpret_cast<const std::uint8_t*>(text.data()), text.size(),
                    g_file);
    return g_file;
}

std::string Show(const KeyRow& row) {
    char text[160];
    FormatMapRow(row, false, text, sizeof text);
    return text;
}

bool SameRow(const KeyRow& a, const KeyRow& b) {
    const Action &x = a.action, &y = b.action;
    return a.nFirst == b.nFirst && a.nLast == b.nLast && x.kind == y.kind && x.nKeys == y.nKeys &&
           std::memcmp(x.vk, y.vk, sizeof x.vk) == 0 && x.nDigit == y.nDigit &&
           x.nMessage == y.nMessage && x.wParam == y.wParam && x.lParam == y.lParam &&
           x.nWaitMs == y.nWaitMs && x.rule == y.rule;
}

std::string Errors(const KeymapFile& f) {
    std::string all;
    for (std::size_t i = 0; i < f.nErrors; ++i) all += std::string(f.errors[i].szText) + "\n";
    return all;
}

// Every map, on every board variant: the exported file reads back as the
// rows the code runs, in the slots of the layouts it serves.
TEST(KeymapFile, EveryBuiltinMapRoundTripsAsTheCodeRunsIt) {
    std::size_t maps = 0, tables = 0;
    for (std::size_t m = 0; const BuiltinMap* map = BuiltinMapAt(m); ++m, ++maps) {
        for (int variant = 0; variant < (map->nVariants != 0 ? 256 : 1); ++variant, ++tables) {
            SCOPED_TRACE(std::string(BuiltinAppName(map->app)) + " layouts " +
                         std::to_string(map->layouts) + " variant " + std::to_string(variant));
            KeyRow rows[256];
            std::size_t n = ResolveBoardVariant(*map, static_cast<std::uint8_t>(variant), rows, 256);
            ASSERT_LE(n, 256u);
            std::vector<char> text(64 * 1024);
            ASSERT_LT(WriteBuiltinMapFile(*map, rows, n, nullptr, text.data(), text.size()), text.size());
            const KeymapFile& f = Parse(text.data());
            ASSERT_EQ(f.nErrorsTotal, 0u) << Errors(f);
            const MapSlice* slots = f.overrides[static_cast<std::size_t>(map->app)];
            for (std::size_t s = 0; s < kMapSlots; ++s) {
                bool serves = map->layouts == kLayoutEvery ? s == 0
                                                           : s > 0 && (map->layouts >> (s - 1)) & 1;
                EXPECT_EQ(slots[s].nLine != 0, serves) << "slot " << s;
                if (!serves) continue;
                ASSERT_EQ(slots[s].nCount, n);
                for (std::size_t i = 0; i < n; ++i) {
                    const MapRow& got = f.rows[slots[s].nFirst + i];
                    EXPECT_TRUE(SameRow(got.row, rows[i]) && !got.bOnce && !got.bRemove)
                        << Show(rows[i]) << " came back as " << Show(got.row);
                }
            }
            // What the controller looks up for each code on this board.
            g_Board.nBoardVariant = static_cast<std::uint8_t>(variant);
            const MapSlice& slice = slots[map->layouts == kLayoutEvery ? 0 : 1 + __builtin_ctz(map->layouts)];
            std::vector<KeyRow> parsed;
            for (std::size_t i = 0; i < slice.nCount; ++i) parsed.push_back(f.rows[slice.nFirst + i].row);
            for (std::uint32_t code = 0; code <= 256; ++code) {
                if (code == 256) code = kKeymapRemappedCode;
                KeyRow scratch{};
                const KeyRow* runs = BoardVariantLookup(map->pRows, map->nRows, map->pVariants,
                                                        map->nVariants, code, scratch);
                const KeyRow* read = LookupKey(parsed.data(), parsed.size(), code);
                ASSERT_EQ(runs == nullptr, read == nullptr) << "code " << code;
                if (runs != nullptr) {
                    EXPECT_EQ(Show(KeyRow{code, code, runs->action}), Show(KeyRow{code, code, read->action}));
                }
            }
        }
    }
    // Orbisk, Orbisk Center, PowerCinema, TVEnhance one each; Savrin and
    // Media Center four; TotalMedia 3.5 and ArcSoft TV 5.0 two, the shared
    // one on each of 256 board variants.
    EXPECT_EQ(maps, 16u);
    EXPECT_EQ(tables, 4u + 8u + 2u * (1u + 256u));
}

struct GoodRow {
    const char* text;
    KeyRow row;
    bool bOnce;
    bool bRemove;
};

TEST(KeymapFile, EveryKindOfRowReadsAsItsAction) {
    const GoodRow rows[] = {
        {"23 = Alt+Return", {23, 23, Chord(VK_MENU, VK_RETURN)}, false, false},
        {"0-8 = numpad 1", {0, 8, NumpadDigit(1)}, false, false},
        {"25 = F2, wait 2000", {25, 25, Tap(VK_F2).ThenWait(2000)}, false, false},
        {"30 = post 0x0111 5 0", {30, 30, Post(0x111, 5, 0)}, false, false},
        {"31=post 16 0x10 -1", {31, 31, Post(16, 16, -1)}, false, false},
        {"12 = command 3000 10001 main", {12, 12, Command(3000, 10001, Delivery::Main)}, false, false},
        {"0 - 8 = Command 4024 Digit 1 Plain", {0, 8, CommandDigit(4024, 1, Delivery::Plain)}, false, false},
        {"3852 = command 3000 digit 1 form-message", {3852, 3852, CommandDigit(3000, 1, Delivery::FormWithMessage)}, false, false},
        {"14 = forward", {14, 14, BringForward()}, false, false},
        {"40 = nothing, wait 500", {40, 40, NoAction().ThenWait(500)}, false, false},
        {"7 = -", {7, 7, NoAction()}, false, true},
        {"11 = post key Return", {11, 11, PostKeyDown(VK_RETURN)}, false, false},
        {"1-9 = post digit 1", {1, 9, PostDigit(1)}, false, false},
        {"13 = shift + ctrl + z", {13, 13, Chord(VK_SHIFT, VK_CONTROL, 'Z')}, false, false},
        {"31 = Ctrl+Shift+Alt+Home", {31, 31, Chord(VK_CONTROL, VK_SHIFT, VK_MENU, VK_HOME)}, false, false},
        {"5 = Space, once", {5, 5, Tap(0x20)}, true, false},
        {"6 = Win+D, once, wait 100", {6, 6, Chord(VK_LWIN, 'D').ThenWait(100)}, true, false},
        {"8 = vk0xB3", {8, 8, Tap(0xB3)}, false, false},
        {"9 = MediaPlayPause", {9, 9, Tap(0xB3)}, false, false},
        {"0x1F = Esc", {31, 31, Tap(VK_ESCAPE)}, false, false},
    };
    for (const GoodRow& r : rows) {
        MapRow got{};
        char why[160] = "";
        ASSERT_TRUE(ParseMapRow(r.text, std::strlen(r.text), true, got, why, sizeof why))
            << r.text << ": " << why;
        EXPECT_TRUE(SameRow(got.row, r.row)) << r.text << " read as " << Show(got.row);
        EXPECT_EQ(got.bOnce, r.bOnce) << r.text;
        EXPECT_EQ(got.bRemove, r.bRemove) << r.text;
        char back[160];
        FormatMapRow(got.row, got.bOnce, back, sizeof back);
        MapRow again{};
        EXPECT_TRUE(ParseMapRow(back, std::strlen(back), true, again, why, sizeof why) &&
                    SameRow(again.row, got.row) && again.bOnce == got.bOnce)
            << r.text << " written as " << back;
    }
}

std::string DocExample() {
    std::ifstream in(RC_DOCS_DIR "/keymaps.md");
    std::stringstream doc;
    doc << in.rdbuf();
    std::string text = doc.str();
    std::size_t start = text.find("```ini\n");
    std::size_t end = text.find("```", start + 7);
    return start == std::string::npos || end == std::string::npos ? ""
                                                                  : text.substr(start + 7, end - start - 7);
}

TEST(KeymapFile, TheDocumentedExampleReadsAsWritten) {
    const KeymapFile& f = Parse(DocExample());
    ASSERT_EQ(f.nErrorsTotal, 0u) << Errors(f);
    ASSERT_EQ(f.nApps, 1u);
    const UserApp& player = f.apps[0];
    EXPECT_STREQ(player.szName, "Player");
    EXPECT_STREQ(player.szClass, "PlayerMainWindow");
    EXPECT_STREQ(player.szTitle, "Player -");
    EXPECT_TRUE(player.bTitlePrefix);
    EXPECT_STREQ(player.szExe, "C:\\Program Files\\Player\\player.exe");
    EXPECT_STREQ(player.szArgs, "/fullscreen");
    EXPECT_EQ(player.delivery, AppDelivery::Keys);
    EXPECT_EQ(player.repeat, AppRepeat::Tenth);
    EXPECT_EQ(player.maps[0].nCount, 8u);
    EXPECT_EQ(player.maps[3].nCount, 1u);  // 35key
    EXPECT_TRUE(f.rows[player.maps[0].nFirst + 5].bOnce);
    const MapSlice* savrin = f.overrides[static_cast<std::size_t>(BuiltinApp::Savrin)];
    EXPECT_EQ(savrin[0].nCount, 1u);
    EXPECT_EQ(savrin[1].nCount, 2u);
    EXPECT_TRUE(f.rows[savrin[1].nFirst + 1].bRemove);
    const MapSlice* ttm = f.overrides[static_cast<std::size_t>(BuiltinApp::TotalMedia35)];
    EXPECT_TRUE(ttm[1].nCount == 1 && ttm[2].nCount == 1 && ttm[3].nLine == 0 && ttm[4].nCount == 1);
    EXPECT_EQ(ttm[1].nFirst, ttm[4].nFirst);
}

struct Line {
    std::string text;
    const char* error;  // what its error says, nullptr for a good line
};

// Each bad line gives one error naming the file, its line and what was
// expected; the good lines around it are read.
TEST(KeymapFile, EachBadLineGivesItsErrorAndTheRestIsRead) {
    const std::vector<Line> lines = {
        {"5 = F1", "section header such as [Savrin] before rows"},
        {"[Savrin.41key]  ; comment", nullptr},
        {"5 = F3", nullptr},
        {"256 = F1", "scan code 0..255 (or 3852) or range such as 0-8 expected, found '256'"},
        {"5-3 = F1", "range with its lower code first"},
        {"0-3852 = F1", "range of scan codes 0..255"},
        {"6 = Ctl+P", "key name (see docs/keymaps.md) expected, found 'Ctl'"},
        {"7 = numpad 10", "digit 0..9 expected"},
        {"0-8 = numpad 2", "first digit that keeps the row within 9"},
        {"9 = F2, wait 20000", "'wait N' with N 0..10000 ms"},
        {"10 = F2, once, once", "one 'wait N' and one 'once'"},
        {"11 = command 3000 5 sideways", "delivery main, always"},
        {"12 = post 0x10 0", "lParam"},
        {"13 = A+B+C+D+E", "at most four keys"},
        {"14 F2", "'CODE = action' expected"},
        {"15 =", "action after '=' expected"},
        {"16 = -, wait 5", "nothing after '-'"},
        {"17 = F2 F3", "key name"},
        {"5 = F4", "code 5 already mapped at line 3"},
        {"99999999999999999999 = F1", "scan code"},
        {"18 = \x01", "found byte 0x01 at column 6"},
        {"19 = " + std::string(2000, 'A'), "line of at most 1024 characters"},
        {"20 = \xC3\xA9", "key name (see docs/keymaps.md) expected, found '?\?'"},
        {"21 = Return", nullptr},
        {"[Nowhere]", "Orbisk, OrbiskCenter"},
        {"22 = F1", nullptr},  // skipped with its section
        {"[Savrin.42key]", "layout 41key, 36key, 35key or 44key"},
        {"[Savrin.41key.41key]", "each once"},
        {"[Savrin.41key", "section header such as [Savrin.41key]"},
        {"[Savrin.36key.41key]", "41key already given at line 2"},
        {"[app:]", "application name"},
        {"[app:Player]", nullptr},
        {"title = " + std::string(70, 't'), "value of at most 63 characters"},
        {"class = PlayerWindow", nullptr},
        {"class = Other", "class already given at line 34"},
        {"colour = red", "scan code, or class, title"},
        {"delivery = fax", "keys or messages expected, found 'fax'"},
        {"repeat = none ; comment", nullptr},
        {"exe =", "value after '=' expected"},
        {"7 = -", "'-' removes built-in rows only"},
        {"11 = Space", nullptr},
        {"[app:player.35key]", nullptr},
        {"class = X", "scan code 0..255"},
        {"14 = Space", nullptr},
        {"[app:Nameless]", "class, title or title prefix for application 'Nameless' expected"},
        {"1 = A", nullptr},
    };
    std::string text;
    for (const Line& l : lines) text += l.text + "\r\n";
    const KeymapFile& f = Parse(text);

    std::size_t expected = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].error == nullptr) continue;
        ++expected;
        std::string want = "test.ini line " + std::to_string(i + 1) + ": ";
        bool found = false;
        for (std::size_t e = 0; e < f.nErrors; ++e) {
            std::string got = f.errors[e].szText;
            found = found || (got.compare(0, want.size(), want) == 0 &&
                              got.find(lines[i].error) != std::string::npos);
        }
        EXPECT_TRUE(found) << want << lines[i].error << "\nerrors:\n" << Errors(f);
    }
    EXPECT_EQ(f.nErrorsTotal, expected) << Errors(f);

    const MapSlice& savrin41 = f.overrides[static_cast<std::size_t>(BuiltinApp::Savrin)][1];
    ASSERT_EQ(savrin41.nCount, 2u);
    EXPECT_EQ(Show(f.rows[savrin41.nFirst].row), "5 = F3");
    EXPECT_EQ(Show(f.rows[savrin41.nFirst + 1].row), "21 = Return");
    ASSERT_EQ(f.nApps, 1u);  // the nameless one is left out
    EXPECT_STREQ(f.apps[0].szClass, "PlayerWindow");
    EXPECT_EQ(f.apps[0].szTitle[0], '\0');
    EXPECT_EQ(f.apps[0].repeat, AppRepeat::None);
    EXPECT_EQ(f.apps[0].maps[0].nCount, 1u);
    EXPECT_EQ(f.apps[0].maps[3].nCount, 1u);
}

std::string Repeat(const std::string& line, std::size_t times) {
    std::string text;
    for (std::size_t i = 0; i < times; ++i) text += line;
    return text;
}

// Whole files that are not key-map text give one error and nothing else;
// floods of rows or errors stop at their limits.
TEST(KeymapFile, FilesOutsideTheLimitsGiveOneErrorEach) {
    struct Case {
        std::string text;
        std::size_t nErrorsTotal;
        const char* first;  // the first error's text, after the file name
        std::size_t nRows;
    };
    std::string rowsEverywhere;
    for (std::size_t app = 0; app < kBuiltinAppCount; ++app)
        for (const char* layout : {"", ".41key", ".36key", ".35key", ".44key"}) {
            rowsEverywhere += std::string("[") + BuiltinAppName(static_cast<BuiltinApp>(app)) + layout + "]\n";
            for (int code = 0; code < 256; ++code) rowsEverywhere += std::to_string(code) + " = A\n";
        }
    std::string apps;
    for (int i = 0; i < 17; ++i) apps += "[app:A" + std::to_string(i) + "]\ntitle = T\n";
    std::string utf16 = "\xFF\xFE[\0S\0";
    utf16.resize(6);
    std::string nul = "[Savrin]\n1 = A\n2 = B\0\n";
    nul.resize(nul.size() + 1);
    const Case cases[] = {
        {std::string(kKeymapFileMaxBytes + 1, ';'), 1, "test.ini: larger than 256 KiB", 0},
        {utf16, 1, "test.ini line 1: UTF-16 text", 0},
        {nul, 1, "test.ini line 3: NUL byte", 0},
        {"\xEF\xBB\xBF[Savrin]\n1 = A", 0, nullptr, 1},
        {"[Savrin]\n" + Repeat("7 = A\n", 10000), 9999, "test.ini line 3: code 7 already mapped at line 2", 1},
        {rowsEverywhere, 1, "test.ini line 2058: at most 2048 map rows", kKeymapMaxRows},
        {apps, 1, "test.ini line 33: at most 16 user applications", 0},
        {Repeat("[", 300000), 1, "larger than 256 KiB", 0},
    };
    for (const Case& c : cases) {
        const KeymapFile& f = Parse(c.text);
        EXPECT_EQ(f.nErrorsTotal, c.nErrorsTotal) << Errors(f);
        EXPECT_EQ(f.nErrors, std::min(c.nErrorsTotal, kKeymapMaxErrors));
        EXPECT_EQ(f.nRows, c.nRows);
        if (c.first != nullptr && f.nErrors > 0) {
            EXPECT_NE(std::string(f.errors[0].szText).find(c.first), std::string::npos) << Errors(f);
        }
    }
}

// Good lines with random words put in, bytes dropped or changed reach
// every branch of the reader: whatever it keeps stays inside its limits.
TEST(KeymapFile, DamagedLinesKeepTheRecordConsistent) {
    const char* const good[] = {"[Savrin.41key]", "[app:P]", "[TotalMedia35.35key.44key]", "title = T",
                                "class = C", "0-8 = numpad 1", "5 = Ctrl+Shift+S, wait 100, once",
                                "3852 = command 3000 digit 1 main", "7 = -", "30 = post 0x111 5 -1",
                                "11 = post key Return", "1-9 = post digit 1", "[Orbisk]"};
    const char* const words[] = {"[", "]", "app:", ".36key", "=", "0", "255", "3852", "-", "0x",
                                 "ffffffff", " ", "digit", ",", "wait", "once", "+", ";", "\t",
                                 "\x7F", "\xFF", "forward"};
    std::uint32_t seed = 12345;
    auto next = [&seed](std::size_t n) {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<std::size_t>(seed >> 8) % n;
    };
    std::size_t rows = 0, errors = 0;
    for (int round = 0; round < 300; ++round) {
        std::string text;
        for (int line = 0; line < 40; ++line) {
            std::string l = good[next(sizeof good / sizeof good[0])];
            for (std::size_t hurt = next(3); hurt > 0 && !l.empty(); --hurt) {
                std::size_t at = next(l.size());
                switch (next(3)) {
                case 0: l.insert(at, words[next(sizeof words / sizeof words[0])]); break;
                case 1: l.erase(at, 1); break;
                default: l[at] = static_cast<char>(1 + next(255)); break;
                }
            }
            text += l + "\n";
        }
        const KeymapFile& f = Parse(text);
        rows += f.nRows;
        errors += f.nErrorsTotal;
        ASSERT_LE(f.nRows, kKeymapMaxRows);
        ASSERT_LE(f.nApps, kKeymapMaxUserApps);
        ASSERT_LE(f.nErrors, kKeymapMaxErrors);
        for (std::size_t i = 0; i < f.nRows; ++i) {
            const KeyRow& r = f.rows[i].row;
            ASSERT_TRUE(r.nFirst <= r.nLast && (r.nLast <= 255 || r.nFirst == kKeymapRemappedCode));
            ASSERT_TRUE(r.action.nDigit >= 0 && r.action.nDigit + (r.nLast - r.nFirst) <= 9);
        }
        for (const auto& app : f.overrides)
            for (const MapSlice& s : app) ASSERT_LE(s.nFirst + s.nCount, f.nRows);
        for (std::size_t a = 0; a < f.nApps; ++a) {
            ASSERT_TRUE(f.apps[a].szClass[0] != '\0' || f.apps[a].szTitle[0] != '\0');
            for (const MapSlice& s : f.apps[a].maps) ASSERT_LE(s.nFirst + s.nCount, f.nRows);
        }
    }
    EXPECT_GT(rows, 100u);  // both kinds of line are common
    EXPECT_GT(errors, 1000u);
}

}  // namespace

// The user's key-map file (RemoteControl.ini): rows that replace or remove
// rows of a built-in map, and user applications with maps of their own.
// The parser takes the file's bytes, makes no platform call, and fills a
// fixed-size record; docs/keymaps.md gives the grammar.
#pragma once
#include <cstddef>
#include <cstdint>

#include "controllers/actions.h"
#include "controllers/builtin_maps.h"

// Larger files are refused whole, so a cut-off half line is never read.
constexpr std::size_t kKeymapFileMaxBytes = 256 * 1024;
constexpr std::size_t kKeymapMaxLine = 1024;       // longer lines are skipped
constexpr std::size_t kKeymapMaxRows = 2048;       // in the whole file
constexpr std::size_t kKeymapMaxUserApps = 16;
constexpr std::size_t kKeymapMaxErrors = 64;       // kept; all are counted
constexpr std::uint32_t kKeymapMaxWaitMs = 10000;  // a wait blocks the key timer
constexpr std::uint32_t kKeymapRemappedCode = 3852;  // the 35-key remote's 12, remapped

// Map slots of an application: slot 0 for every layout, then 1 + layout
// index (41key, 36key, 35key, 44key). A layout's own slot goes before slot 0.
constexpr std::size_t kMapSlots = 1 + kLayoutCount;

struct MapRow {
    KeyRow row;
    bool bOnce;     // acts on a new press only, never on a held key's repeats
    bool bRemove;   // "-": the built-in row is gone, the code does nothing
};

// Rows [nFirst, nFirst + nCount) of KeymapFile::rows; nLine is the section
// line that gave them, 0 when no section did.
struct MapSlice {
    std::uint32_t nLine;
    std::uint16_t nFirst;
    std::uint16_t nCount;
};

enum class AppDelivery : std::uint8_t { Keys, Messages };  // keystrokes or posted keys
enum class AppRepeat : std::uint8_t { Every, Tenth, None }; // what a held key repeats

struct UserApp {
    char szName[32];
    char szClass[64];
    char szTitle[64];
    bool bTitlePrefix;   // szTitle starts the window's title
    char szExe[260];
    char szArgs[260];
    AppDelivery delivery;
    AppRepeat repeat;
    std::uint32_t nLine;  // of its [app:NAME] section
    MapSlice maps[kMapSlots];
};

struct KeymapError {
    std::uint32_t nLine;   // 0 for the file as a whole
    char szText[240];      // "FILE line N: what was expected, found ..."
};

// About 120 KB: keep it in static storage, not on a thread's stack.
struct KeymapFile {
    MapRow rows[kKeymapMaxRows];
    std::size_t nRows;
    MapSlice overrides[kBuiltinAppCount][kMapSlots];
    UserApp apps[kKeymapMaxUserApps];
    std::size_t nApps;
    KeymapError errors[kKeymapMaxErrors];
    std::size_t nErrors;       // kept in errors[]
    std::size_t nErrorsTotal;  // found
};

// Clears `out` and reads `length` bytes of the file named `fileName` (used
// in error texts only). Every bad line gives one error and the others are
// still read; a file too large, UTF-16 or holding NULs gives one error and
// nothing else.
void ParseKeymapFile(const char* fileName, const std::uint8_t* bytes, std::size_t length,
                     KeymapFile& out);

// ---- one map row, shared by the parser and its tests (keymap_row.cpp)
// Reads "CODES = ACTION[, wait N][, once]" (no comment, trimmed). `allowRemove`
// admits "-". On failure writes what was expected into `why`.
bool ParseMapRow(const char* text, std::size_t len, bool allowRemove, MapRow& out, char* why,
                 std::size_t whySize);

// ---- the writer (keymap_writer.cpp)
// "0-8 = numpad 1", "25 = F2, wait 2000"; returns the length it needed
// (the text is cut to fit `size`, always terminated).
std::size_t FormatMapRow(const KeyRow& row, bool bOnce, char* out, std::size_t size);
// A section header and one line per row, as the parser reads them back.
std::size_t WriteKeymapSection(const char* header, const KeyRow* rows, std::size_t count,
                               char* out, std::size_t size);
// "Savrin.41key", "TotalMedia35.41key.36key.44key", "Orbisk" (every layout).
std::size_t MapSectionName(const BuiltinMap& map, char* out, std::size_t size);
// A whole export file of one built-in map as it runs on the boards named by
// `boards` (nullptr for a map without variant rows): comments, then the section.
std::size_t WriteBuiltinMapFile(const BuiltinMap& map, const KeyRow* rows, std::size_t count,
                                const char* boards, char* out, std::size_t size);

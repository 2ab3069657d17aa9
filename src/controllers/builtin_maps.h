// The built-in key maps, read-only: which application and remote layouts
// each const table serves. The key-map file names them, and its export and
// round trip read them; the controllers still run their own tables.
#pragma once
#include <cstddef>
#include <cstdint>

#include "controllers/actions.h"
#include "controllers/totalmedia35.h"

enum class BuiltinApp : std::uint8_t {
    Orbisk, OrbiskCenter, Savrin, MediaCenter, TotalMedia35, ArcSoftTV5, PowerCinema, TVEnhance
};
constexpr std::size_t kBuiltinAppCount = 8;
// The name a key-map file's section uses, as the record is called.
const char* BuiltinAppName(BuiltinApp app);

// Remote layouts as bits (nIRKEYType 1, 2, 3, anything else).
constexpr std::uint8_t kLayout41 = 1;
constexpr std::uint8_t kLayout36 = 2;
constexpr std::uint8_t kLayout35 = 4;
constexpr std::uint8_t kLayout44 = 8;
constexpr std::uint8_t kLayoutEvery = 15;
constexpr std::size_t kLayoutCount = 4;
// "41key", "36key", "35key", "44key" for layout index 0..3 (bit 1 << index).
const char* LayoutName(std::size_t index);

struct BuiltinMap {
    BuiltinApp app;
    std::uint8_t layouts;                // the layouts the router gives this table
    const KeyRow* pRows;
    std::size_t nRows;
    const BoardVariantRow* pVariants;    // rows that follow nBoardVariant, or nullptr
    std::size_t nVariants;
    const char* szNote;                  // keys handled outside the table, or nullptr
};
struct BuiltinMapList {
    const BuiltinMap* pMaps;
    std::size_t nMaps;
};

// One accessor per controller file.
BuiltinMapList OrbiskBuiltinMaps();
BuiltinMapList OrbiskCenterBuiltinMaps();
BuiltinMapList SavrinBuiltinMaps();
BuiltinMapList MediaCenterBuiltinMaps();
BuiltinMapList TotalMedia35BuiltinMaps();
BuiltinMapList ArcSoftTV5BuiltinMaps();
BuiltinMapList PowerCinemaBuiltinMaps();
BuiltinMapList TVEnhanceBuiltinMaps();

// Every built-in map, application by application; nullptr past the end.
const BuiltinMap* BuiltinMapAt(std::size_t index);

// The table as a board with this nBoardVariant runs it: each variant row's
// choice in place of the table's row. Writes at most `cap` rows and returns
// how many the table has.
std::size_t ResolveBoardVariant(const BuiltinMap& map, std::uint8_t variant, KeyRow* out,
                                std::size_t cap);

#include "controllers/builtin_maps.h"

namespace {

const char* const kAppNames[kBuiltinAppCount] = {
    "Orbisk", "OrbiskCenter", "Savrin", "MediaCenter",
    "TotalMedia35", "ArcSoftTV5", "PowerCinema", "TVEnhance",
};

const char* const kLayoutNames[kLayoutCount] = {"41key", "36key", "35key", "44key"};

using ListFn = BuiltinMapList (*)();
const ListFn kLists[kBuiltinAppCount] = {
    OrbiskBuiltinMaps,       OrbiskCenterBuiltinMaps, SavrinBuiltinMaps,
    MediaCenterBuiltinMaps,  TotalMedia35BuiltinMaps, ArcSoftTV5BuiltinMaps,
    PowerCinemaBuiltinMaps,  TVEnhanceBuiltinMaps,
};

}  // namespace

const char* BuiltinAppName(BuiltinApp app) {
    auto i = static_cast<std::size_t>(app);
    return i < kBuiltinAppCount ? kAppNames[i] : "";
}

const char* LayoutName(std::size_t index) { return index < kLayoutCount ? kLayoutNames[index] : ""; }

const BuiltinMap* BuiltinMapAt(std::size_t index) {
    for (ListFn list : kLists) {
        BuiltinMapList maps = list();
        if (index < maps.nMaps) return &maps.pMaps[index];
        index -= maps.nMaps;
    }
    return nullptr;
}

std::size_t ResolveBoardVariant(const BuiltinMap& map, std::uint8_t variant, KeyRow* out,
                                std::size_t cap) {
    for (std::size_t i = 0; i < map.nRows && i < cap; ++i) {
        KeyRow row = map.pRows[i];
        for (std::size_t v = 0; v < map.nVariants; ++v) {
            const BoardVariantRow& choice = map.pVariants[v];
            if (choice.nCode < row.nFirst || choice.nCode > row.nLast) continue;
            bool listed = false;
            for (std::size_t k = 0; k < choice.nVariants && k < sizeof choice.variants; ++k)
                listed = listed || choice.variants[k] == variant;
            // Variant rows are single codes in the tables; a range would split.
            row.action = listed ? choice.inList : choice.otherwise;
        }
        out[i] = row;
    }
    return map.nRows;
}

// The key-map export: every built-in map as a key-map file, and a printable
// chart of each, keyed by their path under docs/keymaps/.
#pragma once
#include <map>
#include <string>

#include "controllers/builtin_maps.h"

using ExportFiles = std::map<std::string, std::string>;

// One export of a map: its rows as the listed boards run them.
struct MapExport {
    const BuiltinMap* pMap;
    std::string name;    // file name without extension
    std::string boards;  // "1, 3, 5", "other than 1, 2, 3, 5, 9", or "" for every board
    std::string text;    // the key-map file
};

// Every built-in map, one export per distinct table its board variants run.
std::map<std::string, MapExport> ExportMaps();
// charts/NAME.html for each export.
void AddCharts(const std::map<std::string, MapExport>& maps, ExportFiles& files);

// keymaps --write DIR: writes every built-in key map into DIR/*.ini, and a
// printable chart of each into DIR/charts/*.html.
// keymaps --check DIR: compares DIR with what --write would write and names
// each file that is stale, missing or not ours; exits 1 if there is one.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <vector>

#include "controllers/keymap_file.h"
#include "keymaps.h"

namespace fs = std::filesystem;

namespace {

std::string BoardsText(const std::vector<int>& group, const std::set<int>& others) {
    std::string text;
    bool rest = group.size() > 16;  // the boards no variant row lists
    for (int v : rest ? std::vector<int>(others.begin(), others.end()) : group)
        text += (text.empty() ? "" : ", ") + std::to_string(v);
    return rest ? "other than " + text : text;
}

std::string FileText(const BuiltinMap& map, std::uint8_t variant, const char* boards) {
    KeyRow rows[256];
    std::size_t n = ResolveBoardVariant(map, variant, rows, 256);
    if (n > 256) n = 256;
    std::vector<char> buf(64 * 1024);
    std::size_t need = WriteBuiltinMapFile(map, rows, n, boards, buf.data(), buf.size());
    if (need >= buf.size()) {
        buf.resize(need + 1);
        WriteBuiltinMapFile(map, rows, n, boards, buf.data(), buf.size());
    }
    return buf.data();
}

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

std::map<std::string, MapExport> ExportMaps() {
    std::map<std::string, MapExport> out;
    for (std::size_t i = 0; const BuiltinMap* map = BuiltinMapAt(i); ++i) {
        char name[96];
        MapSectionName(*map, name, sizeof name);
        // Boards that run the same table share one export.
        std::vector<std::pair<std::string, std::vector<int>>> groups;
        for (int v = 0; v < (map->nVariants != 0 ? 256 : 1); ++v) {
            std::string text = FileText(*map, static_cast<std::uint8_t>(v), nullptr);
            std::size_t g = 0;
            while (g < groups.size() && groups[g].first != text) ++g;
            if (g == groups.size()) groups.push_back({text, {}});
            groups[g].second.push_back(v);
        }
        std::set<int> listed;
        for (const auto& g : groups)
            if (g.second.size() <= 16) listed.insert(g.second.begin(), g.second.end());
        for (const auto& g : groups) {
            MapExport e{map, name, "", g.first};
            if (groups.size() > 1) {
                e.boards = BoardsText(g.second, listed);
                bool rest = g.second.size() > 16;
                e.name += ".board-";
                for (int v : g.second) {
                    if (rest) break;
                    e.name += std::to_string(v) + (v == g.second.back() ? "" : "-");
                }
                if (rest) e.name += "other";
                e.text = FileText(*map, static_cast<std::uint8_t>(g.second[0]), e.boards.c_str());
            }
            out[e.name] = e;
        }
    }
    return out;
}

int main(int argc, char** argv) {
    if (argc != 3 || (std::strcmp(argv[1], "--write") != 0 && std::strcmp(argv[1], "--check") != 0)) {
        std::fprintf(stderr, "usage: keymaps --write DIR | --check DIR\n");
        return 2;
    }
    const fs::path dir = argv[2];
    std::map<std::string, MapExport> maps = ExportMaps();
    ExportFiles files;
    for (const auto& m : maps) files[m.first + ".ini"] = m.second.text;
    AddCharts(maps, files);

    if (std::strcmp(argv[1], "--write") == 0) {
        fs::create_directories(dir / "charts");
        for (const auto& f : files) std::ofstream(dir / f.first, std::ios::binary) << f.second;
        std::printf("%zu files written to %s\n", files.size(), dir.string().c_str());
        return 0;
    }
    int bad = 0;
    for (const auto& f : files) {
        if (!fs::exists(dir / f.first)) {
            std::printf("missing: %s\n", f.first.c_str());
            ++bad;
        } else if (Slurp(dir / f.first) != f.second) {
            std::printf("stale: %s (run keymaps --write)\n", f.first.c_str());
            ++bad;
        }
    }
    for (const fs::path& sub : {dir, dir / "charts"}) {
        if (!fs::is_directory(sub)) continue;
        for (const auto& entry : fs::directory_iterator(sub)) {
            if (!entry.is_regular_file()) continue;
            std::string rel = fs::relative(entry.path(), dir).generic_string();
            if (files.count(rel) == 0) {
                std::printf("not written by keymaps: %s\n", rel.c_str());
                ++bad;
            }
        }
    }
    std::printf("%zu files checked, %d differ\n", files.size(), bad);
    return bad == 0 ? 0 : 1;
}

// Key-map files written inline in a scenario:
//   keymap "C:\Users\User\AppData\Roaming\Remote Control\RemoteControl.ini"
//   keymap> [Savrin.41key]
//   keymap> 13 = command 3000 500 main
// Each `keymap>` line is one line of the last file named, taken as it is
// (`#` and `;` included), ending in CR LF as a Windows editor saves it.
#include <map>
#include <sstream>

#include "os/sim/sim.h"
#include "scenario.h"

namespace rcsim {

namespace {
const char kContentMark[] = "keymap>";
}  // namespace

bool IsKeymapContentLine(const std::string& line) {
    const std::size_t at = line.find_first_not_of(" \t");
    return at != std::string::npos && line.compare(at, sizeof kContentMark - 1, kContentMark) == 0;
}

bool ApplyKeymapFiles(const std::string& text, std::string* error) {
    std::istringstream in(text);
    std::string line, path;
    std::map<std::string, std::string> files;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (IsKeymapContentLine(line)) {
            if (path.empty()) {
                *error = std::to_string(number) + ": keymap> before any keymap \"path\" line";
                return false;
            }
            std::string rest = line.substr(line.find(kContentMark) + sizeof kContentMark - 1);
            if (!rest.empty() && rest[0] == ' ') rest.erase(0, 1);
            files[path] += rest + "\r\n";
            continue;
        }
        std::vector<std::string> words;
        std::string why;
        if (!SplitWords(line, &words, &why) || words.empty() || words[0] != "keymap") continue;
        if (words.size() != 2 || words[1].empty()) {
            *error = std::to_string(number) + ": expected keymap \"path\"";
            return false;
        }
        path = words[1];
        files[path];  // a file named with no lines exists and is empty
    }
    for (const auto& file : files) sim::SetFileContent(file.first, file.second);
    return true;
}

}  // namespace rcsim

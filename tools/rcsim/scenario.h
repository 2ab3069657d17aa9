// Reading a scenario file (format in docs/scenarios.md) into the simulated
// world and a list of steps to play.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace rcsim {

struct Scenario {
    std::uint32_t start = 0;       // virtual time of the program start
    bool startProgram = true;      // "program off" plays the world alone
    std::vector<std::uint32_t> runs;  // the `run` lines, in order
    std::uint32_t lastEvent = 0;   // latest timeline offset, for the default run
};

// Parses `text`. World lines take effect at once (the caller has reset the
// simulation to `start`, which the first pass finds); timeline lines are
// scheduled. On error returns false with "LINE: message" in `error`.
bool ReadStart(const std::string& text, std::uint32_t* start, std::string* error);
bool Apply(const std::string& text, Scenario* scenario, std::string* error);

// The inline key-map files (`keymap "path"`, then `keymap>` lines): written
// into the simulated host's files. On error "LINE: message" in `error`.
bool ApplyKeymapFiles(const std::string& text, std::string* error);
bool IsKeymapContentLine(const std::string& line);

// Splits a line into words; "quoted text" is one word, with \" for a quote.
bool SplitWords(const std::string& line, std::vector<std::string>* words, std::string* error);

}  // namespace rcsim

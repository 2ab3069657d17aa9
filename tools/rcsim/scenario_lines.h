// The scenario reader's shared word helpers and the world lines of the card,
// its driver and the registry (scenario_devices.cpp).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "os/sim/sim.h"

namespace rcsim {

using Words = std::vector<std::string>;

bool Number(const std::string& word, std::uint32_t* value);
// "key=value" words after the first `from` words.
bool Option(const Words& w, std::size_t from, const std::string& key, std::uint32_t* value,
            bool* bad);
bool Flag(const Words& w, std::size_t from, const std::string& flag);
// `"Class" "Title" [hidden] [bottom] [closable] [owner=NAME]` from word `from`.
bool WindowFrom(const Words& w, std::size_t from, sim::WindowDesc* desc, std::string* error);

bool Board(const Words& w, std::string* error);
bool Tuner(const Words& w, std::string* error);
// "Path" "Name" dword N | sz "text" | binary XX XX ..., from word `from`.
bool RegValueFrom(const Words& w, std::size_t from, std::uint32_t* type,
                  std::vector<std::uint8_t>* data, std::string* error);
bool Registry(const Words& w, std::string* error);
bool Filter(const Words& w, std::string* error);

}  // namespace rcsim

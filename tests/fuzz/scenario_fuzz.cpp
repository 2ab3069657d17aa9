// Any text as a scenario file: the reader either takes it or names the line
// it stopped at; a scenario it takes is played with the program for at most
// five virtual seconds, whatever its timeline asks.
#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/program.h"
#include "os/sim/sim.h"
#include "scenario.h"

namespace {

void Check(bool ok) {
    if (!ok) __builtin_trap();
}

// "LINE: message", as rcsim prints it after the file name.
bool NamesALine(const std::string& error) {
    const std::size_t colon = error.find(':');
    return colon != std::string::npos && colon > 0 &&
           std::all_of(error.begin(), error.begin() + colon,
                       [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    rcsim::Scenario scenario;
    std::string error;
    if (!rcsim::ReadStart(text, &scenario.start, &error)) {
        Check(NamesALine(error));
        return 0;
    }
    sim::Reset(scenario.start);
    if (!rcsim::Apply(text, &scenario, &error)) {
        Check(NamesALine(error));
        return 0;
    }
    if (scenario.startProgram) ProgramStartUp(os::GetModuleHandleA(nullptr));
    sim::Run(std::min<std::uint32_t>(scenario.lastEvent + 1000, 5000));
    return 0;
}

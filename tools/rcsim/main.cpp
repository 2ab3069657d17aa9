// rcsim FILE: plays a scenario against the simulated desktop and prints
// every effect with its virtual time, one per line.
// rcsim --check FILE: plays it and compares the output with the lines the
// scenario expects ("#>" in order, "#!" nowhere); prints what is missing.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "os/sim/sim.h"
#include "scenario.h"

#if __has_include("app/program.h")
#include "app/program.h"
#define RCSIM_HAS_PROGRAM 1
#endif

namespace {

std::vector<std::string> Marked(const std::string& text, const char* mark) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.compare(0, 2, mark) != 0) continue;
        line.erase(0, 2);
        if (!line.empty() && line[0] == ' ') line.erase(0, 1);
        lines.push_back(line);
    }
    return lines;
}

int Check(const std::string& text, const std::vector<std::string>& output) {
    int failures = 0;
    std::size_t at = 0;
    for (const std::string& want : Marked(text, "#>")) {
        std::size_t i = at;
        while (i < output.size() && output[i] != want) ++i;
        if (i == output.size()) {
            std::printf("missing (after output line %zu): %s\n", at, want.c_str());
            ++failures;
        } else {
            at = i + 1;
        }
    }
    for (const std::string& banned : Marked(text, "#!"))
        for (const std::string& line : output)
            if (line.find(banned) != std::string::npos) {
                std::printf("unexpected: %s\n", line.c_str());
                ++failures;
            }
    if (failures) {
        std::printf("--- output\n");
        for (const std::string& line : output) std::printf("%s\n", line.c_str());
    }
    return failures ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    const bool check = argc == 3 && std::strcmp(argv[1], "--check") == 0;
    if (argc != 2 && !check) {
        std::fprintf(stderr, "usage: rcsim [--check] FILE\n");
        return 2;
    }
    const char* file = argv[argc - 1];
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "rcsim: cannot read %s\n", file);
        return 2;
    }
    std::stringstream buffer;
    buffer << in.rdbuf();
    const std::string text = buffer.str();

    rcsim::Scenario scenario;
    std::string error;
    if (!rcsim::ReadStart(text, &scenario.start, &error)) {
        std::fprintf(stderr, "rcsim: %s:%s\n", file, error.c_str());
        return 2;
    }
    sim::Reset(scenario.start);
    if (!rcsim::Apply(text, &scenario, &error)) {
        std::fprintf(stderr, "rcsim: %s:%s\n", file, error.c_str());
        return 2;
    }
    if (scenario.startProgram) {
#ifdef RCSIM_HAS_PROGRAM
        ProgramStartUp(os::GetModuleHandleA(nullptr));
#else
        std::fprintf(stderr, "rcsim: this build has no program to start\n");
        return 2;
#endif
    }
    if (scenario.runs.empty()) scenario.runs.push_back(scenario.lastEvent + 1000);
    for (std::uint32_t ms : scenario.runs) sim::Run(ms);
    const std::vector<std::string> output = sim::EffectLines();
    if (check) return Check(text, output);
    for (const std::string& line : output) std::printf("%s\n", line.c_str());
    return 0;
}

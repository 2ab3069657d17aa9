// Shell starts with scripted results, and modal message boxes answered by
// a scripted user while the scheduler keeps running timers inside them.
#include <deque>
#include <vector>

#include "os/sim/sim_world.h"

namespace {

struct Answer {
    int result;
    bool absolute;
    std::uint64_t at;       // elapsed time when absolute
    std::uint32_t afterMs;  // else: this long after the box opens
};

struct LaunchWindow {
    std::string file;
    sim::WindowDesc desc;
    std::uint32_t delayMs;
};

constexpr std::uint32_t kStarted = 42;
constexpr std::uint32_t kFileNotFound = 2;  // ERROR_FILE_NOT_FOUND

struct Shell {
    bool forced = false;  // else answered from the world's files
    std::uint32_t result = 0;
    std::deque<Answer> answers;
    int openBoxes = 0;
    std::uint64_t boxesEver = 0;  // keys for the modal record; dialogs use their handles
    std::vector<LaunchWindow> launches;
};
Shell g_shell;

}  // namespace

namespace sim {

void SetShellExecuteResult(std::uint32_t value) {
    g_shell.forced = true;
    g_shell.result = value;
}

void AnswerMessageBox(int result, std::uint32_t afterMs) {
    g_shell.answers.push_back(Answer{result, false, 0, afterMs});
}

void AnswerMessageBoxAt(std::uint32_t time, int result) {
    g_shell.answers.push_back(Answer{result, true, world::ElapsedAt(time), 0});
}

int OpenMessageBoxCount() { return g_shell.openBoxes; }

void SetLaunchWindow(const std::string& file, const WindowDesc& desc, std::uint32_t delayMs) {
    g_shell.launches.push_back(LaunchWindow{file, desc, delayMs});
}

namespace world {
void ResetShell() { g_shell = Shell(); }
}  // namespace world

namespace {

// As Windows answers: a file that is there starts (a scripted launch says
// its program is installed there); any other is not found.
std::uint32_t WorldResult(const char* file) {
    if (g_shell.forced) return g_shell.result;
    if (file == nullptr) return kFileNotFound;
    if (FileExists(file)) return kStarted;
    for (const auto& l : g_shell.launches)
        if (world::SameIgnoringCase(l.file.c_str(), file)) return kStarted;
    return kFileNotFound;
}

}  // namespace

}  // namespace sim

namespace os {

std::uint32_t ShellExecuteA(Hwnd owner, const char* verb, const char* file, const char* params,
                            const char* dir, int showCmd) {
    std::int64_t fault = 0;
    const std::uint32_t result = sim::world::TakeFault(sim::Call::ShellExecuteA, &fault)
                                     ? static_cast<std::uint32_t>(fault)
                                     : sim::WorldResult(file);
    std::string line = "shell " + sim::world::Quote(verb) + " " + sim::world::Quote(file) + " " +
                       sim::world::Quote(params);
    if (dir) line += " dir=" + sim::world::Quote(dir);
    line += " show=" + std::to_string(showCmd) + " -> " + std::to_string(result);
    sim::Log(line);
    if (result > 32) {
        for (const auto& l : g_shell.launches)
            if (sim::world::SameIgnoringCase(l.file.c_str(), file)) sim::AddWindowAt(sim::Now() + l.delayMs, l.desc);
    }
    return result;
}

int MessageBoxA(Hwnd owner, const char* text, const char* caption, std::uint32_t type) {
    std::string line = "messagebox " + sim::world::Quote(text) + " " + sim::world::Quote(caption) +
                       " style=" + sim::world::Hex(type, 8);
    if (owner) line += " owner=" + sim::DescribeWindow(owner);
    Answer answer{1, false, 0, 0};  // IDOK at once when nobody scripted an answer
    if (!g_shell.answers.empty()) {
        answer = g_shell.answers.front();
        g_shell.answers.pop_front();
    }
    // One line when the box opens, with the answer the user is going to give.
    sim::Log(line + " -> " + std::to_string(answer.result));
    const std::uint64_t until =
        answer.absolute ? answer.at : sim::world::Elapsed() + answer.afterMs;
    ++g_shell.openBoxes;
    const std::uint64_t key = ++g_shell.boxesEver;
    sim::world::ModalOpened(key);
    sim::world::Pump(until, false);
    sim::world::ModalClosed(key);
    --g_shell.openBoxes;
    return answer.result;
}

}  // namespace os

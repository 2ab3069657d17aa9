// The simulated notification area: keeps the icons and logs every call.
#include <cstdio>
#include <cstring>
#include <string>

#include "os/shell.h"
#include "os/sim/sim.h"
#include "os/sim/sim_world.h"

namespace {

const char* NimName(std::uint32_t message) {
    switch (message) {
    case os::NIM_ADD: return "add";
    case os::NIM_MODIFY: return "modify";
    case os::NIM_DELETE: return "delete";
    default: return "?";
    }
}

}  // namespace

namespace os {

int Shell_NotifyIconA(std::uint32_t message, const NotifyIconData* data) {
    char tip[sizeof data->szTip];
    std::memcpy(tip, data->szTip, sizeof tip);
    tip[sizeof tip - 1] = '\0';
    char line[200];
    std::snprintf(line, sizeof line, "tray %s size=%u id=%u flags=%u msg=%u icon=%u tip=\"%s\"",
                  NimName(message), data->cbSize, data->uID, data->uFlags, data->uCallbackMessage,
                  data->iconId, tip);
    sim::Log(line);
    sim::world::NoteTrayCall(message, data->hWnd, data->uID, data->uFlags, data->uCallbackMessage);
    return 1;
}

}  // namespace os

// Registry values of any type and size, under every name the program reads,
// into the settings store, the Media Center probes and the application
// locator. Each input is a list of records: one byte picks the value, one
// its type, one byte (and the next) its length, then the data. Afterwards
// the records hold terminated texts, flags of 0 or 1, and no key is left
// open.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "app/program.h"
#include "config/host_probes.h"
#include "config/settings_store.h"
#include "controllers/controller_table.h"
#include "os/sim/sim.h"
#include "os/sim/sim_registry.h"

namespace {

struct Place {
    const char* path;
    const char* name;
};
// Every value the program reads.
const Place kPlaces[] = {
    {"Software\\Tarvel Multimedia\\RI Darer Izaz Ivararadi", "DefaultTVAPP"},
    {"Software\\Tarvel Multimedia\\RI Darer Izaz Ivararadi", "AlwaysRemoteOff"},
    {"Software\\Tarvel Multimedia\\RI Darer Izaz Ivararadi", "Default41keyIR"},
    {"Software\\Tarvel Multimedia\\RI Darer Izaz Ivararadi", "PDCounter"},
    {"SOFTWARE\\ArcSoft\\ArcSoft TV\\5.0", "AppPath"},
    {"SOFTWARE\\ArcSoft\\TotalMedia", "AppPath"},
    {"Software\\Tarvel Multimedia\\Quessa\\Vorn", "AppPath"},
    {"SOFTWARE\\Classes\\Applications\\ehshell.exe\\shell\\open\\command", ""},
    {"SOFTWARE\\CyberLink\\PowerCinema", "InstallPath"},
    {"SOFTWARE\\CyberLink\\TVEnhance", "InstallPath"},
    {"Software\\Tarvel Multimedia\\Pelko", "AppPath"},
    {"Software\\Tarvel Multimedia\\Mirrow\\Vorn", "AppPath"},
    {"Software\\Tarvel Multimedia\\Zinder\\Vorn", "AppPath"},
    {"System\\WPA\\MediaCenter", "Installed"},
    {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Media Center", "Ident"},
};
constexpr std::size_t kPlaceCount = sizeof kPlaces / sizeof kPlaces[0];

void Check(bool ok) {
    if (!ok) __builtin_trap();
}

template <std::size_t N>
void Terminated(const char (&text)[N]) {
    Check(std::memchr(text, '\0', N) != nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    sim::Reset();
    std::size_t at = 0;
    while (at + 4 <= size) {
        const Place& place = kPlaces[data[at] % kPlaceCount];
        const std::uint32_t type = data[at + 1] % 12;  // REG_NONE .. REG_QWORD
        std::size_t length = data[at + 2] | (data[at + 3] & 0x01) << 8;  // up to 511 bytes
        at += 4;
        if (length > size - at) length = size - at;
        sim::SetRegValue(place.path, place.name, type,
                         std::vector<std::uint8_t>(data + at, data + at + length));
        at += length;
    }
    if (size > 0 && data[0] & 0x80) sim::SetRegAccess("Software", sim::RegAccess::ReadOnly);
    InitProcessRecords();
    LoadSettings();
    IsMediaCenterAvailable();
    Check(AlwaysRemoteOff == 0 || AlwaysRemoteOff == 1);
    for (const ControllerSlot& slot : ControllerSlots) {
        const AppController& app = *slot.pApp;
        Check(app.bInstalled == 0 || app.bInstalled == 1);
        Terminated(app.szInstallDir);
        Terminated(app.szExeName);
        Terminated(app.szClassName);
        Terminated(app.szWindowTitle);
    }
    Check(sim::OpenRegKeyCount() == 0);
    return 0;
}

// Synthetic key events: logged by virtual-key name, and a plain Alt+F4
// closes a closable stand-in that has the foreground, as its system menu
// would. Under an AltGr layout the right Alt also holds a left Ctrl.
#include <cstring>

#include "os/sim/sim_world.h"

namespace {

constexpr std::uint8_t VK_CONTROL = 0x11;
constexpr std::uint8_t VK_MENU = 0x12;
constexpr std::uint8_t VK_F4 = 0x73;

bool g_down[256];
bool g_altGrLayout;
bool g_altGrCtrl;  // the left Ctrl a right Alt holds down as AltGr
const bool g_registered = (sim::AddResetHook([] {
                               std::memset(g_down, 0, sizeof g_down);
                               g_altGrLayout = false;
                               g_altGrCtrl = false;
                           }),
                           true);

const char* const kFKeys[] = {"VK_F1",  "VK_F2",  "VK_F3",  "VK_F4",  "VK_F5",  "VK_F6",
                              "VK_F7",  "VK_F8",  "VK_F9",  "VK_F10", "VK_F11", "VK_F12"};
const char* const kNumpad[] = {"VK_NUMPAD0", "VK_NUMPAD1", "VK_NUMPAD2", "VK_NUMPAD3",
                               "VK_NUMPAD4", "VK_NUMPAD5", "VK_NUMPAD6", "VK_NUMPAD7",
                               "VK_NUMPAD8", "VK_NUMPAD9"};

const char* NamedKey(std::uint8_t vk) {
    switch (vk) {
    case 0x08: return "VK_BACK";
    case 0x09: return "VK_TAB";
    case 0x0D: return "VK_RETURN";
    case 0x10: return "VK_SHIFT";
    case 0x11: return "VK_CONTROL";
    case 0x12: return "VK_MENU";
    case 0x13: return "VK_PAUSE";
    case 0x14: return "VK_CAPITAL";
    case 0x1B: return "VK_ESCAPE";
    case 0x20: return "VK_SPACE";
    case 0x21: return "VK_PRIOR";
    case 0x22: return "VK_NEXT";
    case 0x23: return "VK_END";
    case 0x24: return "VK_HOME";
    case 0x25: return "VK_LEFT";
    case 0x26: return "VK_UP";
    case 0x27: return "VK_RIGHT";
    case 0x28: return "VK_DOWN";
    case 0x2C: return "VK_SNAPSHOT";
    case 0x2D: return "VK_INSERT";
    case 0x2E: return "VK_DELETE";
    case 0x5B: return "VK_LWIN";
    case 0x5C: return "VK_RWIN";
    case 0x5D: return "VK_APPS";
    case 0x6A: return "VK_MULTIPLY";
    case 0x6B: return "VK_ADD";
    case 0x6D: return "VK_SUBTRACT";
    case 0x6E: return "VK_DECIMAL";
    case 0x6F: return "VK_DIVIDE";
    case 0xAD: return "VK_VOLUME_MUTE";
    case 0xAE: return "VK_VOLUME_DOWN";
    case 0xAF: return "VK_VOLUME_UP";
    case 0xB0: return "VK_MEDIA_NEXT_TRACK";
    case 0xB1: return "VK_MEDIA_PREV_TRACK";
    case 0xB2: return "VK_MEDIA_STOP";
    case 0xB3: return "VK_MEDIA_PLAY_PAUSE";
    case 0xBB: return "VK_OEM_PLUS";
    case 0xBC: return "VK_OEM_COMMA";
    case 0xBD: return "VK_OEM_MINUS";
    case 0xBE: return "VK_OEM_PERIOD";
    case 0xBF: return "VK_OEM_2";
    default: break;
    }
    if (vk >= 0x60 && vk <= 0x69) return kNumpad[vk - 0x60];
    if (vk >= 0x70 && vk <= 0x7B) return kFKeys[vk - 0x70];
    return nullptr;
}

}  // namespace

namespace sim {
namespace world {

std::string VkName(std::uint8_t vk) {
    if (const char* name = NamedKey(vk)) return name;
    // Letters and digits are their own virtual-key codes.
    if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) return std::string(1, char(vk));
    return Hex(vk, 2);
}

}  // namespace world

void SetAltGrLayout(bool on) { g_altGrLayout = on; }

std::vector<std::uint8_t> KeysDown() {
    std::vector<std::uint8_t> keys;
    for (int vk = 0; vk < 256; ++vk)
        if (g_down[vk] || (vk == VK_CONTROL && g_altGrCtrl)) keys.push_back(static_cast<std::uint8_t>(vk));
    return keys;
}

}  // namespace sim

namespace os {

void keybd_event(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags, std::uint32_t extraInfo) {
    const bool up = (flags & KEYEVENTF_KEYUP) != 0;
    std::string line = "keybd " + sim::world::VkName(vk) + (up ? " up" : " down");
    if (flags & KEYEVENTF_EXTENDEDKEY) line += " ext";
    if (const std::uint32_t rest = flags & ~(KEYEVENTF_KEYUP | KEYEVENTF_EXTENDEDKEY))
        line += " flags=" + sim::world::Hex(rest, 1);
    if (scan) line += " scan=" + sim::world::Hex(scan, 2);
    if (extraInfo) line += " extra=" + sim::world::Hex(extraInfo, 1);
    sim::Log(line);

    // Windows adds the Ctrl of AltGr itself (just before the right Alt);
    // it is logged after the call that caused it.
    if (vk == VK_MENU && (flags & KEYEVENTF_EXTENDEDKEY)) {
        if (!up && g_altGrLayout) {
            sim::Log("keybd VK_CONTROL down (altgr)");
            g_altGrCtrl = true;
        } else if (up && g_altGrCtrl) {
            sim::Log("keybd VK_CONTROL up (altgr)");
            g_altGrCtrl = false;
        }
    }
    const bool ctrl = g_down[VK_CONTROL] || g_altGrCtrl;
    const bool altF4 = !up && vk == VK_F4 && g_down[VK_MENU] && !ctrl;
    g_down[vk] = !up;
    if (!altF4) return;
    const Hwnd target = GetForegroundWindow();
    const sim::world::Window* w = sim::world::Find(target);
    if (w && w->closable && !w->proc) {
        sim::Log("world close " + sim::DescribeWindow(target));
        sim::world::Destroy(target);
    }
}

}  // namespace os

// The simulated registry and Windows version behind os/registry.h and
// os/host.h. Writes are recorded in the effect log; reads are not.
#include "os/sim/sim_registry.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <map>

#include "os/host.h"
#include "os/registry.h"
#include "os/sim/sim.h"
#include "os/sim/sim_world.h"

namespace {

struct Value {
    std::string name;
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
};

struct Key {
    std::string path;                    // as first written
    std::map<std::string, Value> values; // by lower-case name
};

struct Handle {
    std::string key;  // lower-case path
    bool writable;
};

struct Registry {
    std::map<std::string, Key> keys;  // by lower-case path; "" is the root
    std::map<std::string, sim::RegAccess> access;
    std::map<os::Hkey, Handle> handles;
    os::Hkey nextHandle = 0x1000;
    sim::WindowsVersion version;
    std::vector<std::pair<std::string, Value>> changes;  // path and value, set at a scripted time
    Registry() { keys[""]; }
};

Registry& Reg() {
    static Registry registry;
    return registry;
}

std::string Lower(const std::string& text) {
    std::string out = text;
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// Drops empty components, so "A\\\\B\\" names the key "A\\B".
std::string Normalize(const std::string& path) {
    std::string out;
    std::string part;
    for (std::size_t i = 0; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '\\') {
            if (!part.empty()) {
                if (!out.empty()) out += '\\';
                out += part;
            }
            part.clear();
        } else {
            part += path[i];
        }
    }
    return out;
}

std::string Join(const std::string& base, const std::string& sub) {
    if (base.empty()) return Normalize(sub);
    std::string s = Normalize(sub);
    return s.empty() ? base : base + '\\' + s;
}

std::string Parent(const std::string& path) {
    std::size_t at = path.rfind('\\');
    return at == std::string::npos ? std::string() : path.substr(0, at);
}

void EnsureKey(const std::string& path) {
    std::string p = Normalize(path);
    Registry& r = Reg();
    while (true) {
        std::string low = Lower(p);
        if (r.keys.count(low)) break;
        r.keys[low].path = p;
        if (p.empty()) break;
        p = Parent(p);
    }
    r.keys[""];
}

// The rights of the nearest key at or above `lowPath` that has any set.
sim::RegAccess AccessOf(const std::string& lowPath) {
    const Registry& r = Reg();
    std::string p = lowPath;
    while (true) {
        auto it = r.access.find(p);
        if (it != r.access.end()) return it->second;
        if (p.empty()) return sim::RegAccess::Full;
        p = Parent(p);
    }
}

bool WantsWrite(std::uint32_t access) { return (access & ~os::KEY_READ) != 0; }

const Handle* Find(os::Hkey key) {
    Registry& r = Reg();
    if (key == os::HKEY_LOCAL_MACHINE) {
        static Handle root{"", true};
        return &root;
    }
    auto it = r.handles.find(key);
    return it == r.handles.end() ? nullptr : &it->second;
}

os::Hkey NewHandle(const std::string& lowPath, bool writable) {
    Registry& r = Reg();
    os::Hkey h = r.nextHandle;
    r.nextHandle += 4;
    r.handles[h] = Handle{lowPath, writable};
    return h;
}

std::string DisplayPath(const std::string& lowPath) {
    auto it = Reg().keys.find(lowPath);
    return it == Reg().keys.end() ? lowPath : it->second.path;
}

std::string TypeName(std::uint32_t type) {
    switch (type) {
        case os::REG_NONE: return "REG_NONE";
        case os::REG_SZ: return "REG_SZ";
        case os::REG_EXPAND_SZ: return "REG_EXPAND_SZ";
        case os::REG_BINARY: return "REG_BINARY";
        case os::REG_DWORD: return "REG_DWORD";
        case os::REG_MULTI_SZ: return "REG_MULTI_SZ";
        case os::REG_QWORD: return "REG_QWORD";
        default: return "type" + std::to_string(type);
    }
}

std::string DescribeData(std::uint32_t type, const std::vector<std::uint8_t>& data) {
    if (type == os::REG_DWORD && data.size() == 4) {
        std::uint32_t v = 0;
        std::memcpy(&v, data.data(), 4);
        return std::to_string(v);
    }
    std::string out = std::to_string(data.size()) + " bytes";
    return out;
}

void ResetHook() { sim::ResetRegistry(); }

// Registers the registry's part of sim::Reset before any test runs.
const bool kHooked = (sim::AddResetHook(&ResetHook), true);

}  // namespace

namespace sim {

void ResetRegistry() {
    Registry& r = Reg();
    r.keys.clear();
    r.access.clear();
    r.handles.clear();
    r.nextHandle = 0x1000;
    r.version = WindowsVersion{};
    r.changes.clear();
    r.keys[""];
}

void SetRegValue(const std::string& path, const std::string& name, std::uint32_t type,
                 const std::vector<std::uint8_t>& data) {
    EnsureKey(path);
    Value& v = Reg().keys[Lower(Normalize(path))].values[Lower(name)];
    v.name = name;
    v.type = type;
    v.data = data;
}

void SetRegDword(const std::string& path, const std::string& name, std::uint32_t value) {
    std::vector<std::uint8_t> data(4);
    std::memcpy(data.data(), &value, 4);
    SetRegValue(path, name, os::REG_DWORD, data);
}

void SetRegString(const std::string& path, const std::string& name, const std::string& text) {
    std::vector<std::uint8_t> data(text.begin(), text.end());
    data.push_back(0);
    SetRegValue(path, name, os::REG_SZ, data);
}

void AddRegKey(const std::string& path) { EnsureKey(path); }

void DeleteRegValue(const std::string& path, const std::string& name) {
    auto it = Reg().keys.find(Lower(Normalize(path)));
    if (it != Reg().keys.end()) it->second.values.erase(Lower(name));
}

void DeleteRegKey(const std::string& path) {
    std::string low = Lower(Normalize(path));
    if (low.empty()) return;
    auto& keys = Reg().keys;
    for (auto it = keys.begin(); it != keys.end();) {
        const std::string& k = it->first;
        bool below = k == low || (k.size() > low.size() && k.compare(0, low.size(), low) == 0 &&
                                  k[low.size()] == '\\');
        it = below ? keys.erase(it) : std::next(it);
    }
}

bool RegKeyExists(const std::string& path) { return Reg().keys.count(Lower(Normalize(path))) != 0; }

bool GetRegValue(const std::string& path, const std::string& name, std::uint32_t* type,
                 std::vector<std::uint8_t>* data) {
    auto k = Reg().keys.find(Lower(Normalize(path)));
    if (k == Reg().keys.end()) return false;
    auto v = k->second.values.find(Lower(name));
    if (v == k->second.values.end()) return false;
    if (type) *type = v->second.type;
    if (data) *data = v->second.data;
    return true;
}

bool GetRegDword(const std::string& path, const std::string& name, std::uint32_t* value) {
    std::vector<std::uint8_t> data;
    if (!GetRegValue(path, name, nullptr, &data) || data.size() != 4) return false;
    if (value) std::memcpy(value, data.data(), 4);
    return true;
}

// ---- values another program sets while this one runs

namespace {

void PlayChange(std::uint32_t index) {
    if (index >= Reg().changes.size()) return;
    const std::string path = Reg().changes[index].first;
    const Value v = Reg().changes[index].second;
    sim::Log("world reg \"" + path + "\" \"" + v.name + "\" " + TypeName(v.type) + " " +
             DescribeData(v.type, v.data));
    SetRegValue(path, v.name, v.type, v.data);
}

}  // namespace

void SetRegValueAt(std::uint32_t time, const std::string& path, const std::string& name,
                   std::uint32_t type, const std::vector<std::uint8_t>& data) {
    Reg().changes.push_back({path, Value{name, type, data}});
    world::Schedule(world::ElapsedAt(time), PlayChange, static_cast<std::uint32_t>(Reg().changes.size() - 1));
}

void SetRegAccess(const std::string& path, RegAccess access) {
    Reg().access[Lower(Normalize(path))] = access;
}

std::uint32_t OpenRegKeyCount() { return static_cast<std::uint32_t>(Reg().handles.size()); }

void SetWindowsVersion(const WindowsVersion& version) { Reg().version = version; }

}  // namespace sim

namespace os {

std::int32_t RegOpenKeyExA(Hkey key, const char* subKey, std::uint32_t access, Hkey* result) {
    if (!result) return 87;  // ERROR_INVALID_PARAMETER
    *result = 0;
    const Handle* h = Find(key);
    if (!h) return ERROR_INVALID_HANDLE;
    std::string low = Lower(Join(DisplayPath(h->key), subKey ? subKey : ""));
    if (!Reg().keys.count(low)) return ERROR_FILE_NOT_FOUND;
    sim::RegAccess rights = AccessOf(low);
    if (rights == sim::RegAccess::None) return ERROR_ACCESS_DENIED;
    if (rights == sim::RegAccess::ReadOnly && WantsWrite(access)) return ERROR_ACCESS_DENIED;
    *result = NewHandle(low, WantsWrite(access));
    return ERROR_SUCCESS;
}

// The old call asks for the most rights the caller has.
std::int32_t RegOpenKeyA(Hkey key, const char* subKey, Hkey* result) {
    if (!result) return 87;
    const Handle* h = Find(key);
    if (!h) return ERROR_INVALID_HANDLE;
    std::string low = Lower(Join(DisplayPath(h->key), subKey ? subKey : ""));
    bool full = AccessOf(low) == sim::RegAccess::Full;
    return RegOpenKeyExA(key, subKey, full ? KEY_ALL_ACCESS : KEY_READ, result);
}

std::int32_t RegCreateKeyExA(Hkey key, const char* subKey, std::uint32_t access, Hkey* result) {
    if (!result) return 87;
    *result = 0;
    const Handle* h = Find(key);
    if (!h) return ERROR_INVALID_HANDLE;
    std::string path = Join(DisplayPath(h->key), subKey ? subKey : "");
    std::string low = Lower(path);
    if (Reg().keys.count(low)) return RegOpenKeyExA(key, subKey, access, result);
    // Rights set on a path hold for keys created below it later.
    if (!h->writable || AccessOf(low) != sim::RegAccess::Full) return ERROR_ACCESS_DENIED;
    EnsureKey(path);
    sim::Log("reg create \"" + path + "\"");
    *result = NewHandle(low, WantsWrite(access));
    return ERROR_SUCCESS;
}

std::int32_t RegQueryValueExA(Hkey key, const char* name, std::uint32_t* type, void* data,
                              std::uint32_t* size) {
    const Handle* h = Find(key);
    if (!h) return ERROR_INVALID_HANDLE;
    if (data && !size) return 998;  // ERROR_NOACCESS
    auto k = Reg().keys.find(h->key);
    if (k == Reg().keys.end()) return 1018;  // ERROR_KEY_DELETED
    auto v = k->second.values.find(Lower(name ? name : ""));
    if (v == k->second.values.end()) return ERROR_FILE_NOT_FOUND;
    const Value& value = v->second;
    std::uint32_t need = static_cast<std::uint32_t>(value.data.size());
    if (type) *type = value.type;
    if (!data) {
        if (size) *size = need;
        return ERROR_SUCCESS;
    }
    if (*size < need) {
        // What the buffer holds now is undefined; make a caller that uses
        // it anyway see garbage rather than a plausible value.
        std::memset(data, 0xCD, *size);
        *size = need;
        return ERROR_MORE_DATA;
    }
    if (need) std::memcpy(data, value.data.data(), need);
    *size = need;
    return ERROR_SUCCESS;
}

std::int32_t RegSetValueExA(Hkey key, const char* name, std::uint32_t type, const void* data,
                            std::uint32_t size) {
    const Handle* h = Find(key);
    if (!h) return ERROR_INVALID_HANDLE;
    if (!h->writable) return ERROR_ACCESS_DENIED;
    if (!Reg().keys.count(h->key)) return 1018;
    if (!data && size) return 998;
    const std::uint8_t* bytes = static_cast<const std::uint8_t*>(data);
    std::vector<std::uint8_t> copy(bytes, bytes + size);
    std::string path = DisplayPath(h->key);
    std::string n = name ? name : "";
    sim::Log("reg set \"" + path + "\" \"" + n + "\" " + TypeName(type) + " " + DescribeData(type, copy));
    sim::SetRegValue(path, n, type, copy);
    return ERROR_SUCCESS;
}

std::int32_t RegFlushKey(Hkey key) {
    const Handle* h = Find(key);
    if (!h) return ERROR_INVALID_HANDLE;
    sim::Log("reg flush \"" + DisplayPath(h->key) + "\"");
    return ERROR_SUCCESS;
}

std::int32_t RegCloseKey(Hkey key) {
    if (key == HKEY_LOCAL_MACHINE) return ERROR_SUCCESS;
    return Reg().handles.erase(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

int GetVersionExA(OsVersionInfo* info) {
    if (!info) return 0;
    const sim::WindowsVersion& v = Reg().version;
    std::uint32_t size = info->dwOSVersionInfoSize;
    bool refused = size == OSVERSIONINFOEXA_SIZE   ? v.refusesExtended
                   : size == OSVERSIONINFOA_SIZE ? v.refusesBasic
                                                 : true;
    if (refused) return 0;
    info->dwMajorVersion = v.major;
    info->dwMinorVersion = v.minor;
    info->dwBuildNumber = v.build;
    info->dwPlatformId = v.platformId;
    return 1;
}

}  // namespace os

namespace os {

std::int32_t OpenFile(const char* fileName, std::uint32_t style) {
    if (!fileName) return HFILE_ERROR;
    // OFSTRUCT keeps at most 128 characters of the name; the real call
    // refuses anything longer.
    if (std::strlen(fileName) >= 128) return HFILE_ERROR;
    if ((style & OF_EXIST) == 0) return HFILE_ERROR;  // only existence checks are simulated
    return sim::FileExists(fileName) ? 1 : HFILE_ERROR;
}

}  // namespace os

// The simulated registry (HKEY_LOCAL_MACHINE only, typed values, access
// refusals) and the simulated Windows version. Paths are subkeys of
// HKEY_LOCAL_MACHINE, e.g. "Software\\Tarvel Multimedia"; key and value
// names compare without regard to case, as the registry does.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace sim {

// Creates the key (and its parents) when missing. An empty name is the
// key's default value.
void SetRegValue(const std::string& path, const std::string& name, std::uint32_t type,
                 const std::vector<std::uint8_t>& data);
void SetRegDword(const std::string& path, const std::string& name, std::uint32_t value);
// REG_SZ with its terminating NUL.
void SetRegString(const std::string& path, const std::string& name, const std::string& text);
void AddRegKey(const std::string& path);
// The value is set at virtual time `time`, as by another program, with a
// "world reg" line in the effect log.
void SetRegValueAt(std::uint32_t time, const std::string& path, const std::string& name,
                   std::uint32_t type, const std::vector<std::uint8_t>& data);
void DeleteRegValue(const std::string& path, const std::string& name);
void DeleteRegKey(const std::string& path);  // with every key below it

bool RegKeyExists(const std::string& path);
bool GetRegValue(const std::string& path, const std::string& name, std::uint32_t* type,
                 std::vector<std::uint8_t>* data);
// The value when it exists with exactly 4 bytes, whatever its type.
bool GetRegDword(const std::string& path, const std::string& name, std::uint32_t* value);

// Rights on a key and everything below it, existing or created later.
// ReadOnly: opening for more than reading and creating keys are refused
// (a limited account under HKEY_LOCAL_MACHINE); None: every open is refused.
enum class RegAccess { Full, ReadOnly, None };
void SetRegAccess(const std::string& path, RegAccess access);

// Handles opened by the program and not closed yet.
std::uint32_t OpenRegKeyCount();

// What GetVersionExA reports. The default is what an unmanifested program
// is told on Windows 7.
struct WindowsVersion {
    std::uint32_t major = 6;
    std::uint32_t minor = 1;
    std::uint32_t build = 7601;
    std::uint32_t platformId = 2;   // VER_PLATFORM_WIN32_NT
    bool refusesExtended = false;   // the 156-byte structure is refused
    bool refusesBasic = false;      // the 148-byte structure is refused
};
void SetWindowsVersion(const WindowsVersion& version);

// Empty registry, default version. sim::Reset calls it.
void ResetRegistry();

}  // namespace sim

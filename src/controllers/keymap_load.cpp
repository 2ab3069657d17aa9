#include "controllers/keymap_load.h"

#include <cstdio>
#include <cstring>

#include "core/app_record.h"
#include "core/records.h"
#include "os/files.h"

const char kKeymapFolder[] = "Remote Control";
const char kKeymapFileName[] = "RemoteControl.ini";

namespace {

constexpr std::size_t kErrorsShown = 10;
constexpr std::uint32_t MB_ICONEXCLAMATION = 0x30;

// About 120 KB and 256 KB: static storage, never the stack. One byte more
// than the reader takes, so that a file too large is handed over at a
// length it refuses without the buffer being any shorter.
KeymapFile g_Keymap;
std::uint8_t g_KeymapBytes[kKeymapFileMaxBytes + 1];
bool g_bKeymapInUse = false;

// In BuiltinApp order.
AppController* const kBuiltinRecords[kBuiltinAppCount] = {
    &Orbisk, &OrbiskCenter, &Savrin, &MediaCenter, &TotalMedia35, &ArcSoftTV5, &PowerCinema,
    &TVEnhance,
};

// "folder\name" into out; false when it would not fit a Windows path.
bool JoinPath(char* out, const char* folder, const char* name) {
    const int n = std::snprintf(out, os::MAX_PATH, "%s\\%s", folder, name);
    return n > 0 && static_cast<std::uint32_t>(n) < os::MAX_PATH;
}

bool AppDataPath(char* out) {
    char folder[os::MAX_PATH];
    if (os::SHGetFolderPathA(0, os::CSIDL_APPDATA, os::SHGFP_TYPE_CURRENT, folder) != os::S_OK)
        return false;
    folder[os::MAX_PATH - 1] = '\0';
    char sub[os::MAX_PATH];
    return folder[0] != '\0' && JoinPath(sub, folder, kKeymapFolder) &&
           JoinPath(out, sub, kKeymapFileName);
}

bool ProgramFolderPath(char* out) {
    char module[os::MAX_PATH];
    const std::uint32_t n = os::GetModuleFileNameA(module, sizeof module);
    if (n == 0 || n >= sizeof module) return false;  // a cut name is no folder
    char* slash = std::strrchr(module, '\\');
    if (slash == nullptr) return false;
    *slash = '\0';
    return JoinPath(out, module, kKeymapFileName);
}

// True when the file was there (read or not): the search ends with it.
bool TryFile(const char* path) {
    std::uint32_t size = 0;
    const os::ReadResult result = os::ReadFileBytes(path, g_KeymapBytes, kKeymapFileMaxBytes, &size);
    switch (result) {
    case os::ReadResult::Missing: return false;
    case os::ReadResult::Read: ParseKeymapFile(path, g_KeymapBytes, size, g_Keymap); break;
    case os::ReadResult::TooLarge:
        ParseKeymapFile(path, g_KeymapBytes, sizeof g_KeymapBytes, g_Keymap);
        break;
    case os::ReadResult::Failed:
        ParseKeymapFile(path, nullptr, 0, g_Keymap);
        g_Keymap.nErrors = g_Keymap.nErrorsTotal = 1;
        g_Keymap.errors[0].nLine = 0;
        std::snprintf(g_Keymap.errors[0].szText, sizeof g_Keymap.errors[0].szText,
                      "%s: could not be read (in use, or no permission): not read", path);
        break;
    }
    g_bKeymapInUse = true;
    return true;
}

std::size_t LayoutIndex() {
    switch (nIRKEYType) {
    case 1: return 0;
    case 2: return 1;
    case 3: return 2;
    default: return 3;  // as the router: any other setting is the 44-key remote
    }
}

const MapRow* RowIn(const MapSlice& slice, std::uint32_t code) {
    for (std::size_t i = 0; i < slice.nCount; ++i) {
        const std::size_t at = static_cast<std::size_t>(slice.nFirst) + i;
        if (at >= g_Keymap.nRows) break;
        const KeyRow& row = g_Keymap.rows[at].row;
        if (code >= row.nFirst && code <= row.nLast) return &g_Keymap.rows[at];
    }
    return nullptr;
}

const MapRow* FileRow(const AppController& app, std::uint32_t code) {
    if (!g_bKeymapInUse) return nullptr;
    for (std::size_t i = 0; i < kBuiltinAppCount; ++i) {
        if (kBuiltinRecords[i] != &app) continue;
        const MapSlice* slots = g_Keymap.overrides[i];
        if (const MapRow* row = RowIn(slots[1 + LayoutIndex()], code)) return row;
        return RowIn(slots[0], code);
    }
    return nullptr;
}

}  // namespace

void LoadKeymapFile() {
    ForgetKeymapFile();
    char path[os::MAX_PATH];
    if (AppDataPath(path) && TryFile(path)) return;
    if (ProgramFolderPath(path)) TryFile(path);
}

const KeymapFile* ActiveKeymap() { return g_bKeymapInUse ? &g_Keymap : nullptr; }

void ForgetKeymapFile() {
    g_bKeymapInUse = false;
    g_Keymap.nRows = g_Keymap.nApps = g_Keymap.nErrors = g_Keymap.nErrorsTotal = 0;
    std::memset(g_Keymap.overrides, 0, sizeof g_Keymap.overrides);
}

void ReportKeymapErrors(os::Hwnd owner) {
    if (!g_bKeymapInUse || g_Keymap.nErrorsTotal == 0) return;
    static char text[sizeof g_Keymap.errors[0].szText * kErrorsShown + 256];
    std::size_t used = static_cast<std::size_t>(std::snprintf(
        text, sizeof text, "The key-map file has %u error(s). These lines were skipped; the rest applies:\n",
        static_cast<unsigned>(g_Keymap.nErrorsTotal)));
    for (std::size_t i = 0; i < g_Keymap.nErrors && i < kErrorsShown && used < sizeof text; ++i)
        used += static_cast<std::size_t>(
            std::snprintf(text + used, sizeof text - used, "\n%s", g_Keymap.errors[i].szText));
    if (g_Keymap.nErrorsTotal > kErrorsShown && used < sizeof text)
        std::snprintf(text + used, sizeof text - used, "\n... and %u more.",
                      static_cast<unsigned>(g_Keymap.nErrorsTotal - kErrorsShown));
    os::MessageBoxA(owner, text, "Remote Control", os::MB_OK | MB_ICONEXCLAMATION);
}

const KeyRow* ChooseRow(const AppController& app, const KeyRow* builtin, std::uint32_t code) {
    const MapRow* row = FileRow(app, code);
    if (row == nullptr) return builtin;
    if (row->bRemove) return nullptr;
    if (row->bOnce && KeyRepeatState.bRepeat == 1) return nullptr;
    return &row->row;
}

const MapRow* UserAppRow(std::size_t index, std::uint32_t code) {
    if (!g_bKeymapInUse || index >= g_Keymap.nApps || index >= kKeymapMaxUserApps) return nullptr;
    const MapSlice* slots = g_Keymap.apps[index].maps;
    if (const MapRow* row = RowIn(slots[1 + LayoutIndex()], code)) return row;
    return RowIn(slots[0], code);
}

bool FileHasRow(const AppController& app, std::uint32_t code) { return FileRow(app, code) != nullptr; }

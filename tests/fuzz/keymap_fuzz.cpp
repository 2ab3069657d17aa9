// Any bytes as a key-map file: the record stays within its limits, every
// text in it is terminated, every slice points at kept rows, and every row
// it keeps reads back the same from the text the writer makes of it.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "controllers/keymap_file.h"

namespace {

KeymapFile g_file;  // about 120 KB: static, as the program keeps it

void Check(bool ok) {
    if (!ok) __builtin_trap();
}

template <std::size_t N>
void Terminated(const char (&text)[N]) {
    Check(std::memchr(text, '\0', N) != nullptr);
}

void SliceInside(const MapSlice& slice, std::size_t rows) {
    Check(slice.nFirst <= rows && slice.nCount <= rows - slice.nFirst);
}

void RowReadsBack(const MapRow& kept) {
    const KeyRow& row = kept.row;
    const Action& a = row.action;
    Check(row.nFirst <= row.nLast);
    Check(row.nLast <= 255 || (row.nFirst == kKeymapRemappedCode && row.nLast == kKeymapRemappedCode));
    Check(a.nKeys <= 4 && a.nWaitMs <= kKeymapMaxWaitMs);
    Check(a.nDigit >= 0 && a.nDigit <= 9);
    if (kept.bRemove) return;
    char text[256];
    const std::size_t len = FormatMapRow(row, kept.bOnce, text, sizeof text);
    Check(len < sizeof text);
    MapRow back{};
    char why[160];
    Check(ParseMapRow(text, len, false, back, why, sizeof why));
    const Action& b = back.row.action;
    Check(back.row.nFirst == row.nFirst && back.row.nLast == row.nLast && b.kind == a.kind &&
          b.nKeys == a.nKeys && std::memcmp(b.vk, a.vk, sizeof a.vk) == 0 &&
          b.nDigit == a.nDigit && b.nMessage == a.nMessage && b.wParam == a.wParam &&
          b.lParam == a.lParam && b.nWaitMs == a.nWaitMs && b.rule == a.rule &&
          back.bOnce == kept.bOnce);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ParseKeymapFile("RemoteControl.ini", data, size, g_file);
    const KeymapFile& f = g_file;
    Check(f.nRows <= kKeymapMaxRows && f.nApps <= kKeymapMaxUserApps);
    Check(f.nErrors <= kKeymapMaxErrors && f.nErrors <= f.nErrorsTotal);
    for (std::size_t i = 0; i < f.nErrors; ++i) Terminated(f.errors[i].szText);
    for (const auto& slots : f.overrides)
        for (const MapSlice& slice : slots) SliceInside(slice, f.nRows);
    for (std::size_t i = 0; i < f.nApps; ++i) {
        const UserApp& app = f.apps[i];
        Terminated(app.szName);
        Terminated(app.szClass);
        Terminated(app.szTitle);
        Terminated(app.szExe);
        Terminated(app.szArgs);
        for (const MapSlice& slice : app.maps) SliceInside(slice, f.nRows);
    }
    for (std::size_t i = 0; i < f.nRows; ++i) RowReadsBack(f.rows[i]);
    return 0;
}

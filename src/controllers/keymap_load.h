// The key-map file the program runs with: read once at start from the
// user's application data, else from beside the program; its errors in one
// box; and the rows it gives the built-in maps in place of their own.
#pragma once
#include <cstdint>

#include "controllers/app_controller.h"
#include "controllers/keymap_file.h"
#include "os/os.h"

extern const char kKeymapFolder[];    // "Remote Control", under the application data
extern const char kKeymapFileName[];  // "RemoteControl.ini"

// Looks for the file and reads it; without one no file is in use and every
// built-in map stays as it is.
void LoadKeymapFile();
// The file in use, or nullptr.
const KeymapFile* ActiveKeymap();
// Back to no file (start-up state).
void ForgetKeymapFile();
// One box, captioned "Remote Control", with the first ten errors; none when
// the file read cleanly (or there is none).
void ReportKeymapErrors(os::Hwnd owner);

// The row to run for `code` of a built-in application: the file's row for
// the current layout, else its every-layout row, else `builtin`. nullptr
// when nothing runs: a removed row, or a held key's repeat of a `once` row.
const KeyRow* ChooseRow(const AppController& app, const KeyRow* builtin, std::uint32_t code);
// The row of user application `index` for `code`: its layout's own row,
// else its every-layout row; nullptr when it has none.
const MapRow* UserAppRow(std::size_t index, std::uint32_t code);
// Whether the file gives the application a row (or removal) for `code`.
bool FileHasRow(const AppController& app, std::uint32_t code);

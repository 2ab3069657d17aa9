// The four settings under HKEY_LOCAL_MACHINE: read once at start-up,
// missing ones created with their defaults; only DefaultTVAPP is written
// back later. The in-memory copies live in core/records.h.
#pragma once
#include <cstdint>

extern const char kSettingsKey[];

// Read and held; nothing depends on it.
extern std::int32_t PDCounter;

// Always 1.
int LoadSettings();
// 1 when DefaultTVAPP was written, 0 otherwise.
int SaveDefaultApp();

// The virtual tuner: a stand-in for the card's capture driver. Shared
// declarations of the DLL's parts (settings, feed, log, request decoder).
#pragma once
#include <windows.h>

#include <cstdint>

namespace vt {

// {A7C3E1F2-5B64-4D8E-9F10-2C3B4D5E6F70}
extern const GUID CLSID_VirtualTuner;
extern const GUID CATEGORY_Capture;    // {65E8773D-8F56-11D0-A3B9-00A0C9223196}
extern const GUID CATEGORY_MainDevice; // {CC7BFB46-F175-11D1-A392-00E0291F3959}
extern const GUID IID_KsControl;       // {28F54685-06FD-11D2-B27A-00A0C9223196}

constexpr const char* kSettingsKey = "Software\\VirtualTuner";

// Module bookkeeping for DllCanUnloadNow.
extern HMODULE g_hModule;
extern volatile LONG g_nObjects;
extern volatile LONG g_nLocks;

// ---- settings (HKLM\Software\VirtualTuner), read when a filter is made
struct Settings {
    char szFeedFile[MAX_PATH];
    char szLogFile[MAX_PATH];
    DWORD nReadyPin;   // pin that reads 1 while a press is held
    DWORD nChipId;     // chip id the main device answers to
    DWORD bRefuse;     // nonzero: every request fails
    bool bMainDevice;  // registered under the main-device category
};
void LoadSettings(Settings* s);
// Reads a REG_SZ value into buf (always terminated); false when absent,
// of another type or too long.
bool ReadRegString(HKEY root, const char* key, const char* name, char* buf, DWORD size);
void GuidToString(const GUID& g, char* buf, size_t size); // "{...}" upper case

// ---- the feed of presses: "<code> <holdMs> [gapMs]" lines
// Returns the code held at time now, or -1 when no key is down. Picks up
// lines appended to the file since the last call.
int FeedCodeAt(const char* path, DWORD now);
void FeedReset();

// ---- the request log
// Appends text and CR LF to the log at path, which stays open until
// CloseLog (or another path); a deleted or replaced log is made again.
void LogLine(const char* path, const char* text);
void CloseLog();
void InitRequestLock(); // once, from DllMain
HRESULT CreateTunerFilter(REFIID riid, void** ppv);

// ---- KsProperty decoding, apart from any caller's request structures
HRESULT AnswerKsProperty(const Settings& s, void* property, ULONG propertyLength, void* data,
                         ULONG dataLength, ULONG* bytesReturned);

} // namespace vt

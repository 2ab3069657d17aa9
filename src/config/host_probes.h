// Whether Windows Media Center can be driven on this host: asked again at
// every use, nothing cached. A positive answer marks the Media Center
// controller installed and records which generation was found.
#pragma once
#include <cstdint>

// 1 when Media Center was found on Windows 5.1, 0 when on Windows 6.x.
// Keeps its last positive result.
extern std::int32_t bLegacyMediaCenter;

int IsMediaCenterAvailable();
int IsXPMediaCenterInstalled();
int IsEhshellPresent();

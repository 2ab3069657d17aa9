// Opening and closing the connection to the card's capture driver
// (g_Tuner): the device walk, the two driver paths and the chip probe.
#pragma once
#include "os/devices.h"
#include "os/os.h"

// The filter bound for the last device of `category` whose friendly name
// is exactly `name`, or null. The caller owns the reference.
os::ComPtr FindDeviceFilter(const os::Guid& category, const char* name);
// The 7160 family's main device; stores the filter in g_Tuner.
bool OpenMainDevicePath(os::ComPtr* ppKsControl);
// The 713x/7231 capture filter; stores the filter in g_Tuner.
bool OpenCapturePath(os::ComPtr* ppKsControl);
// 1 when the driver answered to one of the chip ids 0x7164..0x7160.
int ProbeMainDeviceChip();
// 1 when g_Tuner holds an IKsControl afterwards. Asked again while it runs
// (from inside a message box it shows), it returns 0 at once and opens
// again when the running open has finished.
int OpenTunerDevice();
void CloseTunerDevice();

// Finding the computer's radios and the devices one radio sees, into the
// tables of plugin/state.h. Each operation answers 0 (found: the table
// entry or deviceInfo describes it) or 1 (none left, or the platform failed;
// the search is then closed and its handle null).
#pragma once

#include "platform/win32_types.h"

// Reads of a device's properties while waiting for its name.
constexpr long maxNameReads = 1000000;

// Starts a radio search; on 0 radioHandles[entry] is the first radio.
int FindFirstAdapter(int entry);
// On 0 radioHandles[entry] is the next radio. An entry outside the table
// ends the search: there is nowhere to keep a further radio.
int FindNextAdapter(int entry);
// Starts a device search (inquiry) on `radio`; on 0 deviceInfo describes
// the first device, its name awaited.
int FindFirstDevice(HANDLE radio);
// On 0 deviceInfo describes the next device, its name awaited.
int FindNextDevice();
// Ends the device search, if one is open.
void CloseDeviceSearch();
// Reads deviceInfo until it has a name, at most maxNameReads times.
void WaitForDeviceName(HANDLE radio);

// The eight Bluetooth enumeration calls over the simulated world: one
// implementation, wrapped by the native seam (seam_bluetooth.cpp) and by the
// exports of the stand-in bthprops.cpl under Wine.
//
// Radio i of the world is a fixed radio handle; searches are numbered
// handles from a small pool. A call with a closed or unknown search handle
// fails with ERROR_INVALID_HANDLE and is counted as a stale use. A device's
// name shows in its record once that device has been read `name-after`
// times (per device, counted from the world's start). An empty search leaves
// the world's radio-error/device-error as the last error; a close on an
// empty handle changes nothing, not even the last error.
//
// When QUELT_BT_TRACE names a file, every call appends one line to it, e.g.
// "BluetoothGetDeviceInfo 00:1B:F0:12:3A:5E"; a run of identical lines is
// written once with " x<count>" appended, so a million reads stay one line.
#pragma once

#include "platform/win32_types.h"

namespace sim {

HBLUETOOTH_RADIO_FIND FindFirstRadio(const BLUETOOTH_FIND_RADIO_PARAMS* params, HANDLE* radio);
BOOL FindNextRadio(HBLUETOOTH_RADIO_FIND find, HANDLE* radio);
BOOL FindRadioClose(HBLUETOOTH_RADIO_FIND find);
DWORD GetRadioInfo(HANDLE radio, BLUETOOTH_RADIO_INFO* info);
HBLUETOOTH_DEVICE_FIND FindFirstDevice(const BLUETOOTH_DEVICE_SEARCH_PARAMS* params,
                                       BLUETOOTH_DEVICE_INFO* info);
BOOL FindNextDevice(HBLUETOOTH_DEVICE_FIND find, BLUETOOTH_DEVICE_INFO* info);
BOOL FindDeviceClose(HBLUETOOTH_DEVICE_FIND find);
DWORD GetDeviceInfo(HANDLE radio, BLUETOOTH_DEVICE_INFO* info);

// What tests look at: calls made, stale handles used, searches still open.
struct BluetoothCalls {
    long findFirstRadio, findNextRadio, findRadioClose, getRadioInfo;
    long findFirstDevice, findNextDevice, findDeviceClose, getDeviceInfo;
    long staleHandleUses;
};
const BluetoothCalls& Calls();
int OpenSearches();
// Property reads of world device `device` so far.
long DeviceReads(int device);
// The parameters of the last device search.
const BLUETOOTH_DEVICE_SEARCH_PARAMS& LastDeviceSearch();
// Radio i's handle as the simulation hands it out.
HANDLE RadioHandle(int radio);

// Forgets searches, counts and reads (a new world starts).
void ResetBluetoothSimulation();

}  // namespace sim

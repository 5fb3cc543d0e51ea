// Bluetooth of the native simulated platform: the world's radios and
// devices, through the same simulation the stand-in bthprops.cpl exports.
#include "platform/seam.h"
#include "platform/sim/bluetooth_sim.h"

namespace platform {

HBLUETOOTH_RADIO_FIND RadioFindFirst(const BLUETOOTH_FIND_RADIO_PARAMS* params, HANDLE* radio) {
    return sim::FindFirstRadio(params, radio);
}

BOOL RadioFindNext(HBLUETOOTH_RADIO_FIND find, HANDLE* radio) {
    return sim::FindNextRadio(find, radio);
}

BOOL RadioFindClose(HBLUETOOTH_RADIO_FIND find) { return sim::FindRadioClose(find); }

DWORD RadioGetInfo(HANDLE radio, BLUETOOTH_RADIO_INFO* info) {
    return sim::GetRadioInfo(radio, info);
}

HBLUETOOTH_DEVICE_FIND DeviceFindFirst(const BLUETOOTH_DEVICE_SEARCH_PARAMS* params,
                                       BLUETOOTH_DEVICE_INFO* info) {
    return sim::FindFirstDevice(params, info);
}

BOOL DeviceFindNext(HBLUETOOTH_DEVICE_FIND find, BLUETOOTH_DEVICE_INFO* info) {
    return sim::FindNextDevice(find, info);
}

BOOL DeviceFindClose(HBLUETOOTH_DEVICE_FIND find) { return sim::FindDeviceClose(find); }

DWORD DeviceGetInfo(HANDLE radio, BLUETOOTH_DEVICE_INFO* info) {
    return sim::GetDeviceInfo(radio, info);
}

}  // namespace platform

// The Windows Bluetooth API's enumeration calls, with their real
// signatures, answered by the simulated world.
#include "platform/sim/bluetooth_sim.h"
#include "platform/sim/world.h"

extern "C" {

HBLUETOOTH_RADIO_FIND WINAPI BluetoothFindFirstRadio(BLUETOOTH_FIND_RADIO_PARAMS* params,
                                                     HANDLE* radio) {
    return sim::FindFirstRadio(params, radio);
}

WINBOOL WINAPI BluetoothFindNextRadio(HBLUETOOTH_RADIO_FIND find, HANDLE* radio) {
    return sim::FindNextRadio(find, radio);
}

WINBOOL WINAPI BluetoothFindRadioClose(HBLUETOOTH_RADIO_FIND find) {
    return sim::FindRadioClose(find);
}

DWORD WINAPI BluetoothGetRadioInfo(HANDLE radio, PBLUETOOTH_RADIO_INFO info) {
    return sim::GetRadioInfo(radio, info);
}

HBLUETOOTH_DEVICE_FIND WINAPI BluetoothFindFirstDevice(BLUETOOTH_DEVICE_SEARCH_PARAMS* params,
                                                       BLUETOOTH_DEVICE_INFO* info) {
    return sim::FindFirstDevice(params, info);
}

WINBOOL WINAPI BluetoothFindNextDevice(HBLUETOOTH_DEVICE_FIND find, BLUETOOTH_DEVICE_INFO* info) {
    return sim::FindNextDevice(find, info);
}

WINBOOL WINAPI BluetoothFindDeviceClose(HBLUETOOTH_DEVICE_FIND find) {
    return sim::FindDeviceClose(find);
}

DWORD WINAPI BluetoothGetDeviceInfo(HANDLE radio, BLUETOOTH_DEVICE_INFO* info) {
    return sim::GetDeviceInfo(radio, info);
}

// Only the stand-in has this export: finding it proves that this file, and
// not Wine's own bthprops, is loaded. Answers the world's radio count.
int WINAPI QueltStandInWorld(void) { return sim::CurrentWorld().radioCount; }

}  // extern "C"

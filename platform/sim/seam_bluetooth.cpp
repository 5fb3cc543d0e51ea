// Bluetooth of the simulated platform (arrives with the browsing work):
// until then the computer has no radio.
#include "platform/seam.h"
#include "platform/sim/last_error.h"

namespace platform {

HBLUETOOTH_RADIO_FIND RadioFindFirst(const BLUETOOTH_FIND_RADIO_PARAMS*, HANDLE*) {
    sim::SetLastError(ERROR_NO_MORE_ITEMS);
    return nullptr;
}
BOOL RadioFindNext(HBLUETOOTH_RADIO_FIND, HANDLE*) { return FALSE; }
BOOL RadioFindClose(HBLUETOOTH_RADIO_FIND) { return TRUE; }
DWORD RadioGetInfo(HANDLE, BLUETOOTH_RADIO_INFO*) { return ERROR_INVALID_PARAMETER; }
HBLUETOOTH_DEVICE_FIND DeviceFindFirst(const BLUETOOTH_DEVICE_SEARCH_PARAMS*,
                                       BLUETOOTH_DEVICE_INFO*) {
    sim::SetLastError(ERROR_NO_MORE_ITEMS);
    return nullptr;
}
BOOL DeviceFindNext(HBLUETOOTH_DEVICE_FIND, BLUETOOTH_DEVICE_INFO*) { return FALSE; }
BOOL DeviceFindClose(HBLUETOOTH_DEVICE_FIND) { return TRUE; }
DWORD DeviceGetInfo(HANDLE, BLUETOOTH_DEVICE_INFO*) { return ERROR_INVALID_PARAMETER; }

}  // namespace platform

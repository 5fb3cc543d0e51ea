#include "bluetooth/discovery.h"

#include <cstring>

#include "platform/seam.h"
#include "plugin/state.h"

namespace {

void CloseRadioSearch() {
    if (radioFind == nullptr) return;
    platform::RadioFindClose(radioFind);
    radioFind = nullptr;
}

// The radio whose devices are being listed; empty (all radios) when the
// adapter number is not one of the table's.
HANDLE BrowsedRadio() {
    if (browsedAdapter < 0 || browsedAdapter >= maxRadios) return nullptr;
    return radioHandles[browsedAdapter];
}

}  // namespace

int FindFirstAdapter(int entry) {
    CloseRadioSearch();  // one the listing abandoned
    if (entry < 0 || entry >= maxRadios) return 1;
    BLUETOOTH_FIND_RADIO_PARAMS btfrp;
    btfrp.dwSize = sizeof btfrp;
    radioFind = platform::RadioFindFirst(&btfrp, &radioHandles[entry]);
    if (radioFind == nullptr) {
        platform::RadioFindClose(radioFind);
        return 1;
    }
    return 0;
}

int FindNextAdapter(int entry) {
    if (radioFind == nullptr) return 1;
    if (entry >= 0 && entry < maxRadios &&
        platform::RadioFindNext(radioFind, &radioHandles[entry]))
        return 0;
    CloseRadioSearch();
    return 1;
}

int FindFirstDevice(HANDLE radio) {
    CloseDeviceSearch();  // one the listing abandoned
    BLUETOOTH_DEVICE_SEARCH_PARAMS deviceSearchParams;
    memset(&deviceSearchParams, 0, sizeof deviceSearchParams);
    deviceSearchParams.dwSize = sizeof deviceSearchParams;
    deviceSearchParams.fReturnAuthenticated = 1;
    deviceSearchParams.fReturnRemembered = 1;
    deviceSearchParams.fReturnUnknown = 1;
    deviceSearchParams.fReturnConnected = 1;
    deviceSearchParams.fIssueInquiry = 1;
    deviceSearchParams.cTimeoutMultiplier = 10;  // 10 x 1.28 s of inquiry
    deviceSearchParams.hRadio = radio;
    memset(&deviceInfo, 0, sizeof deviceInfo);
    deviceInfo.dwSize = sizeof deviceInfo;
    deviceFind = platform::DeviceFindFirst(&deviceSearchParams, &deviceInfo);
    if (deviceFind == nullptr) {
        platform::DeviceFindClose(deviceFind);
        return 1;
    }
    WaitForDeviceName(radio);
    return 0;
}

int FindNextDevice() {
    if (deviceFind == nullptr) return 1;
    deviceInfo.dwSize = sizeof deviceInfo;
    if (!platform::DeviceFindNext(deviceFind, &deviceInfo)) {
        CloseDeviceSearch();
        return 1;
    }
    WaitForDeviceName(BrowsedRadio());
    return 0;
}

void CloseDeviceSearch() {
    if (deviceFind == nullptr) return;
    platform::DeviceFindClose(deviceFind);
    deviceFind = nullptr;
}

void WaitForDeviceName(HANDLE radio) {
    for (long reads = 1; reads <= maxNameReads; ++reads) {
        platform::DeviceGetInfo(radio, &deviceInfo);
        if (deviceInfo.szName[0] != 0) return;
    }
}

// The plug-in's module-wide state, all in one place. It lives from loading
// to unloading; every entry point reads and writes it on the host's thread,
// one call at a time.
#pragma once

#include "plugin/fs_api.h"

constexpr int maxRadios = 5;
constexpr int maxDevices = 100;
constexpr int addressBytes = 6;
constexpr int errorTextSize = 512;

extern int pluginNumber;
extern HostProgressProc hostProgress;
extern HostLogProc hostLog;
extern HostRequestProc hostRequest;
extern HostProgressProcW hostProgressW;
extern HostLogProcW hostLogW;
extern HostRequestProcW hostRequestW;
extern HINSTANCE moduleHandle;

extern bool socketsStarted;
extern bool deviceChosen;
extern WCHAR dirKind;
extern int lastAdapter;
extern int lastDevice;
extern int browsedAdapter;
extern int selectedDevice;

extern BLUETOOTH_RADIO_INFO radioInfo;
extern BLUETOOTH_DEVICE_INFO deviceInfo;
extern HANDLE radioHandles[maxRadios];
extern BYTE radioAddresses[maxRadios][addressBytes];
extern BYTE deviceAddresses[maxDevices][addressBytes];
extern HBLUETOOTH_RADIO_FIND radioFind;
extern HBLUETOOTH_DEVICE_FIND deviceFind;

extern WSAPROTOCOL_INFOA protocolInfo;
extern char errorText[errorTextSize];

// The one content field: "MAC", type 8 (an ANSI text), no units.
struct ContentField {
    const char* name;
    int type;
    const char* units;
    int flags;
    int defaultSortOrder;
};
constexpr int contentFieldCount = 1;
extern const ContentField contentFields[contentFieldCount];

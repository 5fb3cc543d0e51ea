#include "plugin/state.h"

int pluginNumber = 0;
HostProgressProc hostProgress = nullptr;
HostLogProc hostLog = nullptr;
HostRequestProc hostRequest = nullptr;
HostProgressProcW hostProgressW = nullptr;
HostLogProcW hostLogW = nullptr;
HostRequestProcW hostRequestW = nullptr;
HINSTANCE moduleHandle = nullptr;

bool socketsStarted = false;
bool deviceChosen = false;
WCHAR dirKind = 0;
int lastAdapter = -1;
int lastDevice = -1;
int browsedAdapter = -1;
int selectedDevice = -1;

BLUETOOTH_RADIO_INFO radioInfo = {sizeof(BLUETOOTH_RADIO_INFO)};
BLUETOOTH_DEVICE_INFO deviceInfo = {sizeof(BLUETOOTH_DEVICE_INFO)};
HANDLE radioHandles[maxRadios] = {};
BYTE radioAddresses[maxRadios][addressBytes] = {};
BYTE deviceAddresses[maxDevices][addressBytes] = {};
HBLUETOOTH_RADIO_FIND radioFind = nullptr;
HBLUETOOTH_DEVICE_FIND deviceFind = nullptr;

WSAPROTOCOL_INFOA protocolInfo = {};
char errorText[errorTextSize] = {};

const ContentField contentFields[contentFieldCount] = {
    {"MAC", 8, "", 10, -1},
};

// The seam over the real Windows API: each function is the one call it names.
#include "platform/seam.h"

namespace platform {

int WideToAnsi(const WCHAR* source, char* destination, int capacity) {
    return WideCharToMultiByte(CP_ACP, 0, source, -1, destination, capacity, nullptr, nullptr);
}

int AnsiToWide(const char* source, WCHAR* destination, int capacity) {
    return MultiByteToWideChar(CP_ACP, 0, source, -1, destination, capacity);
}

DWORD FormatSystemMessage(DWORD code, char* buffer, DWORD size) {
    return FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, code, 0, buffer, size, nullptr);
}

DWORD LastError() { return GetLastError(); }

int ShowMessageBox(const char* text, const char* caption, UINT style) {
    return MessageBoxA(nullptr, text, caption, style);
}

HICON LoadModuleIcon(HINSTANCE module, const char* name) { return LoadIconA(module, name); }

int SocketApiStartup(WORD version, WSADATA* data) { return WSAStartup(version, data); }

int SocketApiCleanup() { return WSACleanup(); }

SOCKET SocketOpen(int family, int type, int protocol) { return socket(family, type, protocol); }

int SocketGetOption(SOCKET s, int level, int name, char* value, int* size) {
    return getsockopt(s, level, name, value, size);
}

int SocketSetOption(SOCKET s, int level, int name, const char* value, int size) {
    return setsockopt(s, level, name, value, size);
}

int SocketConnect(SOCKET s, const SOCKADDR_BTH* address, int size) {
    return connect(s, reinterpret_cast<const sockaddr*>(address), size);
}

int SocketSend(SOCKET s, const char* buffer, int length) { return send(s, buffer, length, 0); }

int SocketReceive(SOCKET s, char* buffer, int length) { return recv(s, buffer, length, 0); }

int SocketClose(SOCKET s) { return closesocket(s); }

HBLUETOOTH_RADIO_FIND RadioFindFirst(const BLUETOOTH_FIND_RADIO_PARAMS* params, HANDLE* radio) {
    return BluetoothFindFirstRadio(const_cast<BLUETOOTH_FIND_RADIO_PARAMS*>(params), radio);
}

BOOL RadioFindNext(HBLUETOOTH_RADIO_FIND find, HANDLE* radio) {
    return BluetoothFindNextRadio(find, radio);
}

BOOL RadioFindClose(HBLUETOOTH_RADIO_FIND find) { return BluetoothFindRadioClose(find); }

DWORD RadioGetInfo(HANDLE radio, BLUETOOTH_RADIO_INFO* info) {
    return BluetoothGetRadioInfo(radio, info);
}

HBLUETOOTH_DEVICE_FIND DeviceFindFirst(const BLUETOOTH_DEVICE_SEARCH_PARAMS* params,
                                       BLUETOOTH_DEVICE_INFO* info) {
    return BluetoothFindFirstDevice(const_cast<BLUETOOTH_DEVICE_SEARCH_PARAMS*>(params), info);
}

BOOL DeviceFindNext(HBLUETOOTH_DEVICE_FIND find, BLUETOOTH_DEVICE_INFO* info) {
    return BluetoothFindNextDevice(find, info);
}

BOOL DeviceFindClose(HBLUETOOTH_DEVICE_FIND find) { return BluetoothFindDeviceClose(find); }

DWORD DeviceGetInfo(HANDLE radio, BLUETOOTH_DEVICE_INFO* info) {
    return BluetoothGetDeviceInfo(radio, info);
}

FILE* FileOpenForReading(const WCHAR* name) { return _wfopen(name, L"rb"); }

int64_t FileSize(FILE* file) {
    if (_fseeki64(file, 0, SEEK_END) != 0) return -1;
    int64_t size = _ftelli64(file);
    rewind(file);
    return size;
}

}  // namespace platform

// The one seam between QUELT's code and the operating system.
//
// Every platform call the plug-in makes goes through a function declared
// here. platform/win32/seam_win32.cpp implements them with the real Windows
// API (the DLLs); platform/sim/ implements them over the simulated world
// (the native build). Each function is one OS call; its comment names it.
#pragma once

#include <cstdint>
#include <cstdio>

#include "platform/win32_types.h"

namespace platform {

// --- text (kernel32) ---
// WideCharToMultiByte(CP_ACP, 0, source, -1, destination, capacity, 0, 0).
int WideToAnsi(const WCHAR* source, char* destination, int capacity);
// MultiByteToWideChar(CP_ACP, 0, source, -1, destination, capacity).
int AnsiToWide(const char* source, WCHAR* destination, int capacity);
// FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, 0, code, 0, buffer, size, 0).
DWORD FormatSystemMessage(DWORD code, char* buffer, DWORD size);
// GetLastError().
DWORD LastError();

// --- user interface (user32) ---
// MessageBoxA(0, text, caption, style).
int ShowMessageBox(const char* text, const char* caption, UINT style);
// LoadIconA(module, name).
HICON LoadModuleIcon(HINSTANCE module, const char* name);

// --- socket API (ws2_32) ---
// WSAStartup(version, data).
int SocketApiStartup(WORD version, WSADATA* data);
// WSACleanup().
int SocketApiCleanup();
// socket(family, type, protocol).
SOCKET SocketOpen(int family, int type, int protocol);
// getsockopt(s, level, name, value, size).
int SocketGetOption(SOCKET s, int level, int name, char* value, int* size);
// setsockopt(s, level, name, value, size).
int SocketSetOption(SOCKET s, int level, int name, const char* value, int size);
// connect(s, address, size).
int SocketConnect(SOCKET s, const SOCKADDR_BTH* address, int size);
// send(s, buffer, length, 0).
int SocketSend(SOCKET s, const char* buffer, int length);
// recv(s, buffer, length, 0).
int SocketReceive(SOCKET s, char* buffer, int length);
// closesocket(s).
int SocketClose(SOCKET s);

// --- Bluetooth (bthprops) ---
// BluetoothFindFirstRadio(params, radio).
HBLUETOOTH_RADIO_FIND RadioFindFirst(const BLUETOOTH_FIND_RADIO_PARAMS* params, HANDLE* radio);
// BluetoothFindNextRadio(find, radio).
BOOL RadioFindNext(HBLUETOOTH_RADIO_FIND find, HANDLE* radio);
// BluetoothFindRadioClose(find).
BOOL RadioFindClose(HBLUETOOTH_RADIO_FIND find);
// BluetoothGetRadioInfo(radio, info).
DWORD RadioGetInfo(HANDLE radio, BLUETOOTH_RADIO_INFO* info);
// BluetoothFindFirstDevice(params, info).
HBLUETOOTH_DEVICE_FIND DeviceFindFirst(const BLUETOOTH_DEVICE_SEARCH_PARAMS* params,
                                       BLUETOOTH_DEVICE_INFO* info);
// BluetoothFindNextDevice(find, info).
BOOL DeviceFindNext(HBLUETOOTH_DEVICE_FIND find, BLUETOOTH_DEVICE_INFO* info);
// BluetoothFindDeviceClose(find).
BOOL DeviceFindClose(HBLUETOOTH_DEVICE_FIND find);
// BluetoothGetDeviceInfo(radio, info).
DWORD DeviceGetInfo(HANDLE radio, BLUETOOTH_DEVICE_INFO* info);

// --- files (C runtime) ---
// _wfopen(name, L"rb"); natively the UTF-16 name is opened as UTF-8.
// On failure LastError() holds the system's code (2, 3, ...).
FILE* FileOpenForReading(const WCHAR* name);
// The file's size in 64 bits (seek to end, tell, rewind); -1 on failure.
int64_t FileSize(FILE* file);

}  // namespace platform

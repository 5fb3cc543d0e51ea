// Loading, the handshake, the root name, disconnecting and unloading.
#include "plugin/lifecycle.h"

#include "platform/seam.h"
#include "plugin/state.h"
#include "plugin/text_bridge.h"

#ifndef QUELT_VERSION
#define QUELT_VERSION "0.0.0"
#endif

const char* const aboutText =
    "QUELT " QUELT_VERSION "\nSends files to Bluetooth devices with OBEX Object Push.\n"
    "Written by the QUELT developers.";

static WSADATA wsaData;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) moduleHandle = instance;
    return TRUE;
}

int StartSockets() {
    int result = platform::SocketApiStartup(0x0202, &wsaData);
    return result == 0 ? 0 : result + 100;
}

int StopSockets() {
    platform::SocketApiCleanup();
    return 0;
}

FS_EXPORT int WINAPI FsInit(int pluginNr, HostProgressProc progress, HostLogProc log,
                            HostRequestProc request) {
    hostProgress = progress;
    hostLog = log;
    hostRequest = request;
    pluginNumber = pluginNr;
    return 0;
}

FS_EXPORT int WINAPI FsInitW(int pluginNr, HostProgressProcW progress, HostLogProcW log,
                             HostRequestProcW request) {
    hostProgressW = progress;
    hostLogW = log;
    hostRequestW = request;
    pluginNumber = pluginNr;
    return 0;
}

FS_EXPORT void WINAPI FsGetDefRootName(char* defRootName, int maxlen) {
    if (maxlen >= 1) CopyAnsiBounded(defRootName, "QUELT", maxlen - 1);
    platform::ShowMessageBox(aboutText, "Info", MB_OK | MB_ICONINFORMATION);
}

static int Disconnect() {
    socketsStarted = false;
    StopSockets();
    return 1;
}

FS_EXPORT int WINAPI FsDisconnect(char*) { return Disconnect(); }

FS_EXPORT int WINAPI FsDisconnectW(WCHAR*) { return Disconnect(); }

FS_EXPORT void WINAPI FsContentPluginUnloading(void) { Disconnect(); }

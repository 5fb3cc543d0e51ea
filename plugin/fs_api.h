// The file-system plug-in interface: the host's callbacks and the entry
// points QUELT exports (plugin/QUELT.def lists them for the DLLs).
#pragma once

#include "platform/win32_types.h"

#ifdef _WIN32
#define FS_EXPORT extern "C"
#else
#define FS_EXPORT extern "C" __attribute__((visibility("default")))
#endif

// Host callbacks, ANSI set.
typedef int(WINAPI* HostProgressProc)(int pluginNr, char* sourceName, char* targetName,
                                      int percentDone);
typedef void(WINAPI* HostLogProc)(int pluginNr, int msgType, char* logText);
typedef BOOL(WINAPI* HostRequestProc)(int pluginNr, int requestType, char* customTitle,
                                      char* customText, char* returnedText, int maxlen);
// Host callbacks, wide set.
typedef int(WINAPI* HostProgressProcW)(int pluginNr, WCHAR* sourceName, WCHAR* targetName,
                                       int percentDone);
typedef void(WINAPI* HostLogProcW)(int pluginNr, int msgType, WCHAR* logText);
typedef BOOL(WINAPI* HostRequestProcW)(int pluginNr, int requestType, WCHAR* customTitle,
                                       WCHAR* customText, WCHAR* returnedText, int maxlen);

// Message types of the host's log.
enum HostMessageType {
    msgConnect = 1,
    msgDetails = 3,
    msgTransferComplete = 4,
    msgConnectComplete = 5,
    msgImportantError = 6,
};

// Lifecycle.
FS_EXPORT int WINAPI FsInit(int pluginNr, HostProgressProc progress, HostLogProc log,
                            HostRequestProc request);
FS_EXPORT int WINAPI FsInitW(int pluginNr, HostProgressProcW progress, HostLogProcW log,
                             HostRequestProcW request);
FS_EXPORT void WINAPI FsGetDefRootName(char* defRootName, int maxlen);
FS_EXPORT int WINAPI FsDisconnect(char* disconnectRoot);
FS_EXPORT int WINAPI FsDisconnectW(WCHAR* disconnectRoot);
FS_EXPORT void WINAPI FsContentPluginUnloading(void);

// Listing.
FS_EXPORT HANDLE WINAPI FsFindFirstW(WCHAR* path, WIN32_FIND_DATAW* findData);
FS_EXPORT BOOL WINAPI FsFindNextW(HANDLE hdl, WIN32_FIND_DATAW* findData);
FS_EXPORT int WINAPI FsFindClose(HANDLE hdl);

// Sending.
FS_EXPORT int WINAPI FsPutFileW(WCHAR* localName, WCHAR* remoteName, int copyFlags);

// Presentation.
FS_EXPORT int WINAPI FsExtractCustomIconW(WCHAR* remoteName, int extractFlags, HICON* theIcon);
FS_EXPORT int WINAPI FsContentGetSupportedField(int fieldIndex, char* fieldName, char* units,
                                                int maxlen);
FS_EXPORT int WINAPI FsContentGetSupportedFieldFlags(int fieldIndex);
FS_EXPORT int WINAPI FsContentGetValueW(WCHAR* fileName, int fieldIndex, int unitIndex,
                                        void* fieldValue, int maxlen, int flags);
FS_EXPORT int WINAPI FsContentGetDefaultSortOrder(int fieldIndex);
FS_EXPORT BOOL WINAPI FsContentGetDefaultView(char* viewContents, char* viewHeaders,
                                              char* viewWidths, char* viewOptions, int maxlen);

// ANSI frames around the wide entry points.
FS_EXPORT HANDLE WINAPI FsFindFirst(char* path, WIN32_FIND_DATAA* findData);
FS_EXPORT BOOL WINAPI FsFindNext(HANDLE hdl, WIN32_FIND_DATAA* findData);
FS_EXPORT int WINAPI FsPutFile(char* localName, char* remoteName, int copyFlags);
FS_EXPORT int WINAPI FsExtractCustomIcon(char* remoteName, int extractFlags, HICON* theIcon);
FS_EXPORT int WINAPI FsContentGetValue(char* fileName, int fieldIndex, int unitIndex,
                                       void* fieldValue, int maxlen, int flags);

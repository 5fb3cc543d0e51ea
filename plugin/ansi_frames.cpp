// The ANSI entry points: frames around their wide twins. Each converts the
// host's texts into wide work buffers of its own, calls the wide entry point
// and hands back in ANSI what that changed; all logic lies in the wide ones.
#include "plugin/fs_api.h"
#include "plugin/text_bridge.h"

// Work buffers hold 1024 wide characters; a host text keeps at most 1023.
constexpr int workBufferLength = 1024;
constexpr int hostTextLimit = workBufferLength - 1;

typedef WCHAR WorkBuffer[workBufferLength];

// A null text from the host is taken as an empty text, so the wide entry
// points always get a terminated text to judge.
static WCHAR* HostTextToWide(WorkBuffer& buffer, const char* text) {
    if (ToWide(buffer, text, hostTextLimit) == nullptr) buffer[0] = 0;
    return buffer;
}

static bool SameText(const WCHAR* a, const WCHAR* b) {
    int i = 0;
    while (i < workBufferLength && a[i] == b[i] && a[i] != 0) ++i;
    return i == workBufferLength || a[i] == b[i];
}

FS_EXPORT HANDLE WINAPI FsFindFirst(char* path, WIN32_FIND_DATAA* findData) {
    WorkBuffer PathW;
    WIN32_FIND_DATAW FindDataW = {};
    HANDLE result = FsFindFirstW(HostTextToWide(PathW, path), &FindDataW);
    if (result != INVALID_HANDLE_VALUE && findData != nullptr) FindDataToAnsi(findData, &FindDataW);
    return result;
}

FS_EXPORT BOOL WINAPI FsFindNext(HANDLE hdl, WIN32_FIND_DATAA* findData) {
    WIN32_FIND_DATAW FindDataW = {};
    if (findData != nullptr) FindDataToWide(&FindDataW, findData);
    BOOL result = FsFindNextW(hdl, &FindDataW);
    if (result != 0 && findData != nullptr) FindDataToAnsi(findData, &FindDataW);
    return result;
}

FS_EXPORT int WINAPI FsPutFile(char* localName, char* remoteName, int copyFlags) {
    WorkBuffer RemoteNameW;
    WorkBuffer LocalNameW;
    HostTextToWide(RemoteNameW, remoteName);
    HostTextToWide(LocalNameW, localName);
    return FsPutFileW(LocalNameW, RemoteNameW, copyFlags);
}

// The wide request replaces the name by its icon's name; only a changed
// name is written back, whole with its terminator and nothing after it.
FS_EXPORT int WINAPI FsExtractCustomIcon(char* remoteName, int extractFlags, HICON* theIcon) {
    WorkBuffer RemoteNameW;
    WorkBuffer OldNameW;
    HostTextToWide(RemoteNameW, remoteName);
    CopyWideBounded(OldNameW, RemoteNameW, workBufferLength);
    int result = FsExtractCustomIconW(RemoteNameW, extractFlags, theIcon);
    if (remoteName != nullptr && !SameText(RemoteNameW, OldNameW))
        ToAnsi(remoteName, RemoteNameW, WideLength(RemoteNameW, hostTextLimit));
    return result;
}

FS_EXPORT int WINAPI FsContentGetValue(char* fileName, int fieldIndex, int unitIndex,
                                       void* fieldValue, int maxlen, int flags) {
    WorkBuffer FileNameW;
    return FsContentGetValueW(HostTextToWide(FileNameW, fileName), fieldIndex, unitIndex,
                              fieldValue, maxlen, flags);
}

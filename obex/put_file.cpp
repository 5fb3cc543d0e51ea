// The host's put-file request: sends a local file to the chosen device.
#include "obex/transfer.h"
#include "platform/seam.h"
#include "plugin/fs_api.h"
#include "plugin/host_link.h"
#include "plugin/state.h"
#include "plugin/text_bridge.h"

namespace {

constexpr int localNameLimit = 1023;
constexpr int resultSent = 0;
constexpr int resultNotOpened = 3;
constexpr int resultFailed = 5;
// No device directory was chosen, so nothing can be written there; the user
// has already been told why in the box.
constexpr int resultNoDevice = 4;

// The part of a path behind its last slash or backslash; the whole path
// when it has none.
template <typename Char>
const Char* BaseNameOf(const Char* path) {
    const Char* base = path;
    for (const Char* p = path; *p != 0; ++p)
        if (*p == '/' || *p == '\\') base = p + 1;
    return base;
}

bool DeviceSelected() {
    return deviceChosen && selectedDevice >= 0 && selectedDevice < maxDevices;
}

}  // namespace

FS_EXPORT int WINAPI FsPutFileW(WCHAR* localName, WCHAR* remoteName, int) {
    if (!DeviceSelected()) {
        platform::ShowMessageBox("Please choose adapter \nand bluetooth device first!",
                                 "Wrong directory", MB_OK | MB_ICONERROR);
        return resultNoDevice;
    }
    // A null name is no file: taken as empty, it fails to open like one.
    static const WCHAR noName[] = {0};
    if (localName == nullptr) localName = const_cast<WCHAR*>(noName);
    char LocalNameA[localNameLimit + 1];
    ToAnsi(LocalNameA, localName, localNameLimit);
    // Opened by its wide name, so names outside the ANSI code page work.
    FILE* file = platform::FileOpenForReading(localName);
    if (file == nullptr) {
        LogAnsi(msgDetails, SystemErrorText(platform::LastError()));
        return resultNotOpened;
    }
    ReportProgress(localName, remoteName, 0);
    TransferJob job = {0, deviceAddresses[selectedDevice], file, BaseNameOf(LocalNameA),
                       localName, remoteName, BaseNameOf<WCHAR>(localName)};
    int result = SendFileObex(&job);
    fclose(file);
    if (result != transferSent) return resultFailed;
    ReportProgress(localName, remoteName, 100);
    return resultSent;
}

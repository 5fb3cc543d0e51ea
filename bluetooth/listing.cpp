// The virtual directory tree the host lists: the root holds the radios
// ("[A00] name"), a radio's folder the devices it finds ("[D00] name"), a
// device's folder one hint entry. Failures are single entries named by
// their message, so the host always has something to show.
#include <cstring>

#include "bluetooth/discovery.h"
#include "bluetooth/entry_name.h"
#include "platform/seam.h"
#include "plugin/entry_path.h"
#include "plugin/host_link.h"
#include "plugin/lifecycle.h"
#include "plugin/state.h"
#include "plugin/text_bridge.h"

namespace {

constexpr DWORD directoryEntry = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY;  // 0x11
constexpr DWORD messageEntry = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_NORMAL;       // 0x81
// The dirKind of a listing that FsFindNextW must not continue: one refused
// for its path's number, or one whose socket start failed.
constexpr WCHAR endedListing = 0;
constexpr int fileNameSize = sizeof(WIN32_FIND_DATAW::cFileName) / sizeof(WCHAR);

struct Directory {
    WCHAR kind;  // a separator for the root, A or D, anything else unknown
    int number;  // the entry number of the last component, -1 unless two digits
};

Directory ClassifyPath(const WCHAR* path) {
    if (path == nullptr) return {0, -1};
    EntryPath entry = ReadEntryPath(path);
    if (entry.length == 1) return {path[0], -1};
    return {entry.marker, entry.number};
}

bool IsRoot(WCHAR kind) { return kind == '\\' || kind == '/'; }

bool IsTableIndex(int number, int tableSize) { return number >= 0 && number < tableSize; }

void SetEntry(WIN32_FIND_DATAW* findData, DWORD attributes, const WCHAR* name) {
    findData->dwFileAttributes = attributes;
    CopyWideBounded(findData->cFileName, name, fileNameSize);
}

void LogLastError(int msgType) { LogAnsi(msgType, SystemErrorText(platform::LastError())); }

// An adapter or device entry: its name goes to the log, then into the record.
void ProduceEntry(WIN32_FIND_DATAW* findData, const WCHAR* name) {
    LogWide(msgDetails, name);
    SetEntry(findData, directoryEntry, name);
}

// The entry of radio `lastAdapter`; 0, or the error of its property read.
DWORD ProduceAdapter(WIN32_FIND_DATAW* findData) {
    DWORD result = platform::RadioGetInfo(radioHandles[lastAdapter], &radioInfo);
    if (result != 0) return result;
    memcpy(radioAddresses[lastAdapter], radioInfo.address.rgBytes, addressBytes);
    WCHAR name[entryNameSize];
    FormatEntryName(name, 'A', lastAdapter, radioInfo.szName);
    ProduceEntry(findData, name);
    return 0;
}

// The entry of the device deviceInfo describes, as number lastDevice + 1.
void ProduceDevice(WIN32_FIND_DATAW* findData) {
    ++lastDevice;
    memcpy(deviceAddresses[lastDevice], deviceInfo.Address.rgBytes, addressBytes);
    const WCHAR* label = deviceInfo.szName[0] != 0 ? deviceInfo.szName : WIDE("Unknown name");
    WCHAR name[entryNameSize];
    FormatEntryName(name, 'D', lastDevice, label);
    ProduceEntry(findData, name);
}

bool StartSocketApi(WIN32_FIND_DATAW* findData) {
    LogAnsi(msgDetails, "Starting Windows Socket API ...");
    int result = StartSockets();
    if (result > 0) {
        // WSAStartup reports its error as its result, not as the last error.
        LogAnsi(msgImportantError, SystemErrorText(static_cast<DWORD>(result - 100)));
        SetEntry(findData, messageEntry, WIDE("Can't start Windows Socket API!"));
        return false;
    }
    LogAnsi(msgDetails, "Done");
    LogAnsi(msgConnect, "CONNECT \\");
    socketsStarted = true;
    return true;
}

void ListRoot(WIN32_FIND_DATAW* findData) {
    deviceChosen = false;
    LogAnsi(msgDetails, "Finding radio adapters ...");
    if (FindFirstAdapter(lastAdapter + 1) != 0) {
        LogLastError(msgDetails);
        SetEntry(findData, messageEntry, WIDE("Can't find any radio adapter!"));
        return;
    }
    ++lastAdapter;
    // A radio whose properties cannot be read is skipped (its error logged),
    // so the radios after it are still listed. The read reports its error
    // as its result.
    DWORD result;
    while ((result = ProduceAdapter(findData)) != 0) {
        LogAnsi(msgDetails, SystemErrorText(result));
        if (FindNextAdapter(lastAdapter + 1) != 0) {
            SetEntry(findData, messageEntry, WIDE("Can't find any radio adapter!"));
            return;
        }
        ++lastAdapter;
    }
}

void ListAdapter(int adapter, WIN32_FIND_DATAW* findData) {
    deviceChosen = false;
    browsedAdapter = adapter;
    LogAnsi(msgDetails, "Finding radio devices ...");
    if (FindFirstDevice(radioHandles[browsedAdapter]) != 0) {
        LogLastError(msgImportantError);
        SetEntry(findData, messageEntry, WIDE("Can't find any radio device!"));
        return;
    }
    ProduceDevice(findData);
}

bool IsRecorded(const BYTE address[addressBytes]) {
    for (int i = 0; i < addressBytes; ++i)
        if (address[i] != 0) return true;
    return false;
}

void ListDevice(int device, WIN32_FIND_DATAW* findData) {
    selectedDevice = device;
    SetEntry(findData, messageEntry,
             IsRecorded(deviceAddresses[device]) ? WIDE("Copy the files to send.")
                                                 : WIDE("Please disconnect!"));
}

BOOL NextAdapter(WIN32_FIND_DATAW* findData) {
    if (FindNextAdapter(lastAdapter + 1) != 0) return FALSE;
    ++lastAdapter;
    return ProduceAdapter(findData) == 0 ? TRUE : FALSE;
}

BOOL NextDevice(WIN32_FIND_DATAW* findData) {
    if (!IsTableIndex(lastDevice + 1, maxDevices)) {
        CloseDeviceSearch();  // no room for a further device's address
        return FALSE;
    }
    if (FindNextDevice() != 0) return FALSE;
    ProduceDevice(findData);
    return TRUE;
}

}  // namespace

FS_EXPORT HANDLE WINAPI FsFindFirstW(WCHAR* path, WIN32_FIND_DATAW* findData) {
    Directory directory = ClassifyPath(path);
    dirKind = directory.kind;
    memset(findData, 0, sizeof *findData);
    lastAdapter = -1;
    lastDevice = -1;
    if (!socketsStarted && !StartSocketApi(findData)) {
        dirKind = endedListing;
        return nullptr;
    }
    if (IsRoot(dirKind)) {
        ListRoot(findData);
    } else if (dirKind == 'A' && IsTableIndex(directory.number, maxRadios)) {
        ListAdapter(directory.number, findData);
    } else if (dirKind == 'D' && IsTableIndex(directory.number, maxDevices)) {
        ListDevice(directory.number, findData);
    } else {
        // Also an adapter or device number the tables do not have: nothing
        // is searched or selected for it.
        if (dirKind == 'A' || dirKind == 'D') dirKind = endedListing;
        SetEntry(findData, directoryEntry, WIDE("Unknown directory!"));
    }
    return nullptr;
}

FS_EXPORT BOOL WINAPI FsFindNextW(HANDLE, WIN32_FIND_DATAW* findData) {
    memset(findData, 0, sizeof *findData);
    if (IsRoot(dirKind)) return NextAdapter(findData);
    if (dirKind == 'A') return NextDevice(findData);
    if (dirKind == 'D') {
        deviceChosen = true;  // the device's folder was listed to its end
        return FALSE;
    }
    return FALSE;
}

FS_EXPORT int WINAPI FsFindClose(HANDLE) { return 0; }

#include "platform/sim/bluetooth_sim.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/sim/host_env.h"
#include "platform/sim/last_error.h"
#include "platform/sim/world.h"

namespace sim {

namespace {

constexpr DWORD errorInvalidHandle = 6;
constexpr DWORD errorNotEnoughMemory = 8;
constexpr DWORD errorInvalidParameter = 87;
constexpr DWORD errorNotFound = 1168;
constexpr DWORD errorRevisionMismatch = 1306;
constexpr int searchPoolSize = 8;

struct Search {
    bool open;
    long number;  // counts searches from 1, so a trace tells them apart
    int radio;    // the radio searched (devices: allRadios for all)
    int next;     // the next radio or world device to look at
};

struct Simulation {
    char radioTokens[maxWorldRadios];  // radio i's handle is &radioTokens[i]
    Search radioSearches[searchPoolSize];
    Search deviceSearches[searchPoolSize];
    long searchesStarted;
    long reads[maxWorldDevices];
    int lastDeviceRead;
    BluetoothCalls calls;
    BLUETOOTH_DEVICE_SEARCH_PARAMS lastDeviceSearch;
};

Simulation state;

// The call trace: a line is held back until a different one comes, so a
// run of equal lines is written once with its count.
class Trace {
public:
    ~Trace() { Flush(); }

    bool On() { return Open(); }

    void Line(const std::string& line) {
        if (!Open()) return;
        if (line == pending_) {
            ++repeats_;
            return;
        }
        Flush();
        pending_ = line;
        repeats_ = 1;
    }

    // Closes end a search: everything up to them is written at once.
    void LineNow(const std::string& line) {
        Line(line);
        Flush();
    }

private:
    bool Open() {
        if (!checked_) {
            checked_ = true;
            std::string path = EnvironmentValue("QUELT_BT_TRACE");
            if (!path.empty()) file_ = OpenHostFile(path, "ab");
            if (!path.empty() && file_ == nullptr)
                fprintf(stderr, "%s: cannot open the Bluetooth trace file\n", path.c_str());
        }
        return file_ != nullptr;
    }

    void Flush() {
        if (file_ == nullptr || repeats_ == 0) return;
        if (repeats_ == 1)
            fprintf(file_, "%s\n", pending_.c_str());
        else
            fprintf(file_, "%s x%ld\n", pending_.c_str(), repeats_);
        fflush(file_);
        pending_.clear();
        repeats_ = 0;
    }

    bool checked_ = false;
    FILE* file_ = nullptr;
    std::string pending_;
    long repeats_ = 0;
};

Trace trace;

std::string AddressText(const BYTE address[6]) {
    char text[18];
    snprintf(text, sizeof text, "%02X:%02X:%02X:%02X:%02X:%02X", address[5], address[4],
             address[3], address[2], address[1], address[0]);
    return text;
}

// The radio a handle stands for: its index, allRadios for an empty handle,
// or -2 for a handle the simulation never gave out.
constexpr int unknownRadio = -2;
int RadioOf(HANDLE handle) {
    if (handle == nullptr) return allRadios;
    for (int i = 0; i < CurrentWorld().radioCount; ++i)
        if (handle == &state.radioTokens[i]) return i;
    return unknownRadio;
}

std::string RadioText(int radio) {
    if (radio == allRadios) return "radio=all";
    if (radio == unknownRadio) return "radio=unknown";
    return "radio=" + std::to_string(radio);
}

Search* StartSearch(Search pool[], int radio, int next) {
    for (int i = 0; i < searchPoolSize; ++i)
        if (!pool[i].open) {
            pool[i] = {true, ++state.searchesStarted, radio, next};
            return &pool[i];
        }
    return nullptr;
}

// The open search a handle names, or null (counted as a stale use).
Search* OpenSearch(Search pool[], HANDLE handle) {
    for (int i = 0; i < searchPoolSize; ++i)
        if (handle == &pool[i] && pool[i].open) return &pool[i];
    ++state.calls.staleHandleUses;
    return nullptr;
}

std::string SearchText(const Search* search) {
    return search == nullptr ? "search=stale" : "search=" + std::to_string(search->number);
}

BOOL CloseSearch(Search pool[], HANDLE handle, const char* call) {
    if (handle == nullptr) {
        trace.LineNow(std::string(call) + " search=none");
        return FALSE;
    }
    Search* search = OpenSearch(pool, handle);
    trace.LineNow(std::string(call) + " " + SearchText(search));
    if (search == nullptr) {
        SetLastError(errorInvalidHandle);
        return FALSE;
    }
    search->open = false;
    return TRUE;
}

bool FindsDevice(int radio, const WorldDevice& device) {
    return radio == allRadios || device.radio == allRadios || device.radio == radio;
}

int NextDeviceOf(int radio, int from) {
    const World& world = CurrentWorld();
    for (int i = from; i < world.deviceCount; ++i)
        if (FindsDevice(radio, world.devices[i])) return i;
    return -1;
}

bool NameArrived(int device) {
    long after = CurrentWorld().devices[device].nameAfter;
    return after != nameNever && state.reads[device] >= after;
}

// Rewrites the whole record but its size, as the platform does.
void DescribeDevice(int device, BLUETOOTH_DEVICE_INFO* info) {
    const WorldDevice& source = CurrentWorld().devices[device];
    DWORD size = info->dwSize;
    memset(info, 0, sizeof *info);
    info->dwSize = size;
    memcpy(info->Address.rgBytes, source.address, 6);
    if (NameArrived(device)) memcpy(info->szName, source.name, sizeof info->szName);
}

// A name wait reads one device again and again: look at that one first.
int WorldDeviceAt(const BYTE address[6]) {
    const World& world = CurrentWorld();
    int last = state.lastDeviceRead;
    if (last < world.deviceCount && memcmp(world.devices[last].address, address, 6) == 0)
        return last;
    for (int i = 0; i < world.deviceCount; ++i)
        if (memcmp(world.devices[i].address, address, 6) == 0) return state.lastDeviceRead = i;
    return -1;
}

// A property read refreshes the record in place; what changes is the name.
void RefreshName(int device, BLUETOOTH_DEVICE_INFO* info) {
    if (NameArrived(device))
        memcpy(info->szName, CurrentWorld().devices[device].name, sizeof info->szName);
    else
        info->szName[0] = 0;
}

bool ValidDeviceRecord(const BLUETOOTH_DEVICE_INFO* info) {
    if (info != nullptr && info->dwSize == sizeof(BLUETOOTH_DEVICE_INFO)) return true;
    SetLastError(errorRevisionMismatch);
    return false;
}

}  // namespace

HBLUETOOTH_RADIO_FIND FindFirstRadio(const BLUETOOTH_FIND_RADIO_PARAMS* params, HANDLE* radio) {
    ++state.calls.findFirstRadio;
    trace.Line("BluetoothFindFirstRadio");
    if (params == nullptr || radio == nullptr ||
        params->dwSize != sizeof(BLUETOOTH_FIND_RADIO_PARAMS)) {
        SetLastError(errorInvalidParameter);
        return nullptr;
    }
    if (CurrentWorld().radioCount == 0) {
        SetLastError(CurrentWorld().radioError);
        return nullptr;
    }
    Search* search = StartSearch(state.radioSearches, allRadios, 1);
    if (search == nullptr) {
        SetLastError(errorNotEnoughMemory);
        return nullptr;
    }
    *radio = &state.radioTokens[0];
    return search;
}

BOOL FindNextRadio(HBLUETOOTH_RADIO_FIND find, HANDLE* radio) {
    ++state.calls.findNextRadio;
    Search* search = OpenSearch(state.radioSearches, find);
    trace.Line("BluetoothFindNextRadio " + SearchText(search));
    if (search == nullptr) {
        SetLastError(errorInvalidHandle);
        return FALSE;
    }
    if (search->next >= CurrentWorld().radioCount) {
        SetLastError(defaultSearchError);
        return FALSE;
    }
    *radio = &state.radioTokens[search->next++];
    return TRUE;
}

BOOL FindRadioClose(HBLUETOOTH_RADIO_FIND find) {
    ++state.calls.findRadioClose;
    return CloseSearch(state.radioSearches, find, "BluetoothFindRadioClose");
}

DWORD GetRadioInfo(HANDLE radio, BLUETOOTH_RADIO_INFO* info) {
    ++state.calls.getRadioInfo;
    int index = RadioOf(radio);
    trace.Line("BluetoothGetRadioInfo " + RadioText(index));
    if (index < 0) {
        SetLastError(errorInvalidHandle);
        return errorInvalidHandle;
    }
    if (info == nullptr || info->dwSize != sizeof(BLUETOOTH_RADIO_INFO)) {
        SetLastError(errorRevisionMismatch);
        return errorRevisionMismatch;
    }
    const WorldRadio& source = CurrentWorld().radios[index];
    if (source.failsInfo) {
        SetLastError(source.infoError);
        return source.infoError;
    }
    memset(info, 0, sizeof *info);
    info->dwSize = sizeof *info;
    memcpy(info->address.rgBytes, source.address, 6);
    memcpy(info->szName, source.name, sizeof info->szName);
    return 0;
}

HBLUETOOTH_DEVICE_FIND FindFirstDevice(const BLUETOOTH_DEVICE_SEARCH_PARAMS* params,
                                       BLUETOOTH_DEVICE_INFO* info) {
    ++state.calls.findFirstDevice;
    if (params == nullptr || params->dwSize != sizeof(BLUETOOTH_DEVICE_SEARCH_PARAMS)) {
        trace.Line("BluetoothFindFirstDevice params=invalid");
        SetLastError(errorInvalidParameter);
        return nullptr;
    }
    state.lastDeviceSearch = *params;
    int radio = RadioOf(params->hRadio);
    trace.Line("BluetoothFindFirstDevice " + RadioText(radio));
    if (radio == unknownRadio) {
        SetLastError(errorInvalidHandle);
        return nullptr;
    }
    if (!ValidDeviceRecord(info)) return nullptr;
    int first = NextDeviceOf(radio, 0);
    if (first < 0) {
        SetLastError(CurrentWorld().deviceError);
        return nullptr;
    }
    Search* search = StartSearch(state.deviceSearches, radio, first + 1);
    if (search == nullptr) {
        SetLastError(errorNotEnoughMemory);
        return nullptr;
    }
    DescribeDevice(first, info);
    return search;
}

BOOL FindNextDevice(HBLUETOOTH_DEVICE_FIND find, BLUETOOTH_DEVICE_INFO* info) {
    ++state.calls.findNextDevice;
    Search* search = OpenSearch(state.deviceSearches, find);
    trace.Line("BluetoothFindNextDevice " + SearchText(search));
    if (search == nullptr) {
        SetLastError(errorInvalidHandle);
        return FALSE;
    }
    if (!ValidDeviceRecord(info)) return FALSE;
    int next = NextDeviceOf(search->radio, search->next);
    if (next < 0) {
        SetLastError(defaultSearchError);
        return FALSE;
    }
    search->next = next + 1;
    DescribeDevice(next, info);
    return TRUE;
}

BOOL FindDeviceClose(HBLUETOOTH_DEVICE_FIND find) {
    ++state.calls.findDeviceClose;
    return CloseSearch(state.deviceSearches, find, "BluetoothFindDeviceClose");
}

DWORD GetDeviceInfo(HANDLE radio, BLUETOOTH_DEVICE_INFO* info) {
    ++state.calls.getDeviceInfo;
    int radioIndex = RadioOf(radio);
    if (info == nullptr) {
        SetLastError(errorInvalidParameter);
        return errorInvalidParameter;
    }
    if (trace.On()) trace.Line("BluetoothGetDeviceInfo " + AddressText(info->Address.rgBytes));
    if (radioIndex == unknownRadio) {
        SetLastError(errorInvalidHandle);
        return errorInvalidHandle;
    }
    if (!ValidDeviceRecord(info)) return errorRevisionMismatch;
    const World& world = CurrentWorld();
    int device = WorldDeviceAt(info->Address.rgBytes);
    if (device < 0 || !FindsDevice(radioIndex, world.devices[device])) {
        SetLastError(errorNotFound);
        return errorNotFound;
    }
    ++state.reads[device];
    RefreshName(device, info);
    return 0;
}

const BluetoothCalls& Calls() { return state.calls; }

int OpenSearches() {
    int open = 0;
    for (int i = 0; i < searchPoolSize; ++i)
        open += (state.radioSearches[i].open ? 1 : 0) + (state.deviceSearches[i].open ? 1 : 0);
    return open;
}

long DeviceReads(int device) {
    return device >= 0 && device < maxWorldDevices ? state.reads[device] : 0;
}

const BLUETOOTH_DEVICE_SEARCH_PARAMS& LastDeviceSearch() { return state.lastDeviceSearch; }

HANDLE RadioHandle(int radio) {
    return radio >= 0 && radio < maxWorldRadios ? &state.radioTokens[radio] : nullptr;
}

void ResetBluetoothSimulation() {
    memset(&state, 0, sizeof state);
}

}  // namespace sim

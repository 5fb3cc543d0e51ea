// The world reader: turns the records of a world file into a World.
// Every mistake in a file is reported with its line and the world is then
// not used, so a test never runs against a world it did not mean.
#include "platform/sim/world.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/sim/bluetooth_sim.h"
#include "platform/sim/host_env.h"
#include "platform/sim/unicode.h"
#include "platform/sim/world_record.h"

namespace sim {

const char* const demoWorldText =
    "# The demo: one radio, a phone whose Object Push service listens on\n"
    "# 127.0.0.1:6500 and a tablet whose name arrives late.\n"
    "radio  address=00:1A:7D:DA:71:13 name=\"Office dongle\"\n"
    "device radio=0 address=00:1B:F0:12:3A:5E name=\"Demo phone\" obex=127.0.0.1:6500\n"
    "device radio=0 address=00:1B:F0:77:10:02 name=\"Demo tablet\" name-after=5000\n";

namespace {

bool HexDigit(char c, int* value) {
    if (c >= '0' && c <= '9') *value = c - '0';
    else if (c >= 'A' && c <= 'F') *value = c - 'A' + 10;
    else if (c >= 'a' && c <= 'f') *value = c - 'a' + 10;
    else return false;
    return true;
}

// "00:1B:F0:12:3A:5E", most significant byte first, into the platform's
// least-significant-first bytes.
bool ParseAddress(const std::string& text, BYTE address[6]) {
    if (text.size() != 17) return false;
    for (int b = 0; b < 6; ++b) {
        int high, low;
        size_t at = static_cast<size_t>(b) * 3;
        if (!HexDigit(text[at], &high) || !HexDigit(text[at + 1], &low)) return false;
        if (b < 5 && text[at + 2] != ':') return false;
        address[5 - b] = static_cast<BYTE>(high * 16 + low);
    }
    return true;
}

bool ParseUnsigned(const std::string& text, unsigned long long limit, unsigned long long* value) {
    if (text.empty() || text.size() > 10) return false;
    unsigned long long result = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        result = result * 10 + static_cast<unsigned>(c - '0');
    }
    if (result > limit) return false;
    *value = result;
    return true;
}

// UTF-8 into at most worldNameSize - 1 UTF-16 units.
bool ParseName(const std::string& text, WCHAR name[worldNameSize], std::string* what) {
    int length = 0;
    for (size_t pos = 0; pos < text.size();) {
        char32_t point = unicode::DecodeUtf8(text.data(), text.size(), &pos);
        if (point == unicode::invalid) {
            *what = "name is not valid UTF-8";
            return false;
        }
        WCHAR units[unicode::maxUtf16Units];
        int count = unicode::EncodeUtf16(point, units);
        if (length + count > worldNameSize - 1) {
            *what = "name is longer than 247 UTF-16 units";
            return false;
        }
        for (int k = 0; k < count; ++k) name[length++] = units[k];
    }
    name[length] = 0;
    return true;
}

bool IsLoopback(const std::string& host) {
    return host == "localhost" || host.compare(0, 4, "127.") == 0;
}

bool ParseObex(const std::string& text, WorldDevice* device, std::string* what) {
    size_t colon = text.rfind(':');
    unsigned long long port = 0;
    if (colon == std::string::npos || colon == 0 ||
        !ParseUnsigned(text.substr(colon + 1), 65535, &port) || port == 0) {
        *what = "obex must be HOST:PORT";
        return false;
    }
    std::string host = text.substr(0, colon);
    if (!IsLoopback(host) || host.size() >= sizeof device->obexHost) {
        *what = "obex host must be a loopback address";
        return false;
    }
    memcpy(device->obexHost, host.c_str(), host.size() + 1);
    device->obexPort = static_cast<int>(port);
    device->hasObex = true;
    return true;
}

// The keys of one record, each taken once; what is left over is unknown.
class Fields {
public:
    explicit Fields(const Record& record) : record_(record), taken_(record.tokens.size()) {}

    const std::string* Take(const char* key) {
        for (size_t i = 0; i < record_.tokens.size(); ++i)
            if (record_.tokens[i].key == key) {
                taken_[i] = true;
                return &record_.tokens[i].value;
            }
        return nullptr;
    }

    bool CheckAllTaken(std::string* what) const {
        for (size_t i = 0; i < taken_.size(); ++i)
            if (!taken_[i]) {
                *what = "unknown key '" + record_.tokens[i].key + "' in " + record_.keyword;
                return false;
            }
        return true;
    }

private:
    const Record& record_;
    std::vector<bool> taken_;
};

bool TakeRequired(Fields* fields, const char* key, const std::string** value,
                  const std::string& keyword, std::string* what) {
    *value = fields->Take(key);
    if (*value == nullptr) *what = keyword + " needs " + key + "=";
    return *value != nullptr;
}

bool ParseCode(const std::string& text, const char* key, DWORD* code, std::string* what) {
    unsigned long long value;
    if (!ParseUnsigned(text, 0xFFFFFFFFull, &value)) {
        *what = std::string(key) + " must be a decimal error code";
        return false;
    }
    *code = static_cast<DWORD>(value);
    return true;
}

bool TakeCode(Fields* fields, const char* key, DWORD* code, std::string* what) {
    const std::string* text = fields->Take(key);
    return text == nullptr || ParseCode(*text, key, code, what);
}

bool ParseRadio(const Record& record, World* world, std::string* what) {
    if (world->radioCount >= maxWorldRadios) {
        *what = "more than 16 radios";
        return false;
    }
    WorldRadio radio = {};
    Fields fields(record);
    const std::string *address, *name;
    if (!TakeRequired(&fields, "address", &address, "radio", what) ||
        !TakeRequired(&fields, "name", &name, "radio", what))
        return false;
    if (!ParseAddress(*address, radio.address)) {
        *what = "address must look like 00:1A:7D:DA:71:13";
        return false;
    }
    if (!ParseName(*name, radio.name, what)) return false;
    const std::string* infoError = fields.Take("info-error");
    if (infoError != nullptr) {
        if (!ParseCode(*infoError, "info-error", &radio.infoError, what)) return false;
        if (radio.infoError == 0) {
            *what = "info-error must not be 0: a failure needs a code";
            return false;
        }
        radio.failsInfo = true;
    }
    if (!fields.CheckAllTaken(what)) return false;
    world->radios[world->radioCount++] = radio;
    return true;
}

bool ParseNameAfter(const std::string* text, WorldDevice* device, std::string* what) {
    if (text == nullptr) return true;
    unsigned long long count;
    if (*text == "never") {
        device->nameAfter = nameNever;
    } else if (ParseUnsigned(*text, 2000000000ull, &count)) {
        device->nameAfter = static_cast<long>(count);
    } else {
        *what = "name-after must be a count or never";
        return false;
    }
    return true;
}

bool ParseDeviceRadio(const std::string& text, WorldDevice* device, std::string* what) {
    unsigned long long index;
    if (text == "*") {
        device->radio = allRadios;
    } else if (ParseUnsigned(text, maxWorldRadios - 1, &index)) {
        device->radio = static_cast<int>(index);
    } else {
        *what = "radio must be a radio's number or *";
        return false;
    }
    return true;
}

bool ParseDevice(const Record& record, World* world, std::string* what) {
    if (world->deviceCount >= maxWorldDevices) {
        *what = "more than 256 devices";
        return false;
    }
    WorldDevice device = {};
    device.connectError = defaultConnectError;
    Fields fields(record);
    const std::string *radio, *address, *name;
    if (!TakeRequired(&fields, "radio", &radio, "device", what) ||
        !TakeRequired(&fields, "address", &address, "device", what) ||
        !TakeRequired(&fields, "name", &name, "device", what) ||
        !ParseDeviceRadio(*radio, &device, what))
        return false;
    if (!ParseAddress(*address, device.address)) {
        *what = "address must look like 00:1B:F0:12:3A:5E";
        return false;
    }
    for (int i = 0; i < world->deviceCount; ++i)
        if (memcmp(world->devices[i].address, device.address, 6) == 0) {
            *what = "two devices with the address " + *address;
            return false;
        }
    const std::string* obex = fields.Take("obex");
    if (!ParseName(*name, device.name, what) ||
        !ParseNameAfter(fields.Take("name-after"), &device, what) ||
        (obex != nullptr && !ParseObex(*obex, &device, what)) ||
        !TakeCode(&fields, "connect-error", &device.connectError, what) ||
        !fields.CheckAllTaken(what))
        return false;
    world->devices[world->deviceCount++] = device;
    return true;
}

bool ParseSearch(const Record& record, World* world, std::string* what) {
    Fields fields(record);
    return TakeCode(&fields, "radio-error", &world->radioError, what) &&
           TakeCode(&fields, "device-error", &world->deviceError, what) &&
           fields.CheckAllTaken(what);
}

bool ParseSockets(const Record& record, World* world, std::string* what) {
    Fields fields(record);
    DWORD timeout = 0;
    if (!TakeCode(&fields, "startup-error", &world->startupError, what) ||
        !TakeCode(&fields, "reply-timeout-ms", &timeout, what) || !fields.CheckAllTaken(what))
        return false;
    if (timeout > 3600000) {
        *what = "reply-timeout-ms must be at most 3600000";
        return false;
    }
    world->replyTimeoutMs = static_cast<int>(timeout);
    return true;
}

struct Parser {
    World* world;
    bool seenSearch = false;
    bool seenSockets = false;

    bool Once(bool* seen, const std::string& keyword, std::string* what) {
        if (*seen) *what = "only one " + keyword + " record is allowed";
        return !*seen && (*seen = true);
    }

    bool Line(const std::string& line, std::string* what) {
        Record record;
        if (!ReadRecord(line, &record, what)) return false;
        const std::string& keyword = record.keyword;
        if (keyword.empty()) return true;
        if (keyword == "radio") return ParseRadio(record, world, what);
        if (keyword == "device") return ParseDevice(record, world, what);
        if (keyword == "search")
            return Once(&seenSearch, keyword, what) && ParseSearch(record, world, what);
        if (keyword == "sockets")
            return Once(&seenSockets, keyword, what) && ParseSockets(record, world, what);
        *what = "unknown record '" + keyword + "'";
        return false;
    }
};

void Report(char* error, size_t errorSize, const char* sourceName, int line,
            const std::string& what) {
    if (error != nullptr && errorSize > 0)
        snprintf(error, errorSize, "%s:%d: %s", sourceName, line, what.c_str());
}

World currentWorld;
bool worldLoaded = false;

// Reads the whole file; false when it cannot be opened or read.
bool ReadFile(const std::string& path, std::string* text) {
    FILE* file = OpenHostFile(path, "rb");
    if (file == nullptr) return false;
    char chunk[4096];
    size_t got;
    while ((got = fread(chunk, 1, sizeof chunk, file)) > 0) text->append(chunk, got);
    bool ok = ferror(file) == 0;
    fclose(file);
    return ok;
}

void LoadWorld(World* world) {
    std::string path = EnvironmentValue("QUELT_WORLD");
    char error[512];
    if (path.empty()) {
        if (!ParseWorld(demoWorldText, "demo world", world, error, sizeof error))
            fprintf(stderr, "%s\n", error);
        return;
    }
    std::string text;
    if (!ReadFile(path, &text)) {
        fprintf(stderr, "%s: cannot read the world file; the world has no radio\n",
                path.c_str());
        ClearWorld(world);
    } else if (!ParseWorld(text, path.c_str(), world, error, sizeof error)) {
        fprintf(stderr, "%s; the world is not used, it has no radio\n", error);
    }
    fflush(stderr);
}

}  // namespace

void ClearWorld(World* world) {
    memset(world, 0, sizeof *world);
    world->radioError = defaultSearchError;
    world->deviceError = defaultSearchError;
}

bool ParseWorld(const std::string& text, const char* sourceName, World* world, char* error,
                size_t errorSize) {
    ClearWorld(world);
    Parser parser{world};
    std::vector<int> deviceLines;
    int lineNumber = 0;
    size_t at = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;  // a UTF-8 byte order mark
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        size_t length = (end == std::string::npos ? text.size() : end) - at;
        std::string line = text.substr(at, length);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        ++lineNumber;
        std::string what;
        int devicesBefore = world->deviceCount;
        if (!parser.Line(line, &what)) {
            Report(error, errorSize, sourceName, lineNumber, what);
            ClearWorld(world);
            return false;
        }
        if (world->deviceCount > devicesBefore) deviceLines.push_back(lineNumber);
        at += length + 1;
    }
    for (int i = 0; i < world->deviceCount; ++i)
        if (world->devices[i].radio >= world->radioCount) {
            Report(error, errorSize, sourceName, deviceLines[i],
                   "radio " + std::to_string(world->devices[i].radio) + " is not in the world");
            ClearWorld(world);
            return false;
        }
    return true;
}

const World& CurrentWorld() {
    if (!worldLoaded) {
        LoadWorld(&currentWorld);
        worldLoaded = true;
    }
    return currentWorld;
}

void UseWorld(const World& world) {
    currentWorld = world;
    worldLoaded = true;
    ResetBluetoothSimulation();
}

}  // namespace sim

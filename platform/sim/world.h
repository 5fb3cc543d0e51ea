// The simulated Bluetooth world: which radios the computer has, which
// devices each finds, how their names arrive, where each device's Object
// Push service listens. Read from the file named by QUELT_WORLD, or the
// built-in demo world when it is unset; the file format is described in
// the team's world-file notes.
// Used by the native simulated platform and by the stand-in bthprops.cpl.
#pragma once

#include <cstddef>
#include <string>

#include "platform/win32_types.h"

namespace sim {

constexpr int maxWorldRadios = 16;
constexpr int maxWorldDevices = 256;
constexpr int worldNameSize = 248;  // 247 UTF-16 units and a terminator
constexpr long nameNever = -1;
constexpr int allRadios = -1;
constexpr DWORD defaultSearchError = 259;    // ERROR_NO_MORE_ITEMS
constexpr DWORD defaultConnectError = 10060;  // WSAETIMEDOUT

struct WorldRadio {
    BYTE address[6];  // least significant byte first, as the platform stores it
    WCHAR name[worldNameSize];
    bool failsInfo;
    DWORD infoError;
};

struct WorldDevice {
    int radio;  // index of the radio that finds it, or allRadios
    BYTE address[6];
    WCHAR name[worldNameSize];
    long nameAfter;  // property reads before the name appears, or nameNever
    bool hasObex;
    char obexHost[64];
    int obexPort;
    DWORD connectError;  // 10060 unless the file says otherwise
};

struct World {
    WorldRadio radios[maxWorldRadios];
    int radioCount;
    WorldDevice devices[maxWorldDevices];
    int deviceCount;
    DWORD radioError;    // left by a radio search that finds nothing (259)
    DWORD deviceError;   // left by a device search that finds nothing (259)
    DWORD startupError;  // WSAStartup's result, 0 = starts
    int replyTimeoutMs;  // cap on receive time limits, 0 = no cap
};

// Empties a world: no radio, no device, the default errors.
void ClearWorld(World* world);

// Parses world text (all of it: a NUL byte is a malformed line, not its
// end); on error writes "<source>:<line>: <what>" into `error`, leaves
// `world` empty (ClearWorld) and returns false.
bool ParseWorld(const std::string& text, const char* sourceName, World* world, char* error,
                size_t errorSize);

// The text of the built-in demo world.
extern const char* const demoWorldText;

// The world of this process: read once, on first use, from QUELT_WORLD or
// the demo world. A file that cannot be read or parsed is reported on
// standard error and gives a world without any radio.
const World& CurrentWorld();

// Replaces the world of this process and starts the simulated Bluetooth
// afresh (tests).
void UseWorld(const World& world);

}  // namespace sim

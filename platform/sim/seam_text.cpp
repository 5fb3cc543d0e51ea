// Text services of the simulated platform: the ANSI code page (Windows-1252),
// the system's error texts, the per-thread last error.
#include <cstring>

#include "platform/seam.h"
#include "platform/sim/last_error.h"
#include "platform/sim/unicode.h"

namespace sim {

static thread_local DWORD lastError = 0;

void SetLastError(DWORD code) { lastError = code; }
DWORD GetLastError() { return lastError; }

}  // namespace sim

namespace {

constexpr char substituteCharacter = '?';

struct SystemText {
    DWORD code;
    const char* text;
};

// The texts the plug-in can meet, worded as Windows words them.
const SystemText systemTexts[] = {
    {0, "The operation completed successfully.\r\n"},
    {2, "The system cannot find the file specified.\r\n"},
    {3, "The system cannot find the path specified.\r\n"},
    {5, "Access is denied.\r\n"},
    {6, "The handle is invalid.\r\n"},
    {87, "The parameter is incorrect.\r\n"},
    {120, "This function is not supported on this system.\r\n"},
    {122, "The data area passed to a system call is too small.\r\n"},
    {259, "No more data is available.\r\n"},
    {1167, "The device is not connected.\r\n"},
    {1168, "Element not found.\r\n"},
    {10004, "A blocking operation was interrupted by a call to WSACancelBlockingCall.\r\n"},
    {10013, "An attempt was made to access a socket in a way forbidden by its access "
            "permissions.\r\n"},
    {10022, "An invalid argument was supplied.\r\n"},
    {10043, "The requested protocol has not been configured into the system, or no "
            "implementation for it exists.\r\n"},
    {10049, "The requested address is not valid in its context.\r\n"},
    {10050, "A socket operation encountered a dead network.\r\n"},
    {10051, "A socket operation was attempted to an unreachable network.\r\n"},
    {10053, "An established connection was aborted by the software in your host machine.\r\n"},
    {10054, "An existing connection was forcibly closed by the remote host.\r\n"},
    {10056, "A connect request was made on an already connected socket.\r\n"},
    {10057, "A request to send or receive data was disallowed because the socket is not "
            "connected and (when sending on a datagram socket) no address was supplied.\r\n"},
    {10060, "A connection attempt failed because the connected party did not properly "
            "respond after a period of time, or established connection failed because "
            "connected host has failed to respond.\r\n"},
    {10061, "No connection could be made because the target machine actively refused it.\r\n"},
    {10064, "A socket operation failed because the destination host was down.\r\n"},
    {10065, "A socket operation was attempted to an unreachable host.\r\n"},
    {10091, "WSAStartup cannot function at this time because the underlying system it uses "
            "to provide network services is currently unavailable.\r\n"},
    {10092, "The Windows Sockets version requested is not supported.\r\n"},
    {10093, "Either the application has not called WSAStartup, or WSAStartup failed.\r\n"},
};

}  // namespace

namespace platform {

int WideToAnsi(const WCHAR* source, char* destination, int capacity) {
    for (int written = 0; written < capacity; ++written) {
        destination[written] = unicode::WideToCp1252(source[written], substituteCharacter);
        if (source[written] == 0) return written + 1;
    }
    sim::SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
}

int AnsiToWide(const char* source, WCHAR* destination, int capacity) {
    for (int written = 0; written < capacity; ++written) {
        destination[written] = unicode::Cp1252ToWide(static_cast<unsigned char>(source[written]));
        if (source[written] == '\0') return written + 1;
    }
    sim::SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
}

// Texts with inserts (317's "%1") cannot be formatted without arguments:
// like Windows, such a request fails with 87; unknown codes fail with 317.
DWORD FormatSystemMessage(DWORD code, char* buffer, DWORD size) {
    if (code == ERROR_MR_MID_NOT_FOUND) {
        sim::SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    for (const SystemText& entry : systemTexts) {
        if (entry.code != code) continue;
        size_t length = strlen(entry.text);
        if (length + 1 > size) {
            sim::SetLastError(ERROR_INSUFFICIENT_BUFFER);
            return 0;
        }
        memcpy(buffer, entry.text, length + 1);
        return static_cast<DWORD>(length);
    }
    sim::SetLastError(ERROR_MR_MID_NOT_FOUND);
    return 0;
}

DWORD LastError() { return sim::GetLastError(); }

}  // namespace platform

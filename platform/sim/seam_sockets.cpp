// The socket API of the simulated platform.
#include "platform/seam.h"
#include "platform/sim/last_error.h"
#include "platform/sim/world.h"

namespace {
int startups = 0;  // WSAStartup calls not yet matched by WSACleanup
constexpr DWORD notInitialised = 10093;  // WSANOTINITIALISED
constexpr DWORD noSupport = 10043;       // WSAEPROTONOSUPPORT
}  // namespace

namespace platform {

int SocketApiStartup(WORD version, WSADATA* data) {
    DWORD error = sim::CurrentWorld().startupError;
    if (error != 0) return static_cast<int>(error);
    *data = WSADATA{};
    data->wVersion = version;
    data->wHighVersion = 0x0202;
    ++startups;
    return 0;
}

int SocketApiCleanup() {
    if (startups == 0) {
        sim::SetLastError(notInitialised);
        return SOCKET_ERROR;
    }
    --startups;
    return 0;
}

// RFCOMM sockets arrive with the sending work; until then none can be made.
SOCKET SocketOpen(int, int, int) {
    sim::SetLastError(noSupport);
    return INVALID_SOCKET;
}
int SocketGetOption(SOCKET, int, int, char*, int*) { return SOCKET_ERROR; }
int SocketSetOption(SOCKET, int, int, const char*, int) { return SOCKET_ERROR; }
int SocketConnect(SOCKET, const SOCKADDR_BTH*, int) { return SOCKET_ERROR; }
int SocketSend(SOCKET, const char*, int) { return SOCKET_ERROR; }
int SocketReceive(SOCKET, char*, int) { return SOCKET_ERROR; }
int SocketClose(SOCKET) { return SOCKET_ERROR; }

}  // namespace platform

// The socket API of the simulated platform. An RFCOMM socket is a TCP
// socket: connect looks the device up in the world by its address and goes
// to its obex= host and port on loopback. Failures leave the Windows
// Sockets code as the thread's last error, as the real API does.
#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

// The POSIX names below; the Windows ones of the same names follow with
// the seam's header.
namespace {
constexpr int posixSolSocket = SOL_SOCKET;
constexpr int posixReceiveTimeout = SO_RCVTIMEO;
constexpr int posixStream = SOCK_STREAM;
}  // namespace
#undef SOL_SOCKET
#undef SO_RCVTIMEO
#undef SOCK_STREAM

#include "platform/seam.h"
#include "platform/sim/last_error.h"
#include "platform/sim/world.h"

namespace {

int startups = 0;  // WSAStartup calls not yet matched by WSACleanup

constexpr DWORD wsaInterrupted = 10004;
constexpr DWORD wsaBadAddress = 10014;  // WSAEFAULT
constexpr DWORD wsaInvalid = 10022;
constexpr DWORD wsaNotSocket = 10038;
constexpr DWORD wsaNoProtocolOption = 10042;
constexpr DWORD wsaNoSupport = 10043;  // WSAEPROTONOSUPPORT
constexpr DWORD wsaFamilyNotSupported = 10047;
constexpr DWORD wsaAddressNotAvailable = 10049;
constexpr DWORD wsaNetworkUnreachable = 10051;
constexpr DWORD wsaConnectionAborted = 10053;
constexpr DWORD wsaConnectionReset = 10054;
constexpr DWORD wsaNotConnected = 10057;
constexpr DWORD wsaTimedOut = 10060;
constexpr DWORD wsaRefused = 10061;
constexpr DWORD wsaHostUnreachable = 10065;
constexpr DWORD wsaNotInitialised = 10093;
constexpr DWORD wsaServiceNotFound = 10108;

// Object Push service class 00001105-0000-1000-8000-00805F9B34FB.
constexpr GUID objectPushService = {0x00001105, 0x0000, 0x1000,
                                    {0x80, 0x00, 0x00, 0x80, 0x5F, 0x9B, 0x34, 0xFB}};
constexpr ULONG anyPort = 0xFFFFFFFF;

DWORD WsaCodeForErrno(int error) {
    switch (error) {
        case ECONNREFUSED: return wsaRefused;
        case ETIMEDOUT:
        case EAGAIN: return wsaTimedOut;
        case ECONNRESET: return wsaConnectionReset;
        case EPIPE:
        case ECONNABORTED: return wsaConnectionAborted;
        case EISCONN: return WSAEISCONN;
        case ENOTCONN: return wsaNotConnected;
        case EBADF:
        case ENOTSOCK: return wsaNotSocket;
        case EINTR: return wsaInterrupted;
        case EFAULT: return wsaBadAddress;
        case EHOSTUNREACH: return wsaHostUnreachable;
        case ENETUNREACH: return wsaNetworkUnreachable;
        case EADDRNOTAVAIL: return wsaAddressNotAvailable;
        default: return wsaInvalid;
    }
}

int FailWith(DWORD code) {
    sim::SetLastError(code);
    return SOCKET_ERROR;
}

int FailWithErrno() { return FailWith(WsaCodeForErrno(errno)); }

int Descriptor(SOCKET s) { return static_cast<int>(s); }

// Only sockets this API made are accepted; anything else is WSAENOTSOCK.
bool IsSocket(SOCKET s) {
    struct stat info;
    return s <= 0x7FFFFFFF && fstat(Descriptor(s), &info) == 0 && S_ISSOCK(info.st_mode);
}

bool SameGuid(const GUID& a, const GUID& b) { return memcmp(&a, &b, sizeof(GUID)) == 0; }

const sim::WorldDevice* DeviceAt(BTH_ADDR btAddr) {
    const sim::World& world = sim::CurrentWorld();
    for (int i = 0; i < world.deviceCount; ++i) {
        BTH_ADDR address = 0;
        for (int b = 5; b >= 0; --b) address = address << 8 | world.devices[i].address[b];
        if (address == btAddr) return &world.devices[i];
    }
    return nullptr;
}

void FillProtocolInfo(WSAPROTOCOL_INFOA* info) {
    *info = WSAPROTOCOL_INFOA{};
    info->dwServiceFlags1 = 0x00020006;  // guaranteed delivery and order, IFS handles
    info->ProviderId = {0x9FC48064, 0x7298, 0x43E4, {0xB7, 0xBD, 0x18, 0x1F, 0x20, 0x89, 0x79, 0x2A}};
    info->dwCatalogEntryId = 1019;
    info->ProtocolChain.ChainLen = 1;  // a base protocol
    info->iVersion = 2;
    info->iAddressFamily = AF_BTH;
    info->iMaxSockAddr = sizeof(SOCKADDR_BTH);
    info->iMinSockAddr = sizeof(SOCKADDR_BTH);
    info->iSocketType = SOCK_STREAM;
    info->iProtocol = BTHPROTO_RFCOMM;
    strcpy(info->szProtocol, "MSAFD RfComm [Bluetooth]");
}

// Puts a TCP socket of the peer's address family under the same descriptor
// number, keeping the receive time limit already set.
bool MatchFamily(int fd, int family) {
    sockaddr_storage own;
    socklen_t ownSize = sizeof own;
    if (getsockname(fd, reinterpret_cast<sockaddr*>(&own), &ownSize) == 0 && own.ss_family == family)
        return true;
    timeval limit = {};
    socklen_t limitSize = sizeof limit;
    getsockopt(fd, posixSolSocket, posixReceiveTimeout, &limit, &limitSize);
    int fresh = ::socket(family, posixStream | SOCK_CLOEXEC, 0);
    if (fresh < 0) return false;
    setsockopt(fresh, posixSolSocket, posixReceiveTimeout, &limit, sizeof limit);
    bool moved = dup2(fresh, fd) == fd;
    close(fresh);
    return moved;
}

int ConnectTcp(int fd, const char* host, int port) {
    addrinfo hints = {};
    hints.ai_socktype = posixStream;
    hints.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV;
    char service[16];
    snprintf(service, sizeof service, "%d", port);
    // The world allows the loopback name too; numbers alone are looked up
    // here, so no name service is ever asked.
    if (strcmp(host, "localhost") == 0) host = "127.0.0.1";
    addrinfo* found = nullptr;
    if (getaddrinfo(host, service, &hints, &found) != 0 || found == nullptr)
        return FailWith(wsaAddressNotAvailable);
    int result = 0;
    if (!MatchFamily(fd, found->ai_family))
        result = FailWithErrno();
    else if (::connect(fd, found->ai_addr, found->ai_addrlen) != 0)
        result = FailWithErrno();
    freeaddrinfo(found);
    return result;
}

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
    if (startups == 0) return FailWith(wsaNotInitialised);
    --startups;
    return 0;
}

SOCKET SocketOpen(int family, int type, int protocol) {
    if (startups == 0) return FailWith(wsaNotInitialised), INVALID_SOCKET;
    if (family != AF_BTH) return FailWith(wsaFamilyNotSupported), INVALID_SOCKET;
    if (type != SOCK_STREAM || protocol != BTHPROTO_RFCOMM)
        return FailWith(wsaNoSupport), INVALID_SOCKET;
    int fd = ::socket(AF_INET, posixStream | SOCK_CLOEXEC, 0);
    if (fd < 0) return FailWithErrno(), INVALID_SOCKET;
    return static_cast<SOCKET>(fd);
}

int SocketGetOption(SOCKET s, int level, int name, char* value, int* size) {
    if (!IsSocket(s)) return FailWith(wsaNotSocket);
    if (level != SOL_SOCKET || name != SO_PROTOCOL_INFOA) return FailWith(wsaNoProtocolOption);
    if (value == nullptr || size == nullptr || *size < static_cast<int>(sizeof(WSAPROTOCOL_INFOA)))
        return FailWith(wsaBadAddress);
    FillProtocolInfo(reinterpret_cast<WSAPROTOCOL_INFOA*>(value));
    *size = sizeof(WSAPROTOCOL_INFOA);
    return 0;
}

// SO_RCVTIMEO only: a DWORD of milliseconds, 0 for no limit, capped at the
// world's reply-timeout-ms so that tests of silent peers end quickly.
int SocketSetOption(SOCKET s, int level, int name, const char* value, int size) {
    if (!IsSocket(s)) return FailWith(wsaNotSocket);
    if (level != SOL_SOCKET || name != SO_RCVTIMEO) return FailWith(wsaNoProtocolOption);
    if (value == nullptr || size < static_cast<int>(sizeof(DWORD))) return FailWith(wsaBadAddress);
    DWORD ms;
    memcpy(&ms, value, sizeof ms);
    int cap = sim::CurrentWorld().replyTimeoutMs;
    if (cap > 0 && (ms == 0 || ms > static_cast<DWORD>(cap))) ms = static_cast<DWORD>(cap);
    timeval limit = {static_cast<time_t>(ms / 1000), static_cast<suseconds_t>(ms % 1000 * 1000)};
    if (setsockopt(Descriptor(s), posixSolSocket, posixReceiveTimeout, &limit, sizeof limit) != 0)
        return FailWithErrno();
    return 0;
}

int SocketConnect(SOCKET s, const SOCKADDR_BTH* address, int size) {
    if (!IsSocket(s)) return FailWith(wsaNotSocket);
    if (address == nullptr || size < static_cast<int>(sizeof(SOCKADDR_BTH)))
        return FailWith(wsaBadAddress);
    if (address->addressFamily != AF_BTH) return FailWith(wsaFamilyNotSupported);
    // Read by value: the record is packed, so its GUID may sit unaligned.
    const GUID service = address->serviceClassId;
    if (address->port == anyPort && !SameGuid(service, objectPushService))
        return FailWith(wsaServiceNotFound);
    const sim::WorldDevice* device = DeviceAt(address->btAddr);
    if (device == nullptr) return FailWith(wsaTimedOut);
    DWORD deviceError = device->connectError != 0 ? device->connectError : wsaTimedOut;
    if (!device->hasObex) return FailWith(deviceError);
    if (ConnectTcp(Descriptor(s), device->obexHost, device->obexPort) != 0) return SOCKET_ERROR;
    // A device that reports "already connected" is connected all the same.
    if (device->connectError == WSAEISCONN) return FailWith(WSAEISCONN);
    return 0;
}

int SocketSend(SOCKET s, const char* buffer, int length) {
    if (!IsSocket(s)) return FailWith(wsaNotSocket);
    if (length < 0) return FailWith(wsaInvalid);
    ssize_t sent = ::send(Descriptor(s), buffer, static_cast<size_t>(length), MSG_NOSIGNAL);
    if (sent < 0) return FailWithErrno();
    return static_cast<int>(sent);
}

int SocketReceive(SOCKET s, char* buffer, int length) {
    if (!IsSocket(s)) return FailWith(wsaNotSocket);
    if (length < 0) return FailWith(wsaInvalid);
    ssize_t count;
    do {
        count = ::recv(Descriptor(s), buffer, static_cast<size_t>(length), 0);
    } while (count < 0 && errno == EINTR);
    if (count < 0) return FailWithErrno();
    return static_cast<int>(count);
}

int SocketClose(SOCKET s) {
    if (!IsSocket(s)) return FailWith(wsaNotSocket);
    if (::close(Descriptor(s)) != 0) return FailWithErrno();
    return 0;
}

}  // namespace platform

// An OBEX Object Push receiver for tests, demos and benchmarks, with the
// OpenOBEX library as its server engine (TCP transport).
//
//   obex_receiver --port PORT --folder DIR [--mtu BYTES] [--count N]
//
// Listens on 127.0.0.1:PORT (OpenOBEX takes 0 as its own default, 650), announces BYTES as its
// largest packet in the CONNECT reply (default 1024), stores every object
// it receives in DIR under its received name (UTF-16 decoded to UTF-8) and
// exits after N objects (default: never) or on SIGINT/SIGTERM. On standard
// output it prints "listening PORT" once ready, then "stored NAME SIZE" for
// each object.
#include <openobex/obex.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/sim/unicode.h"

namespace {

struct Options {
    int port = 0;
    int mtu = OBEX_DEFAULT_MTU;
    long count = -1;
    std::string folder;
};

struct Receiver {
    Options options;
    obex_t* server = nullptr;
    obex_t* connection = nullptr;
    bool connectionEnded = false;
    long stored = 0;
    std::string body;  // of the object being received
};

volatile sig_atomic_t stopRequested = 0;
Receiver receiver;

void RequestStop(int) { stopRequested = 1; }

// A Name header's UTF-16 big-endian text (NUL-ended) as UTF-8; a separator
// or a name of dots cannot leave the folder.
std::string NameFromUtf16(const uint8_t* bytes, uint32_t size) {
    std::u16string units;
    for (uint32_t i = 0; i + 1 < size; i += 2) {
        char16_t unit = static_cast<char16_t>(bytes[i] << 8 | bytes[i + 1]);
        if (unit == 0) break;
        units += unit == u'/' ? u'_' : unit;
    }
    std::string name;
    for (size_t pos = 0; pos < units.size();) {
        char utf8[unicode::maxUtf8Bytes];
        name.append(utf8, unicode::EncodeUtf8(unicode::DecodeUtf16(units.c_str(), &pos), utf8));
    }
    if (name.empty() || name == "." || name == "..") name = "unnamed";
    return name;
}

// Stores a finished PUT whose body has been streamed into `body`; false
// when it has no name or cannot be written.
bool StoreObject(obex_t* handle, obex_object_t* object) {
    uint8_t id;
    obex_headerdata_t value;
    uint32_t size;
    std::string name;
    while (name.empty() && OBEX_ObjectGetNextHeader(handle, object, &id, &value, &size))
        if (id == OBEX_HDR_NAME) name = NameFromUtf16(value.bs, size);
    if (name.empty()) return false;
    std::string path = receiver.options.folder + "/" + name;
    FILE* file = fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const std::string& body = receiver.body;
    bool written = body.empty() || fwrite(body.data(), 1, body.size(), file) == body.size();
    written = fclose(file) == 0 && written;
    if (written) printf("stored %s %zu\n", name.c_str(), body.size());
    fflush(stdout);
    return written;
}

void OnEvent(obex_t* handle, obex_object_t* object, int, int event, int command, int) {
    switch (event) {
        case OBEX_EV_ACCEPTHINT:
            receiver.connection = OBEX_ServerAccept(handle, OnEvent, nullptr);
            if (receiver.connection != nullptr)
                OBEX_SetTransportMTU(receiver.connection, receiver.options.mtu, receiver.options.mtu);
            receiver.connectionEnded = false;
            break;
        case OBEX_EV_REQHINT:
            OBEX_ObjectSetRsp(object, OBEX_RSP_CONTINUE, OBEX_RSP_SUCCESS);
            // Bodies are streamed: the library gathers a body in one header
            // only when it ends with an End-of-Body, which not every client sends.
            if (command == OBEX_CMD_PUT) {
                receiver.body.clear();
                OBEX_ObjectReadStream(handle, object, nullptr);
            }
            break;
        case OBEX_EV_STREAMAVAIL: {
            const uint8_t* chunk = nullptr;
            int length = OBEX_ObjectReadStream(handle, object, &chunk);
            if (length > 0) receiver.body.append(reinterpret_cast<const char*>(chunk), length);
            break;
        }
        case OBEX_EV_REQ:
            if (command == OBEX_CMD_PUT && !StoreObject(handle, object))
                OBEX_ObjectSetRsp(object, OBEX_RSP_INTERNAL_SERVER_ERROR,
                                  OBEX_RSP_INTERNAL_SERVER_ERROR);
            else
                OBEX_ObjectSetRsp(object, OBEX_RSP_SUCCESS, OBEX_RSP_SUCCESS);
            break;
        case OBEX_EV_REQDONE:
            if (command == OBEX_CMD_PUT) ++receiver.stored;
            if (command == OBEX_CMD_DISCONNECT) receiver.connectionEnded = true;
            break;
        case OBEX_EV_LINKERR:
        case OBEX_EV_PARSEERR:
            if (handle == receiver.connection) receiver.connectionEnded = true;
            break;
        default:
            break;
    }
}

bool ParseOptions(int argc, char** argv, Options* options) {
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string key = argv[i];
        const char* value = argv[i + 1];
        if (key == "--port") options->port = atoi(value);
        else if (key == "--mtu") options->mtu = atoi(value);
        else if (key == "--count") options->count = atol(value);
        else if (key == "--folder") options->folder = value;
        else return false;
    }
    return argc % 2 == 1 && !options->folder.empty() && options->port >= 0 &&
           options->port <= 65535 && options->mtu >= OBEX_MINIMUM_MTU &&
           options->mtu <= OBEX_MAXIMUM_MTU;
}

int Listen() {
    receiver.server = OBEX_Init(OBEX_TRANS_INET, OnEvent, OBEX_FL_KEEPSERVER);
    if (receiver.server == nullptr) return -1;
    OBEX_SetTransportMTU(receiver.server, receiver.options.mtu, receiver.options.mtu);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(receiver.options.port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (TcpOBEX_ServerRegister(receiver.server, reinterpret_cast<sockaddr*>(&address),
                               sizeof address) < 0)
        return -1;
    socklen_t size = sizeof address;
    if (getsockname(OBEX_GetFD(receiver.server), reinterpret_cast<sockaddr*>(&address), &size) != 0)
        return -1;
    return ntohs(address.sin_port);
}

// The library does not report a client that closes after its last
// request: its reads then return nothing for ever. Look for the end here.
bool ClientClosed(obex_t* connection) {
    pollfd ready = {OBEX_GetFD(connection), POLLIN, 0};
    if (poll(&ready, 1, 0) <= 0) return false;
    char byte;
    return recv(ready.fd, &byte, 1, MSG_PEEK | MSG_DONTWAIT) == 0;
}

// Lets the client close first, so that the wait after a closed TCP
// connection falls on its side and this port can be listened on again at once.
void AwaitClientClose(int seconds) {
    for (int waited = 0; waited < seconds * 10 && !ClientClosed(receiver.connection); ++waited) {
        pollfd ready = {OBEX_GetFD(receiver.connection), POLLIN, 0};
        poll(&ready, 1, 100);
    }
}

void EndConnection() {
    OBEX_Cleanup(receiver.connection);
    receiver.connection = nullptr;
    receiver.connectionEnded = false;
}

}  // namespace

int main(int argc, char** argv) {
    if (!ParseOptions(argc, argv, &receiver.options)) {
        fprintf(stderr, "usage: obex_receiver --port PORT --folder DIR [--mtu 255..65535] [--count N]\n");
        return 2;
    }
    signal(SIGINT, RequestStop);
    signal(SIGTERM, RequestStop);
    signal(SIGPIPE, SIG_IGN);
    int port = Listen();
    if (port < 0) {
        fprintf(stderr, "obex_receiver: cannot listen on port %d\n", receiver.options.port);
        return 1;
    }
    printf("listening %d\n", port);
    fflush(stdout);
    while (!stopRequested && (receiver.options.count < 0 || receiver.stored < receiver.options.count)) {
        if (receiver.connection != nullptr && ClientClosed(receiver.connection)) EndConnection();
        obex_t* handle = receiver.connection != nullptr ? receiver.connection : receiver.server;
        int result = OBEX_HandleInput(handle, 1);
        if (receiver.connection != nullptr && (result < 0 || receiver.connectionEnded))
            EndConnection();
    }
    if (receiver.connection != nullptr) {
        if (!stopRequested) AwaitClientClose(5);
        EndConnection();
    }
    OBEX_Cleanup(receiver.server);
    return 0;
}

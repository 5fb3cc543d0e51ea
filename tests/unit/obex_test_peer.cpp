#include "tests/unit/obex_test_peer.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

namespace {

// However a test goes wrong, the peer gives up rather than hold the test
// run: no client within this time, or no bytes from it, ends the session.
constexpr int peerPatienceMs = 10000;

bool ReadExactly(int fd, uint8_t* bytes, size_t count) {
    while (count > 0) {
        ssize_t got = recv(fd, bytes, count, 0);
        if (got <= 0) return false;
        bytes += got;
        count -= static_cast<size_t>(got);
    }
    return true;
}

}  // namespace

TestPeer::TestPeer(PeerScript script) : script_(std::move(script)) {
    listener_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (bind(listener_, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
        listen(listener_, 1) != 0 ||
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size) != 0)
        throw std::runtime_error("test peer cannot listen");
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Serve(); });
}

TestPeer::~TestPeer() {
    if (thread_.joinable()) {
        shutdown(listener_, SHUT_RDWR);  // ends an accept that no client came to
        thread_.join();
    }
    close(listener_);
}

const std::vector<Bytes>& TestPeer::Packets() {
    if (thread_.joinable()) thread_.join();
    return packets_;
}

bool TestPeer::ReadPacket(int fd, Bytes* packet) {
    packet->assign(3, 0);
    if (!ReadExactly(fd, packet->data(), 3)) return false;
    size_t length = static_cast<size_t>((*packet)[1] << 8 | (*packet)[2]);
    if (length < 3) return false;
    packet->resize(length);
    return ReadExactly(fd, packet->data() + 3, length - 3);
}

void TestPeer::Reply(int fd, const Bytes& bytes) {
    if (!script_.byteByByte) {
        send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        return;
    }
    int on = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    for (uint8_t byte : bytes) {
        send(fd, &byte, 1, MSG_NOSIGNAL);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

void TestPeer::WaitForClose(int fd) {
    uint8_t sink[4096];
    while (recv(fd, sink, sizeof sink, 0) > 0) {
    }
}

void TestPeer::Serve() {
    pollfd waiting = {listener_, POLLIN, 0};
    if (poll(&waiting, 1, peerPatienceMs) != 1) return;
    int fd = accept(listener_, nullptr, nullptr);
    if (fd < 0) return;
    timeval patience = {peerPatienceMs / 1000, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &patience, sizeof patience);
    Bytes packet;
    if (ReadPacket(fd, &packet)) {
        packets_.push_back(packet);
        if (!script_.closeAtConnect) {
            Reply(fd, script_.connectReply);
            for (int put = 0; ReadPacket(fd, &packet); ++put) {
                packets_.push_back(packet);
                if (put == script_.closeAtPut) break;
                if (put == script_.silentAtPut) {
                    WaitForClose(fd);
                    break;
                }
                auto scripted = script_.putReplies.find(put);
                Reply(fd, scripted != script_.putReplies.end() ? scripted->second
                                                               : Bytes{0xA0, 0x00, 0x03});
            }
        }
    }
    close(fd);
}

Bytes BodyOf(const std::vector<Bytes>& packets) {
    Bytes body;
    for (size_t p = 1; p < packets.size(); ++p) {
        const Bytes& packet = packets[p];
        size_t at = 3;
        while (at + 3 <= packet.size()) {
            uint8_t id = packet[at];
            size_t length = static_cast<size_t>(packet[at + 1] << 8 | packet[at + 2]);
            if (id == 0xC3) length = 5;  // four-byte value, no length field
            if (length < 3 || at + length > packet.size()) break;
            if (id == 0x48 || id == 0x49)
                body.insert(body.end(), packet.begin() + at + 3, packet.begin() + at + length);
            at += length;
        }
    }
    return body;
}

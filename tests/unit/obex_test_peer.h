// A scripted OBEX Object Push server on loopback for the sender's tests: it
// records every request packet whole and answers as its script says.
// Kept free of the Win32 headers (their socket names clash with POSIX's).
#pragma once

#include <cstdint>
#include <map>
#include <thread>
#include <vector>

using Bytes = std::vector<uint8_t>;

struct PeerScript {
    Bytes connectReply = {0xA0, 0x00, 0x07, 0x10, 0x00, 0x04, 0x00};  // 1024-byte packets
    std::map<int, Bytes> putReplies;  // by PUT number from 0; others get A0 00 03
    int closeAtPut = -1;              // closes instead of answering this PUT
    int silentAtPut = -1;             // never answers this PUT
    bool closeAtConnect = false;
    bool byteByByte = false;          // every reply in single-byte sends
};

class TestPeer {
public:
    explicit TestPeer(PeerScript script);
    ~TestPeer();
    int Port() const { return port_; }
    // Waits until the client has closed, then gives every packet it sent,
    // the CONNECT request first.
    const std::vector<Bytes>& Packets();

private:
    void Serve();
    bool ReadPacket(int fd, Bytes* packet);
    void Reply(int fd, const Bytes& bytes);
    void WaitForClose(int fd);

    PeerScript script_;
    int listener_ = -1;
    int port_ = 0;
    std::vector<Bytes> packets_;
    std::thread thread_;
};

// The body bytes of recorded PUT packets, joined (headers 0x48 / 0x49).
Bytes BodyOf(const std::vector<Bytes>& packets);

// The push end to end over the simulated RFCOMM socket, against a scripted
// peer: the packets on the wire, the log lines, progress and every result.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "obex/transfer.h"
#include "platform/sim/world.h"
#include "plugin/lifecycle.h"
#include "plugin/state.h"
#include "plugin/text_bridge.h"
#include "tests/unit/host_double.h"
#include "tests/unit/obex_hex.h"
#include "tests/unit/obex_test_peer.h"

namespace {

constexpr int device = 3;
const BYTE deviceBytes[6] = {0x5E, 0x3A, 0x12, 0xF0, 0x1B, 0x00};  // 00:1B:F0:12:3A:5E
const LogLine openingLine = {3, "Openning bluetooth socket ...", false};
const LogLine connectedLine = {3, "Done\n", false};
const LogLine obexStartLine = {3, "Starting OBEX connection ...", false};
const LogLine obexDoneLine = {5, "Done", false};
const LogLine completeLine = {4, "Done", false};

Bytes ConnectReplyFor(int peerLargestPacket) {
    return {0xA0, 0x00, 0x07, 0x10, 0x00, static_cast<uint8_t>(peerLargestPacket >> 8),
            static_cast<uint8_t>(peerLargestPacket)};
}

Bytes Pattern(size_t size) {
    Bytes bytes(size);
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(i * 7 + i / 251);
    return bytes;
}

class PushTest : public PluginTest {
protected:
    void SetUp() override {
        PluginTest::SetUp();
        memcpy(deviceAddresses[device], deviceBytes, sizeof deviceBytes);
        selectedDevice = device;
        deviceChosen = true;
        ASSERT_EQ(0, StartSockets());
        folder_ = testing::TempDir() + "quelt-push-" +
                  testing::UnitTest::GetInstance()->current_test_info()->name();
        ::mkdir(folder_.c_str(), 0700);
    }
    void TearDown() override {
        StopSockets();
        for (const std::string& path : files_) remove(path.c_str());
        rmdir(folder_.c_str());
    }

    // A world whose one device's Object Push service is `port` on loopback.
    void UseDeviceAt(int port, DWORD connectError = 0, bool hasObex = true,
                     const char* host = "127.0.0.1") {
        static sim::World world;
        world = sim::World{};
        world.deviceCount = 1;
        sim::WorldDevice& d = world.devices[0];
        d.radio = 0;
        memcpy(d.address, deviceBytes, sizeof deviceBytes);
        d.hasObex = hasObex;
        snprintf(d.obexHost, sizeof d.obexHost, "%s", host);
        d.obexPort = port;
        d.connectError = connectError != 0 ? connectError : 10060;
        world.replyTimeoutMs = 300;
        sim::UseWorld(world);
    }

    std::string MakeFile(const std::string& name, const Bytes& content) {
        std::string path = folder_ + "/" + name;
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(content.data()), content.size());
        files_.push_back(path);
        return path;
    }

    int Put(const std::string& path) {
        std::u16string local = Wide(path.c_str());
        std::u16string remote = u"\\[A00] radio\\[D03] phone\\x";
        return FsPutFileW(local.data(), remote.data(), 0);
    }

    // Runs the sender alone on `path` and gives its own result.
    int Send(const std::string& path, const char* baseName, const char16_t* baseNameW) {
        std::u16string local = Wide(path.c_str());
        FILE* file = fopen(path.c_str(), "rb");
        TransferJob job = {0, deviceAddresses[device], file, baseName, local.c_str(), u"remote",
                           baseNameW};
        int result = SendFileObex(&job);
        fclose(file);
        return result;
    }

    std::string folder_;
    std::vector<std::string> files_;
};

TEST_F(PushTest, WorkedExampleGoesOutByteForByte) {
    TestPeer peer({ConnectReplyFor(1024)});
    UseDeviceAt(peer.Port());
    Bytes content = {'0', '1', '2', '3', '4', '5', '6', '7', '8', '9'};
    EXPECT_EQ(0, Put(MakeFile("a.txt", content)));

    const std::vector<Bytes>& packets = peer.Packets();
    ASSERT_EQ(2u, packets.size());
    EXPECT_EQ(HexDump({0x80, 0x00, 0x07, 0x10, 0x00, 0x20, 0x00}), HexDump(packets[0]));
    Bytes expected = {0x82, 0x00, 0x24, 0x01, 0x00, 0x0F, 0x00, 0x61, 0x00, 0x2E, 0x00, 0x74, 0x00,
                      0x78, 0x00, 0x74, 0x00, 0x00, 0xC3, 0x00, 0x00, 0x00, 0x0A, 0x49, 0x00, 0x0D};
    expected.insert(expected.end(), content.begin(), content.end());
    EXPECT_EQ(HexDump(expected), HexDump(packets[1]));

    std::vector<LogLine> logs = {
        openingLine, connectedLine, obexStartLine, obexDoneLine,
        {3, "Sending file \"a.txt\" to device 3: 00:1B:F0:12:3A:5E ...", false}, completeLine};
    EXPECT_EQ(logs, hostDouble.logs);
    EXPECT_EQ((std::vector<int>{0, 100, 100}), hostDouble.progress);
    // The socket's protocol information was read: an RFCOMM stream socket.
    EXPECT_EQ(AF_BTH, protocolInfo.iAddressFamily);
    EXPECT_EQ(SOCK_STREAM, protocolInfo.iSocketType);
    EXPECT_EQ(BTHPROTO_RFCOMM, protocolInfo.iProtocol);
    EXPECT_EQ("\\[A00] radio\\[D03] phone\\x", hostDouble.lastProgressTarget);
}

// Files of several sizes arrive whole, cut by the chunk rule.
TEST_F(PushTest, FilesAreCutIntoChunksAndArriveWhole) {
    struct Case {
        size_t size;
        int peerLargestPacket;
        std::vector<size_t> bodies;
        std::vector<int> progress;
    } cases[] = {
        {20000, 0xFFFF, {8194, 8194, 3612}, {0, 40, 81, 100, 100}},
        {995, 1024, {995}, {0, 100, 100}},        // exactly K
        {996, 1024, {995, 1}, {0, 99, 100, 100}}, // K + 1
        {3, 30, {1, 1, 1}, {0, 33, 66, 100, 100}},  // one body byte a packet
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        hostDouble.progress.clear();
        TestPeer peer({ConnectReplyFor(c.peerLargestPacket)});
        UseDeviceAt(peer.Port());
        Bytes content = Pattern(c.size);
        EXPECT_EQ(0, Put(MakeFile("a.txt", content)));
        const std::vector<Bytes>& packets = peer.Packets();
        ASSERT_EQ(c.bodies.size() + 1, packets.size());
        for (size_t p = 0; p < c.bodies.size(); ++p) {
            bool final = p + 1 == c.bodies.size();
            size_t headers = p == 0 ? 26 : 6;
            EXPECT_EQ(headers + c.bodies[p], packets[p + 1].size()) << "packet " << p;
            EXPECT_EQ(final ? 0x82 : 0x02, packets[p + 1][0]) << "packet " << p;
            EXPECT_EQ(final ? 0x49 : 0x48, packets[p + 1][headers - 3]) << "packet " << p;
        }
        if (c.size == 996) {
            EXPECT_EQ(HexDump({0x82, 0x00, 0x07, 0x49, 0x00, 0x04, content[995]}),
                      HexDump(packets[2]));
        }
        EXPECT_TRUE(BodyOf(packets) == content);
        EXPECT_EQ(c.progress, hostDouble.progress);
    }
}

TEST_F(PushTest, NonLatinNameGoesOutAsUtf16AndIsLoggedInAnsi) {
    TestPeer peer({ConnectReplyFor(0xFFFF)});
    UseDeviceAt(peer.Port());
    std::string name = "\xD0\x9F\xD1\x80\xD0\xB8 \xE4\xB8\x96 \xF0\x9F\x98\x80 caf\xC3\xA9.txt";
    EXPECT_EQ(0, Put(MakeFile(name, Pattern(100))));
    const std::vector<Bytes>& packets = peer.Packets();
    ASSERT_EQ(2u, packets.size());
    Bytes nameHeader = {0x01, 0x00, 0x27, 0x04, 0x1F, 0x04, 0x40, 0x04, 0x38, 0x00, 0x20,
                        0x4E, 0x16, 0x00, 0x20, 0xD8, 0x3D, 0xDE, 0x00, 0x00, 0x20, 0x00, 0x63,
                        0x00, 0x61, 0x00, 0x66, 0x00, 0xE9, 0x00, 0x2E, 0x00, 0x74, 0x00, 0x78,
                        0x00, 0x74, 0x00, 0x00};
    EXPECT_EQ(HexDump(nameHeader), HexDump(Bytes(packets[1].begin() + 3,
                                                  packets[1].begin() + 3 + nameHeader.size())));
    ASSERT_EQ(6u, hostDouble.logs.size());
    EXPECT_EQ("Sending file \"??? ? ?? caf\xE9.txt\" to device 3: 00:1B:F0:12:3A:5E ...",
              hostDouble.logs[4].text);
}

// The log line has a buffer of 1024 bytes; a longer ANSI name is cut there.
TEST_F(PushTest, SendingLineIsCutToItsBuffer) {
    TestPeer peer({ConnectReplyFor(1024)});
    UseDeviceAt(peer.Port());
    std::string longName(2000, 'n');
    ASSERT_EQ(0, Send(MakeFile("a.txt", Pattern(10)), longName.c_str(), u"a.txt"));
    peer.Packets();
    ASSERT_EQ(6u, hostDouble.logs.size());
    EXPECT_EQ(1023u, hostDouble.logs[4].text.size());
    EXPECT_EQ(0u, hostDouble.logs[4].text.find("Sending file \"nnnn"));
}

TEST_F(PushTest, RepliesSplitIntoSingleBytesAndExtraHeadersAreReadWhole) {
    PeerScript script;
    script.connectReply = {0xA0, 0x00, 0x0C, 0x10, 0x00, 0x04, 0x00, 0xCB, 0x00, 0x00, 0x00, 0x01};
    script.putReplies[0] = {0x90, 0x00, 0x08, 0x4C, 0x00, 0x05, 0x01, 0x02};
    script.byteByByte = true;
    TestPeer peer(script);
    UseDeviceAt(peer.Port());
    Bytes content = Pattern(2000);
    EXPECT_EQ(0, Put(MakeFile("a.txt", content)));
    EXPECT_TRUE(BodyOf(peer.Packets()) == content);
    EXPECT_EQ(completeLine, hostDouble.logs.back());
}

// Each way a step can fail: its result, a type-6 line last, no "Done" of a
// finished transfer, and a closed socket (the peer sees the end).
TEST_F(PushTest, FailuresEndTheTransferWithTheirStepsResult) {
    auto refuse = [](int put) {
        PeerScript s;
        s.putReplies[put] = {0xC0, 0x00, 0x03};
        return s;
    };
    auto with = [](auto change) {
        PeerScript s;
        change(s);
        return s;
    };
    struct Case {
        const char* what;
        PeerScript script;
        int result;
        size_t packetsSent;
        std::string lastLog;
    } cases[] = {
        {"connect refused", with([](PeerScript& s) { s.connectReply = {0xC0, 0x00, 0x03}; }),
         connectRefused, 1, ""},
        {"connect refused, long", with([](PeerScript& s) {
             s.connectReply = {0xC0, 0x00, 0x07, 0x10, 0x00, 0x04, 0x00}; }), connectRefused, 1, ""},
        {"connect reply too short", with([](PeerScript& s) {
             s.connectReply = {0xA0, 0x00, 0x05, 0x10, 0x00}; }), connectRefused, 1, ""},
        {"first put refused", refuse(0), firstPutRefused, 2, ""},
        {"later put refused", refuse(1), laterPutRefused, 3, ""},
        {"put reply too short", with([](PeerScript& s) { s.putReplies[0] = {0xA0, 0x00, 0x02}; }),
         firstPutRefused, 2, ""},
        {"closed at connect", with([](PeerScript& s) { s.closeAtConnect = true; }),
         connectReplyFailed, 1, "The device closed the connection."},
        {"closed at first put", with([](PeerScript& s) { s.closeAtPut = 0; }),
         firstPutReplyFailed, 2, "The device closed the connection."},
        {"closed at later put", with([](PeerScript& s) { s.closeAtPut = 2; }),
         laterPutReplyFailed, 4, "The device closed the connection."},
        {"silent at first put", with([](PeerScript& s) { s.silentAtPut = 0; }),
         firstPutReplyFailed, 2, ""},
        {"silent at later put", with([](PeerScript& s) { s.silentAtPut = 1; }),
         laterPutReplyFailed, 3, ""},
    };
    std::string path = MakeFile("a.txt", Pattern(4000));  // four packets of 995 and one of 20
    for (Case& c : cases) {
        SCOPED_TRACE(c.what);
        hostDouble.logs.clear();
        TestPeer peer(c.script);
        UseDeviceAt(peer.Port());
        EXPECT_EQ(c.result, Send(path, "a.txt", u"a.txt"));
        EXPECT_EQ(c.packetsSent, peer.Packets().size());
        ASSERT_FALSE(hostDouble.logs.empty());
        EXPECT_EQ(6, hostDouble.logs.back().type);
        if (!c.lastLog.empty()) {
            EXPECT_EQ(c.lastLog, hostDouble.logs.back().text);
        }
        for (const LogLine& line : hostDouble.logs) EXPECT_NE(4, line.type);
    }
}

TEST_F(PushTest, SilentPeerTimesOutWithTheTimeoutText) {
    PeerScript script;
    script.silentAtPut = 0;
    TestPeer peer(script);
    UseDeviceAt(peer.Port());
    EXPECT_EQ(5, Put(MakeFile("a.txt", Pattern(10))));
    peer.Packets();
    ASSERT_FALSE(hostDouble.logs.empty());
    EXPECT_EQ(LogLine({6, SystemErrorText(10060), false}), hostDouble.logs.back());
    EXPECT_EQ((std::vector<int>{0}), hostDouble.progress);
}

TEST_F(PushTest, EmptyFileEndsAfterTheObexConnectWithoutAnyPut) {
    TestPeer peer({ConnectReplyFor(1024)});
    UseDeviceAt(peer.Port());
    std::string path = MakeFile("empty.txt", {});
    EXPECT_EQ(fileReadFailed, Send(path, "empty.txt", u"empty.txt"));
    EXPECT_EQ(1u, peer.Packets().size());
    ASSERT_EQ(5u, hostDouble.logs.size());
    EXPECT_EQ(obexDoneLine, hostDouble.logs[3]);
    EXPECT_EQ(6, hostDouble.logs[4].type);
}

// Peers whose packets cannot hold the name and a body byte, and files too
// large for the size field, end before any PUT with a clear line.
TEST_F(PushTest, ImpossibleTransfersEndBeforeAnyPut) {
    std::string small = MakeFile("a.txt", Pattern(10));
    std::string huge = folder_ + "/huge.bin";
    files_.push_back(huge);
    {
        std::ofstream create(huge);
    }
    ASSERT_EQ(0, truncate(huge.c_str(), int64_t{1} << 31));  // sparse: 2 GiB, no disk used
    struct Case {
        std::string path;
        int peerLargestPacket;
        int result;
        const char* text;
    } cases[] = {
        {small, 29, noRoomForBody,
         "The device's packets are too small to carry this file name and its data."},
        {small, 0, noRoomForBody,
         "The device's packets are too small to carry this file name and its data."},
        {huge, 0xFFFF, fileTooLarge, "The file is too large to send (2 GiB or more)."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.result);
        hostDouble.logs.clear();
        TestPeer peer({ConnectReplyFor(c.peerLargestPacket)});
        UseDeviceAt(peer.Port());
        EXPECT_EQ(c.result, Send(c.path, "a.txt", u"a.txt"));
        EXPECT_EQ(1u, peer.Packets().size());
        EXPECT_EQ(LogLine({6, c.text, false}), hostDouble.logs.back());
    }
}

TEST_F(PushTest, AbortAnswerEndsTheTransfer) {
    struct Case {
        int abortAt;
        size_t packetsSent;
    } cases[] = {{40, 2}, {81, 3}, {100, 4}};  // 20000 bytes: 40, 81, 100
    std::string path = MakeFile("a.txt", Pattern(20000));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.abortAt);
        hostDouble.logs.clear();
        hostDouble.abortAtPercent = c.abortAt;
        TestPeer peer({ConnectReplyFor(0xFFFF)});
        UseDeviceAt(peer.Port());
        EXPECT_EQ(transferAborted, Send(path, "a.txt", u"a.txt"));
        EXPECT_EQ(c.packetsSent, peer.Packets().size());
        for (const LogLine& line : hostDouble.logs) EXPECT_NE(6, line.type);
        EXPECT_FALSE(completeLine == hostDouble.logs.back());
    }
}

TEST_F(PushTest, AbortAfterTheFinalReplyFailsThePut) {
    TestPeer peer({ConnectReplyFor(1024)});
    UseDeviceAt(peer.Port());
    hostDouble.abortAtPercent = 100;
    EXPECT_EQ(5, Put(MakeFile("a.txt", Pattern(10))));
    EXPECT_EQ((std::vector<int>{0, 100}), hostDouble.progress);  // no closing 100
}

TEST_F(PushTest, AlreadyConnectedCountsAsConnected) {
    TestPeer peer({ConnectReplyFor(1024)});
    UseDeviceAt(peer.Port(), 10056);
    EXPECT_EQ(0, Put(MakeFile("a.txt", Pattern(10))));
    EXPECT_EQ(2u, peer.Packets().size());
}

// The world accepts the loopback name as well as loopback numbers.
TEST_F(PushTest, ServiceAtLocalhostIsReached) {
    TestPeer peer({ConnectReplyFor(1024)});
    UseDeviceAt(peer.Port(), 0, true, "localhost");
    ASSERT_EQ(0, Put(MakeFile("a.txt", Pattern(10))));
    EXPECT_EQ(2u, peer.Packets().size());
}

TEST_F(PushTest, DeviceWithoutServiceFailsToConnect) {
    UseDeviceAt(0, 10061, false);
    EXPECT_EQ(connectFailed, Send(MakeFile("a.txt", Pattern(10)), "a.txt", u"a.txt"));
    ASSERT_EQ(2u, hostDouble.logs.size());
    EXPECT_EQ(openingLine, hostDouble.logs[0]);
    EXPECT_EQ(LogLine({6, SystemErrorText(10061), false}), hostDouble.logs[1]);
}

TEST_F(PushTest, NoSocketApiGives866) {
    StopSockets();
    UseDeviceAt(0);
    EXPECT_EQ(866, Send(MakeFile("a.txt", Pattern(10)), "a.txt", u"a.txt"));
    ASSERT_EQ(1u, hostDouble.logs.size());
    EXPECT_EQ(6, hostDouble.logs[0].type);
    StartSockets();
}

TEST_F(PushTest, PutWithoutAChosenDeviceShowsTheBoxAndOpensNothing) {
    for (int selected : {device, -1, 100}) {
        deviceChosen = selected == device ? false : true;
        selectedDevice = selected;
        testing::internal::CaptureStderr();
        EXPECT_EQ(4, Put(folder_ + "/missing.txt"));
        EXPECT_EQ("box Wrong directory|Please choose adapter \\nand bluetooth device first!\n",
                  testing::internal::GetCapturedStderr());
        EXPECT_TRUE(hostDouble.logs.empty());
        EXPECT_TRUE(hostDouble.progress.empty());
    }
}

TEST_F(PushTest, UnopenableLocalFileGives3WithOneDetailLine) {
    struct Case {
        std::string path;
        DWORD error;
    } cases[] = {
        {folder_ + "/missing.txt", ERROR_FILE_NOT_FOUND},
        {folder_ + "/no-such-folder/a.txt", ERROR_PATH_NOT_FOUND},
        {folder_, ERROR_ACCESS_DENIED},  // a folder is no file
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        hostDouble.logs.clear();
        EXPECT_EQ(3, Put(c.path));
        ASSERT_EQ(1u, hostDouble.logs.size());
        EXPECT_EQ(LogLine({3, SystemErrorText(c.error), false}), hostDouble.logs[0]);
        EXPECT_TRUE(hostDouble.progress.empty());
    }
    hostDouble.logs.clear();
    std::u16string remote = u"\\[A00] radio\\[D03] phone\\x";
    EXPECT_EQ(3, FsPutFileW(nullptr, remote.data(), 0));  // a null name is no file
    ASSERT_EQ(1u, hostDouble.logs.size());
    EXPECT_EQ(3, hostDouble.logs[0].type);
    EXPECT_TRUE(hostDouble.progress.empty());
}

}  // namespace

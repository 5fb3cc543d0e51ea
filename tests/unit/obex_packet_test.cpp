// The OBEX packet builders and the reply reader against literal bytes.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "obex/packet.h"
#include "obex/reply_reader.h"
#include "tests/unit/obex_hex.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Written(const PacketWriter& writer) {
    return Bytes(writer.bytes, writer.bytes + writer.length);
}

TEST(ObexPacket, ConnectRequestAsksForVersion10And8192BytePackets) {
    BYTE buffer[16];
    PacketWriter writer = {buffer, sizeof buffer, 0};
    ASSERT_TRUE(BuildConnectRequest(&writer));
    EXPECT_EQ(HexDump({0x80, 0x00, 0x07, 0x10, 0x00, 0x20, 0x00}), HexDump(Written(writer)));
}

TEST(ObexPacket, FirstPutOfTheWorkedExample) {
    // a.txt, 10 bytes, peer packets of 1024: one final packet of 36 bytes.
    BYTE buffer[64];
    PacketWriter writer = {buffer, sizeof buffer, 0};
    const WCHAR name[] = WIDE("a.txt");
    ASSERT_EQ(995, ChunkSize(1024, 5));
    ASSERT_TRUE(BuildFirstPutHeaders(&writer, name, 5, 10, 10, true));
    Bytes expected = {0x82, 0x00, 0x24, 0x01, 0x00, 0x0F, 0x00, 0x61, 0x00, 0x2E, 0x00, 0x74, 0x00,
                      0x78, 0x00, 0x74, 0x00, 0x00, 0xC3, 0x00, 0x00, 0x00, 0x0A, 0x49, 0x00, 0x0D};
    EXPECT_EQ(HexDump(expected), HexDump(Written(writer)));
}

TEST(ObexPacket, FirstPutCarriesTheNameAsUtf16BigEndian) {
    // e acute, a snowman and an emoji as a surrogate pair: four units.
    BYTE buffer[64];
    PacketWriter writer = {buffer, sizeof buffer, 0};
    const WCHAR name[] = {0x00E9, 0x2603, 0xD83D, 0xDE00, 0};
    ASSERT_TRUE(BuildFirstPutHeaders(&writer, name, 4, 70000, 8, false));
    Bytes expected = {0x02, 0x00, 0x20, 0x01, 0x00, 0x0D, 0x00, 0xE9, 0x26, 0x03, 0xD8, 0x3D, 0xDE,
                      0x00, 0x00, 0x00, 0xC3, 0x00, 0x01, 0x11, 0x70, 0x48, 0x00, 0x0B};
    EXPECT_EQ(HexDump(expected), HexDump(Written(writer)));
}

TEST(ObexPacket, LaterPutHeaders) {
    struct Case {
        int body;
        bool final;
        Bytes expected;
    } cases[] = {
        {1, true, {0x82, 0x00, 0x07, 0x49, 0x00, 0x04}},
        {8194, false, {0x02, 0x20, 0x08, 0x48, 0x20, 0x05}},
        {0, true, {0x82, 0x00, 0x06, 0x49, 0x00, 0x03}},
    };
    for (const Case& c : cases) {
        BYTE buffer[9000];
        PacketWriter writer = {buffer, sizeof buffer, 0};
        ASSERT_TRUE(BuildLaterPutHeaders(&writer, c.body, c.final)) << c.body;
        EXPECT_EQ(HexDump(c.expected), HexDump(Written(writer))) << c.body;
    }
}

// Every builder refuses, and writes nothing past the room it was given,
// when its headers or the body behind them do not fit.
TEST(ObexPacket, BuildersStayInsideTheirRoom) {
    const WCHAR name[] = WIDE("a.txt");
    struct Case {
        const char* what;
        int capacity;
        bool fits;
        bool (*build)(PacketWriter*);
    } cases[] = {
        {"connect", 7, true, [](PacketWriter* w) { return BuildConnectRequest(w); }},
        {"connect", 6, false, [](PacketWriter* w) { return BuildConnectRequest(w); }},
        {"first", 36, true, nullptr},
        {"first", 35, false, nullptr},
        {"first", 20, false, nullptr},
        {"later", 16, true, [](PacketWriter* w) { return BuildLaterPutHeaders(w, 10, true); }},
        {"later", 15, false, [](PacketWriter* w) { return BuildLaterPutHeaders(w, 10, true); }},
        {"later", 5, false, [](PacketWriter* w) { return BuildLaterPutHeaders(w, 0, true); }},
        {"negative body", 100, false, [](PacketWriter* w) { return BuildLaterPutHeaders(w, -1, true); }},
    };
    for (const Case& c : cases) {
        BYTE buffer[128];
        memset(buffer, 0xEE, sizeof buffer);
        PacketWriter writer = {buffer, c.capacity, 0};
        bool built = c.build != nullptr ? c.build(&writer)
                                        : BuildFirstPutHeaders(&writer, name, 5, 10, 10, true);
        EXPECT_EQ(c.fits, built) << c.what << " in " << c.capacity;
        EXPECT_LE(writer.length, c.capacity) << c.what;
        for (size_t i = c.capacity; i < sizeof buffer; ++i)
            ASSERT_EQ(0xEE, buffer[i]) << c.what << " wrote past its room at " << i;
    }
}

TEST(ObexPacket, PutHelpersCheckTheRoomLeft) {
    BYTE buffer[8];
    memset(buffer, 0xEE, sizeof buffer);
    PacketWriter writer = {buffer, 5, 3};
    EXPECT_TRUE(Put16(&writer, 0x1234));
    EXPECT_FALSE(Put8(&writer, 0x56));
    EXPECT_FALSE(Put32(&writer, 0x789ABCDE));
    EXPECT_EQ(5, writer.length);
    EXPECT_EQ(HexDump({0x12, 0x34, 0xEE, 0xEE, 0xEE}), HexDump(buffer + 3, 5));
}

TEST(ObexPacket, ChunkSizeFromThePeersLargestPacket) {
    struct Case {
        int peer, nameUnits, chunk;
    } cases[] = {
        {0xFFFF, 5, 8194},  // capped at 8194, not 8192
        {8213, 0, 8194}, {8212, 0, 8193}, {1024, 5, 995}, {255, 5, 226},
        {30, 5, 1},         // room for one body byte
        {29, 5, 0},         // no room at all
        {0, 5, 0},          // a peer announcing nothing
        {0xFFFF, 40000, 0}, // a name longer than any packet
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.chunk, ChunkSize(c.peer, c.nameUnits)) << c.peer << "/" << c.nameUnits;
}

TEST(ObexPacket, ProgressIsComputedIn64Bits) {
    struct Case {
        int64_t sent, size;
        int percent;
    } cases[] = {
        {8194, 20000, 40}, {16388, 20000, 81}, {20000, 20000, 100},
        {2147483000, 2147483647, 99}, {2147483647, 2147483647, 100}, {0, 1, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(c.percent, ProgressPercent(c.sent, c.size)) << c.sent;
}

// Feeds `bytes` one at a time; returns the status after each byte.
std::vector<ReplyStatus> FeedOneByOne(ReplyReader* reader, const Bytes& bytes) {
    std::vector<ReplyStatus> statuses;
    for (uint8_t byte : bytes) {
        int taken = -1;
        statuses.push_back(FeedReply(reader, &byte, 1, &taken));
        if (taken == 0) break;
    }
    return statuses;
}

TEST(ObexReplyReader, ConnectReplyWithAConnectionIdHeaderIsReadWhole) {
    Bytes reply = {0xA0, 0x00, 0x0C, 0x10, 0x00, 0xFF, 0xFF, 0xCB, 0x00, 0x00, 0x00, 0x01};
    ReplyReader reader;
    StartReply(&reader, connectReplyMinimum);
    std::vector<ReplyStatus> statuses = FeedOneByOne(&reader, reply);
    ASSERT_EQ(12u, statuses.size());
    for (size_t i = 0; i < 11; ++i) EXPECT_EQ(ReplyStatus::incomplete, statuses[i]) << i;
    EXPECT_EQ(ReplyStatus::complete, statuses[11]);
    EXPECT_TRUE(ReplyAccepted(&reader));
    EXPECT_EQ(0xFFFF, Get16(reader.kept + 5));
    EXPECT_EQ(0, ReplyBytesWanted(&reader));
}

TEST(ObexReplyReader, AsksForTheHeaderThenTheRestAndTakesNoMore) {
    Bytes stream = {0x90, 0x00, 0x05, 0xAA, 0xBB, 0xA0, 0x00, 0x03};  // two replies back to back
    ReplyReader reader;
    StartReply(&reader, putReplyMinimum);
    EXPECT_EQ(3, ReplyBytesWanted(&reader));
    int taken = 0;
    EXPECT_EQ(ReplyStatus::incomplete, FeedReply(&reader, stream.data(), 3, &taken));
    EXPECT_EQ(2, ReplyBytesWanted(&reader));
    EXPECT_EQ(ReplyStatus::complete,
              FeedReply(&reader, stream.data() + 3, static_cast<int>(stream.size()) - 3, &taken));
    EXPECT_EQ(2, taken);  // the next reply stays for the next read
    EXPECT_TRUE(ReplyAccepted(&reader));
}

TEST(ObexReplyReader, RepliesBelowTheirMinimumLengthAreInvalid) {
    struct Case {
        int minimum;
        Bytes reply;
        size_t bytesUntilVerdict;
    } cases[] = {
        {connectReplyMinimum, {0xA0, 0x00, 0x03}, 3},  // no room for the fixed fields
        {connectReplyMinimum, {0xA0, 0x00, 0x06, 0x10, 0x00, 0x04}, 3},
        {putReplyMinimum, {0xA0, 0x00, 0x02}, 3},
        {putReplyMinimum, {0xA0, 0x00, 0x00}, 3},
    };
    for (const Case& c : cases) {
        ReplyReader reader;
        StartReply(&reader, c.minimum);
        std::vector<ReplyStatus> statuses = FeedOneByOne(&reader, c.reply);
        ASSERT_GE(statuses.size(), c.bytesUntilVerdict) << HexDump(c.reply);
        EXPECT_EQ(ReplyStatus::invalid, statuses[c.bytesUntilVerdict - 1]) << HexDump(c.reply);
        EXPECT_FALSE(ReplyAccepted(&reader));
        EXPECT_EQ(0, ReplyBytesWanted(&reader));
    }
}

TEST(ObexReplyReader, OnlySuccessAndContinueAreAccepted) {
    struct Case {
        uint8_t code;
        bool accepted;
    } cases[] = {{0xA0, true}, {0x90, true}, {0xC0, false}, {0x20, false}, {0x10, false}, {0xC3, false}};
    for (const Case& c : cases) {
        ReplyReader reader;
        StartReply(&reader, putReplyMinimum);
        Bytes reply = {c.code, 0x00, 0x03};
        FeedReply(&reader, reply.data(), 3, nullptr);
        EXPECT_EQ(c.accepted, ReplyAccepted(&reader)) << std::hex << int(c.code);
    }
}

}  // namespace

// OBEX packets of an Object Push, built into a buffer the caller owns.
//
// Every write checks the room left before it writes and returns false
// instead of writing past the end. Multi-byte fields are big-endian.
#pragma once

#include <cstdint>

#include "platform/win32_types.h"

// A caller-owned buffer and how much of it is filled.
struct PacketWriter {
    BYTE* bytes;
    int capacity;
    int length;
};

bool Put8(PacketWriter* writer, uint8_t value);
bool Put16(PacketWriter* writer, uint16_t value);
bool Put32(PacketWriter* writer, uint32_t value);
uint16_t Get16(const BYTE* bytes);

constexpr int connectRequestLength = 7;
constexpr uint16_t largestAcceptedPacket = 0x2000;
constexpr int laterPutHeaderLength = 6;
constexpr int largestBody = 8194;

// The 7-byte CONNECT request: OBEX 1.0, no flags, 8192-byte packets.
bool BuildConnectRequest(PacketWriter* writer);

// Header length of the first PUT packet for a name of `nameUnits` UTF-16 units.
int FirstPutHeaderLength(int nameUnits);

// The headers of the first PUT packet: Name (UTF-16 big-endian, NUL-ended),
// Length (the file size) and the start of a Body or End-of-Body header of
// `bodyLength` bytes. Room for the body behind them is checked too; the
// caller reads the body straight to bytes + length.
bool BuildFirstPutHeaders(PacketWriter* writer, const WCHAR* name, int nameUnits,
                          uint32_t fileSize, int bodyLength, bool final);

// The 6 header bytes of a later PUT packet: opcode, length and the start of
// its Body or End-of-Body header; room for the body is checked too.
bool BuildLaterPutHeaders(PacketWriter* writer, int bodyLength, bool final);

// Body bytes per packet, from the peer's largest packet and the name's
// length: what the first packet leaves for its body, never above 8194.
// Below 1 when the peer's packets cannot carry the name and a body byte.
int ChunkSize(int peerLargestPacket, int nameUnits);

// Percent of `size` that `sent` bytes are, truncated, in 64 bits.
int ProgressPercent(int64_t sent, int64_t size);

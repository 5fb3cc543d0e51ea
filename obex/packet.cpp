#include "obex/packet.h"

namespace {

constexpr uint8_t opConnect = 0x80;
constexpr uint8_t opPut = 0x02;
constexpr uint8_t finalBit = 0x80;
constexpr uint8_t obexVersion = 0x10;
constexpr uint8_t headerName = 0x01;
constexpr uint8_t headerLength = 0xC3;
constexpr uint8_t headerBody = 0x48;
constexpr uint8_t headerEndOfBody = 0x49;
constexpr int bodyHeaderPrefix = 3;  // header id and its 16-bit length
constexpr int namePrefixAndNul = 5;  // header id, 16-bit length, 16-bit NUL
constexpr int firstPutFixedLength = 16;

bool HasRoom(const PacketWriter* writer, int count) {
    return count >= 0 && writer->length >= 0 && writer->capacity - writer->length >= count;
}

bool FitsIn16Bits(int value) { return value >= 0 && value <= 0xFFFF; }

bool PutOpcodeAndLength(PacketWriter* writer, bool final, int packetLength) {
    return FitsIn16Bits(packetLength) && Put8(writer, final ? opPut | finalBit : opPut) &&
           Put16(writer, static_cast<uint16_t>(packetLength));
}

bool PutBodyHeaderStart(PacketWriter* writer, int bodyLength, bool final) {
    int length = bodyLength + bodyHeaderPrefix;
    return FitsIn16Bits(length) && Put8(writer, final ? headerEndOfBody : headerBody) &&
           Put16(writer, static_cast<uint16_t>(length));
}

bool PutNameHeader(PacketWriter* writer, const WCHAR* name, int nameUnits) {
    int length = 2 * nameUnits + namePrefixAndNul;
    if (!FitsIn16Bits(length) || !HasRoom(writer, length)) return false;
    Put8(writer, headerName);
    Put16(writer, static_cast<uint16_t>(length));
    for (int i = 0; i < nameUnits; ++i) Put16(writer, static_cast<uint16_t>(name[i]));
    return Put16(writer, 0);
}

}  // namespace

bool Put8(PacketWriter* writer, uint8_t value) {
    if (!HasRoom(writer, 1)) return false;
    writer->bytes[writer->length++] = value;
    return true;
}

bool Put16(PacketWriter* writer, uint16_t value) {
    if (!HasRoom(writer, 2)) return false;
    writer->bytes[writer->length++] = static_cast<BYTE>(value >> 8);
    writer->bytes[writer->length++] = static_cast<BYTE>(value);
    return true;
}

bool Put32(PacketWriter* writer, uint32_t value) {
    if (!HasRoom(writer, 4)) return false;
    return Put16(writer, static_cast<uint16_t>(value >> 16)) &&
           Put16(writer, static_cast<uint16_t>(value));
}

uint16_t Get16(const BYTE* bytes) { return static_cast<uint16_t>(bytes[0] << 8 | bytes[1]); }

bool BuildConnectRequest(PacketWriter* writer) {
    return HasRoom(writer, connectRequestLength) && Put8(writer, opConnect) &&
           Put16(writer, connectRequestLength) && Put8(writer, obexVersion) &&
           Put8(writer, 0) && Put16(writer, largestAcceptedPacket);
}

int FirstPutHeaderLength(int nameUnits) { return firstPutFixedLength + 2 * nameUnits; }

bool BuildFirstPutHeaders(PacketWriter* writer, const WCHAR* name, int nameUnits,
                          uint32_t fileSize, int bodyLength, bool final) {
    if (nameUnits < 0 || nameUnits > writer->capacity || bodyLength < 0 ||
        bodyLength > writer->capacity)
        return false;
    int headers = FirstPutHeaderLength(nameUnits);
    if (!HasRoom(writer, headers) || !HasRoom(writer, headers + bodyLength)) return false;
    return PutOpcodeAndLength(writer, final, headers + bodyLength) &&
           PutNameHeader(writer, name, nameUnits) && Put8(writer, headerLength) &&
           Put32(writer, fileSize) && PutBodyHeaderStart(writer, bodyLength, final);
}

bool BuildLaterPutHeaders(PacketWriter* writer, int bodyLength, bool final) {
    if (bodyLength < 0 || bodyLength > writer->capacity ||
        !HasRoom(writer, laterPutHeaderLength) ||
        !HasRoom(writer, laterPutHeaderLength + bodyLength))
        return false;
    return PutOpcodeAndLength(writer, final, laterPutHeaderLength + bodyLength) &&
           PutBodyHeaderStart(writer, bodyLength, final);
}

int ChunkSize(int peerLargestPacket, int nameUnits) {
    // What the first packet leaves beside its headers (16 + 2n bytes), less
    // 3 bytes to spare.
    int64_t chunk = static_cast<int64_t>(peerLargestPacket) - 2 * static_cast<int64_t>(nameUnits) - 19;
    if (chunk >= largestBody) return largestBody;
    return chunk < 0 ? 0 : static_cast<int>(chunk);
}

int ProgressPercent(int64_t sent, int64_t size) {
    if (size <= 0) return 100;
    return static_cast<int>(sent * 100 / size);
}

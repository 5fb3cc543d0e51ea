#include "obex/reply_reader.h"

#include "obex/packet.h"

namespace {

constexpr BYTE responseSuccess = 0xA0;
constexpr BYTE responseContinue = 0x90;

void TakeByte(ReplyReader* reader, BYTE value) {
    if (reader->received < replyKeptLength) reader->kept[reader->received] = value;
    ++reader->received;
    if (reader->received == replyHeaderLength) reader->length = Get16(reader->kept + 1);
}

ReplyStatus StatusAfterByte(const ReplyReader* reader) {
    if (reader->received < replyHeaderLength) return ReplyStatus::incomplete;
    if (reader->length < reader->minimumLength) return ReplyStatus::invalid;
    return reader->received == reader->length ? ReplyStatus::complete : ReplyStatus::incomplete;
}

}  // namespace

void StartReply(ReplyReader* reader, int minimumLength) {
    *reader = ReplyReader{};
    reader->minimumLength = minimumLength < replyHeaderLength ? replyHeaderLength : minimumLength;
    reader->status = ReplyStatus::incomplete;
}

int ReplyBytesWanted(const ReplyReader* reader) {
    if (reader->status != ReplyStatus::incomplete) return 0;
    if (reader->received < replyHeaderLength) return replyHeaderLength - reader->received;
    return reader->length - reader->received;
}

ReplyStatus FeedReply(ReplyReader* reader, const BYTE* bytes, int count, int* taken) {
    int used = 0;
    while (used < count && reader->status == ReplyStatus::incomplete) {
        TakeByte(reader, bytes[used++]);
        reader->status = StatusAfterByte(reader);
    }
    if (taken != nullptr) *taken = used;
    return reader->status;
}

BYTE ReplyCode(const ReplyReader* reader) { return reader->kept[0]; }

bool ReplyAccepted(const ReplyReader* reader) {
    return reader->status == ReplyStatus::complete &&
           (ReplyCode(reader) == responseSuccess || ReplyCode(reader) == responseContinue);
}

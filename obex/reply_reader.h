// Reads one OBEX reply however its bytes arrive: the 3-byte response
// header first, then the rest of the packet as its length field says. The
// first bytes are kept for the transfer (7 hold a CONNECT reply's fixed
// fields); the rest, such as further headers, is read and dropped so that
// nothing of this reply is left in the connection.
#pragma once

#include "platform/win32_types.h"

constexpr int replyHeaderLength = 3;
constexpr int replyKeptLength = 7;
constexpr int connectReplyMinimum = 7;
constexpr int putReplyMinimum = 3;

enum class ReplyStatus { incomplete, complete, invalid };

struct ReplyReader {
    int minimumLength;  // a length field below it makes the reply invalid
    int received;       // bytes of this reply taken so far
    int length;         // from the length field; 0 until the header is in
    ReplyStatus status;
    BYTE kept[replyKeptLength];
};

void StartReply(ReplyReader* reader, int minimumLength);

// How many more bytes the reply needs: the rest of its header, then the
// rest of its packet; 0 once it is complete or invalid.
int ReplyBytesWanted(const ReplyReader* reader);

// Takes bytes of the reply, never more than it still needs; `taken` (may
// be null) tells how many were used.
ReplyStatus FeedReply(ReplyReader* reader, const BYTE* bytes, int count, int* taken);

// The response code; Success (0xA0) and Continue (0x90) are accepted.
BYTE ReplyCode(const ReplyReader* reader);
bool ReplyAccepted(const ReplyReader* reader);

#include "obex/transfer.h"

#include <cstdio>

#include "obex/packet.h"
#include "obex/reply_reader.h"
#include "platform/seam.h"
#include "plugin/address_text.h"
#include "plugin/fs_api.h"
#include "plugin/host_link.h"
#include "plugin/state.h"
#include "plugin/text_bridge.h"

namespace {

constexpr int dataSize = 70000;
constexpr int msgSize = 1024;
constexpr int noSocket = 666;
constexpr int openFailureOffset = 200;
// A device that stops answering must not hold the host forever; a person
// accepting a push on the device may take a while.
constexpr DWORD replyWaitMs = 120000;
constexpr int64_t largestFile = 0x7FFFFFFF;

// Object Push service class 00001105-0000-1000-8000-00805F9B34FB.
constexpr GUID objectPushService = {0x00001105, 0x0000, 0x1000,
                                    {0x80, 0x00, 0x00, 0x80, 0x5F, 0x9B, 0x34, 0xFB}};
constexpr ULONG anyPort = 0xFFFFFFFF;

const char* const closedText = "The device closed the connection.";
const char* const tooLargeText = "The file is too large to send (2 GiB or more).";
const char* const noRoomText =
    "The device's packets are too small to carry this file name and its data.";

enum class ReplyOutcome { accepted, refused, failed, closed };

int Fail(TransferJob* job, int result, const char* text) {
    LogAnsi(msgImportantError, text);
    platform::SocketClose(job->sock);
    return result;
}

int FailWithLastError(TransferJob* job, int result) {
    return Fail(job, result, SystemErrorText(platform::LastError()));
}

int FailReply(TransferJob* job, ReplyOutcome outcome, int readFailed, int refused) {
    if (outcome == ReplyOutcome::closed) return Fail(job, readFailed, closedText);
    return FailWithLastError(job, outcome == ReplyOutcome::failed ? readFailed : refused);
}

void FillDestination(SOCKADDR_BTH* sab, const BYTE* deviceAddress) {
    *sab = SOCKADDR_BTH{};
    sab->addressFamily = AF_BTH;
    BTH_ADDR address = 0;
    for (int i = addressBytes - 1; i >= 0; --i) address = address << 8 | deviceAddress[i];
    sab->btAddr = address;
    sab->serviceClassId = objectPushService;
    sab->port = anyPort;
}

void BoundReplyWaits(SOCKET sock) {
    DWORD timeout = replyWaitMs;
    platform::SocketSetOption(sock, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout),
                              sizeof timeout);
}

// Sends every byte, over as many calls as it takes.
bool SendWhole(SOCKET sock, const BYTE* bytes, int length) {
    int sent = 0;
    while (sent < length) {
        int result = platform::SocketSend(sock, reinterpret_cast<const char*>(bytes + sent),
                                          length - sent);
        // SOCKET_ERROR fails; so does a send that moves nothing, which
        // would otherwise loop for ever.
        if (result <= 0) return false;
        sent += result;
    }
    return true;
}

// Reads one whole reply into `reader`, a few bytes at a time.
ReplyOutcome ReadReply(SOCKET sock, ReplyReader* reader, int minimumLength) {
    BYTE recvBuff[replyKeptLength];
    StartReply(reader, minimumLength);
    while (ReplyBytesWanted(reader) > 0) {
        int wanted = ReplyBytesWanted(reader);
        int count = platform::SocketReceive(sock, reinterpret_cast<char*>(recvBuff),
                                            wanted < replyKeptLength ? wanted : replyKeptLength);
        if (count < 0) return ReplyOutcome::failed;  // SOCKET_ERROR
        if (count == 0) return ReplyOutcome::closed;
        FeedReply(reader, recvBuff, count, nullptr);
    }
    return ReplyAccepted(reader) ? ReplyOutcome::accepted : ReplyOutcome::refused;
}

// The OBEX CONNECT exchange; gives the peer's largest packet.
int ConnectObex(TransferJob* job, BYTE* data, int* peerLargestPacket) {
    PacketWriter writer = {data, dataSize, 0};
    BuildConnectRequest(&writer);
    LogAnsi(msgDetails, "Starting OBEX connection ...");
    if (!SendWhole(job->sock, data, writer.length)) return FailWithLastError(job, sendFailed);
    ReplyReader reply;
    ReplyOutcome outcome = ReadReply(job->sock, &reply, connectReplyMinimum);
    if (outcome != ReplyOutcome::accepted)
        return FailReply(job, outcome, connectReplyFailed, connectRefused);
    *peerLargestPacket = Get16(reply.kept + 5);
    return transferSent;
}

void LogSendingLine(const TransferJob* job) {
    char address[addressTextSize];
    char msg[msgSize];
    AddressText(job->deviceAddress, address);
    snprintf(msg, sizeof msg, "Sending file \"%s\" to device %d: %s ...", job->baseName,
             selectedDevice, address);
    LogAnsi(msgDetails, msg);
}

// One PUT packet's headers into `data`, the body read straight behind them.
// Returns 0 with the packet's length, or the failure's result.
int BuildPut(TransferJob* job, BYTE* data, bool first, int nameUnits, int32_t size, int body,
             bool final, int* packetLength) {
    PacketWriter writer = {data, dataSize, 0};
    bool built = first ? BuildFirstPutHeaders(&writer, job->baseNameW, nameUnits,
                                              static_cast<uint32_t>(size), body, final)
                       : BuildLaterPutHeaders(&writer, body, final);
    if (!built) return Fail(job, noRoomForBody, noRoomText);
    if (fread(data + writer.length, 1, body, job->file) != static_cast<size_t>(body))
        return FailWithLastError(job, fileReadFailed);
    *packetLength = writer.length + body;
    return transferSent;
}

// Sends the file in packets of at most `chunk` body bytes, one at a time.
int PutFile(TransferJob* job, BYTE* data, int nameUnits, int32_t size, int chunk) {
    int32_t sent = 0;
    for (bool first = true;; first = false) {
        int32_t remaining = size - sent;
        bool final = remaining <= chunk;
        int body = final ? remaining : chunk;
        int packetLength = 0;
        int built = BuildPut(job, data, first, nameUnits, size, body, final, &packetLength);
        if (built != transferSent) return built;
        if (first) LogSendingLine(job);
        if (!SendWhole(job->sock, data, packetLength)) return FailWithLastError(job, sendFailed);
        ReplyReader reply;
        ReplyOutcome outcome = ReadReply(job->sock, &reply, putReplyMinimum);
        if (outcome != ReplyOutcome::accepted)
            return first ? FailReply(job, outcome, firstPutReplyFailed, firstPutRefused)
                         : FailReply(job, outcome, laterPutReplyFailed, laterPutRefused);
        sent += body;
        if (ReportProgress(job->localName, job->remoteName, ProgressPercent(sent, size)) == 1) {
            platform::SocketClose(job->sock);
            return transferAborted;
        }
        if (final) break;
    }
    platform::SocketClose(job->sock);
    LogAnsi(msgTransferComplete, "Done");
    return transferSent;
}

// Measures the file and the chunk size, then sends it.
int PushFile(TransferJob* job, BYTE* data, int peerLargestPacket) {
    int64_t measured = platform::FileSize(job->file);
    if (measured < 0) return FailWithLastError(job, fileReadFailed);
    if (measured > largestFile) return Fail(job, fileTooLarge, tooLargeText);
    // An empty file counts as one byte, so its one read comes up short.
    int32_t size = measured == 0 ? 1 : static_cast<int32_t>(measured);
    int nameUnits = WideLength(job->baseNameW, dataSize);
    int chunk = ChunkSize(peerLargestPacket, nameUnits);
    if (chunk < 1) return Fail(job, noRoomForBody, noRoomText);
    return PutFile(job, data, nameUnits, size, chunk);
}

}  // namespace

int OpenObexSocket(SOCKET* sock, WSAPROTOCOL_INFOA* info, int* infoSize) {
    *sock = platform::SocketOpen(AF_BTH, SOCK_STREAM, BTHPROTO_RFCOMM);
    if (*sock == INVALID_SOCKET) return noSocket;
    return platform::SocketGetOption(*sock, SOL_SOCKET, SO_PROTOCOL_INFOA,
                                     reinterpret_cast<char*>(info), infoSize);
}

int SendFileObex(TransferJob* job) {
    SOCKADDR_BTH sab;
    FillDestination(&sab, job->deviceAddress);
    int protocolInfoSize = sizeof(WSAPROTOCOL_INFOA);
    int opened = OpenObexSocket(&job->sock, &protocolInfo, &protocolInfoSize);
    if (opened != 0) {
        LogAnsi(msgImportantError, SystemErrorText(platform::LastError()));
        if (job->sock != INVALID_SOCKET) platform::SocketClose(job->sock);
        return opened + openFailureOffset;
    }
    BoundReplyWaits(job->sock);
    LogAnsi(msgDetails, "Openning bluetooth socket ...");
    if (platform::SocketConnect(job->sock, &sab, sizeof sab) != 0 &&
        platform::LastError() != WSAEISCONN)
        return FailWithLastError(job, connectFailed);
    LogAnsi(msgDetails, "Done\n");
    BYTE data[dataSize];
    int peerLargestPacket = 0;
    int connected = ConnectObex(job, data, &peerLargestPacket);
    if (connected != transferSent) return connected;
    LogAnsi(msgConnectComplete, "Done");
    return PushFile(job, data, peerLargestPacket);
}

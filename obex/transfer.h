// Pushes one open local file to one device with OBEX Object Push over an
// RFCOMM socket: connect, one OBEX CONNECT, PUT packets stop-and-wait with
// progress after each accepted reply, then close. Every step is logged.
#pragma once

#include <cstdio>

#include "platform/win32_types.h"

// The put-file request's hand-over to the sender; lives for one call.
struct TransferJob {
    SOCKET sock;                // created by OpenObexSocket
    const BYTE* deviceAddress;  // six bytes, least significant first
    FILE* file;                 // open "rb"; the caller closes it
    const char* baseName;       // ANSI, for the log line
    const WCHAR* localName;     // source name of the progress reports
    const WCHAR* remoteName;    // target name of the progress reports
    const WCHAR* baseNameW;     // the object's name on the device
};

// Sender results; every one but sent and aborted is logged with type 6.
enum TransferResult {
    transferSent = 0,
    transferAborted = 1,
    laterPutRefused = 3,
    connectFailed = 7,
    fileReadFailed = 8,
    fileTooLarge = 9,
    noRoomForBody = 10,
    sendFailed = 11,
    connectReplyFailed = 62,
    connectRefused = 72,
    firstPutReplyFailed = 82,
    laterPutReplyFailed = 92,
    firstPutRefused = 666,
};

// Creates the RFCOMM socket into *sock and reads its protocol information:
// 666 when no socket was made, else getsockopt's result (0 or -1).
int OpenObexSocket(SOCKET* sock, WSAPROTOCOL_INFOA* info, int* infoSize);

int SendFileObex(TransferJob* job);

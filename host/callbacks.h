// The host's side of the handshake: the log, progress and request
// callbacks handed to FsInit and FsInitW.
#pragma once

#include "plugin/fs_api.h"

namespace host {

struct CallbackSet {
    HostProgressProc progress;
    HostLogProc log;
    HostRequestProc request;
    HostProgressProcW progressW;
    HostLogProcW logW;
    HostRequestProcW requestW;
};

const CallbackSet& Callbacks();

// --abort-at: the first progress report of a transfer at or above `percent`
// is answered 1 (abort); -1 answers 0 throughout.
void SetAbortAt(int percent);

// Called before each transfer: the abort answer and the bar start anew.
void BeginTransfer();
void EndTransfer();

}  // namespace host

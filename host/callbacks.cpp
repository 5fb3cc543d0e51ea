#include "host/callbacks.h"

#include <string>

#include "host/os.h"
#include "host/progress_bar.h"
#include "host/report.h"
#include "host/text.h"

namespace host {

namespace {

int abortAtPercent = -1;
bool abortAnswered = false;

int Progress(const std::string& sourceName, long long sourceSize, int percent) {
    if (StderrIsTerminal())
        DrawProgressBar(sourceName, sourceSize, percent);
    else
        PrintReport("progress " + std::to_string(percent));
    if (abortAtPercent < 0 || abortAnswered || percent < abortAtPercent) return 0;
    abortAnswered = true;
    return 1;
}

int WINAPI OnProgress(int, char* sourceName, char*, int percent) {
    std::string source = sourceName != nullptr ? AnsiToUtf8(sourceName) : std::string();
    return Progress(source, LocalFileSize(Utf8ToWide(source)), percent);
}

int WINAPI OnProgressW(int, WCHAR* sourceName, WCHAR*, int percent) {
    WideString source = sourceName != nullptr ? WideString(sourceName) : WideString();
    return Progress(WideToUtf8(source.c_str()), LocalFileSize(source), percent);
}

void WINAPI OnLog(int, int msgType, char* logText) {
    ReportLog(msgType, logText != nullptr ? AnsiToUtf8(logText) : std::string());
}

void WINAPI OnLogW(int, int msgType, WCHAR* logText) {
    ReportLog(msgType, logText != nullptr ? WideToUtf8(logText) : std::string());
}

// The host asks nothing of the user: every request is declined.
BOOL WINAPI OnRequest(int, int, char*, char*, char*, int) { return FALSE; }
BOOL WINAPI OnRequestW(int, int, WCHAR*, WCHAR*, WCHAR*, int) { return FALSE; }

const CallbackSet callbacks = {OnProgress, OnLog, OnRequest, OnProgressW, OnLogW, OnRequestW};

}  // namespace

const CallbackSet& Callbacks() { return callbacks; }

void SetAbortAt(int percent) { abortAtPercent = percent; }

void BeginTransfer() {
    abortAnswered = false;
    ResetProgressBar();
}

void EndTransfer() { ClearProgressBar(); }

}  // namespace host

#include "plugin/host_link.h"

#include "plugin/state.h"

void LogAnsi(int msgType, const char* text) {
    if (hostLog != nullptr) hostLog(pluginNumber, msgType, const_cast<char*>(text));
}

void LogWide(int msgType, const WCHAR* text) {
    if (hostLogW != nullptr) hostLogW(pluginNumber, msgType, const_cast<WCHAR*>(text));
}

int ReportProgress(const WCHAR* localName, const WCHAR* remoteName, int percent) {
    if (hostProgressW == nullptr) return 0;
    return hostProgressW(pluginNumber, const_cast<WCHAR*>(localName),
                         const_cast<WCHAR*>(remoteName), percent);
}

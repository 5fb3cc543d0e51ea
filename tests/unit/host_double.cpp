#include "tests/unit/host_double.h"

#include <cstring>
#include <ostream>

#include "platform/sim/unicode.h"
#include "plugin/state.h"

HostDouble host;

void PrintTo(const LogLine& line, std::ostream* os) {
    *os << "{" << line.type << (line.wide ? " W " : " A ") << "\"" << line.text << "\"}";
}

std::string Utf8(const WCHAR* text) {
    std::string utf8;
    for (size_t pos = 0; text[pos] != 0;) {
        char bytes[unicode::maxUtf8Bytes];
        utf8.append(bytes, unicode::EncodeUtf8(unicode::DecodeUtf16(text, &pos), bytes));
    }
    return utf8;
}

WideText Wide(const char* utf8) {
    WideText wide;
    size_t length = strlen(utf8);
    for (size_t pos = 0; pos < length;) {
        char32_t point = unicode::DecodeUtf8(utf8, length, &pos);
        WCHAR units[unicode::maxUtf16Units];
        wide.append(units, unicode::EncodeUtf16(point == unicode::invalid ? unicode::replacement : point, units));
    }
    return wide;
}

namespace {

void WINAPI RecordLog(int, int type, char* text) { host.logs.push_back({type, text, false}); }

void WINAPI RecordLogW(int, int type, WCHAR* text) {
    host.logs.push_back({type, Utf8(text), true});
}

int WINAPI RecordProgressW(int pluginNr, WCHAR* source, WCHAR* target, int percent) {
    host.progress.push_back(percent);
    host.progressPlugins.push_back(pluginNr);
    host.lastProgressSource = Utf8(source);
    host.lastProgressTarget = Utf8(target);
    if (host.abortAtPercent >= 0 && percent >= host.abortAtPercent) {
        host.abortAtPercent = -1;
        return 1;
    }
    return 0;
}

}  // namespace

void ResetPluginAndHost() {
    host = HostDouble{};
    pluginNumber = 0;
    hostProgress = nullptr;
    hostLog = nullptr;
    hostRequest = nullptr;
    hostProgressW = nullptr;
    hostLogW = nullptr;
    hostRequestW = nullptr;
    moduleHandle = nullptr;
    socketsStarted = false;
    deviceChosen = false;
    dirKind = 0;
    lastAdapter = -1;
    lastDevice = -1;
    browsedAdapter = -1;
    selectedDevice = -1;
    memset(&radioInfo, 0, sizeof radioInfo);
    radioInfo.dwSize = sizeof radioInfo;
    memset(&deviceInfo, 0, sizeof deviceInfo);
    deviceInfo.dwSize = sizeof deviceInfo;
    memset(radioHandles, 0, sizeof radioHandles);
    memset(radioAddresses, 0, sizeof radioAddresses);
    memset(deviceAddresses, 0, sizeof deviceAddresses);
    radioFind = nullptr;
    deviceFind = nullptr;
    memset(&protocolInfo, 0, sizeof protocolInfo);
    memset(errorText, 0, sizeof errorText);
    FsInit(7, nullptr, RecordLog, nullptr);
    FsInitW(7, RecordProgressW, RecordLogW, nullptr);
}

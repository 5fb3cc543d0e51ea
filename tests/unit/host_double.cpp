#include "tests/unit/host_double.h"

#include <cstring>
#include <ostream>

#include "host/text.h"
#include "plugin/state.h"

HostDouble hostDouble;

void PrintTo(const LogLine& line, std::ostream* os) {
    *os << "{" << line.type << (line.wide ? " W " : " A ") << "\"" << line.text << "\"}";
}

std::string Utf8(const WCHAR* text) { return host::WideToUtf8(text); }

WideText Wide(const char* utf8) { return host::Utf8ToWide(utf8); }

namespace {

void WINAPI RecordLog(int, int type, char* text) { hostDouble.logs.push_back({type, text, false}); }

void WINAPI RecordLogW(int, int type, WCHAR* text) {
    hostDouble.logs.push_back({type, Utf8(text), true});
}

int WINAPI RecordProgressW(int pluginNr, WCHAR* source, WCHAR* target, int percent) {
    hostDouble.progress.push_back(percent);
    hostDouble.progressPlugins.push_back(pluginNr);
    hostDouble.lastProgressSource = Utf8(source);
    hostDouble.lastProgressTarget = Utf8(target);
    if (hostDouble.abortAtPercent >= 0 && percent >= hostDouble.abortAtPercent) {
        hostDouble.abortAtPercent = -1;
        return 1;
    }
    return 0;
}

}  // namespace

void ResetPluginAndHost() {
    hostDouble = HostDouble{};
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

#include "tests/unit/host_double.h"

#include <cstring>
#include <ostream>

#include "plugin/state.h"

HostDouble host;

void PrintTo(const LogLine& line, std::ostream* os) {
    *os << "{" << line.type << (line.wide ? " W " : " A ") << "\"" << line.text << "\"}";
}

std::string Utf8(const WCHAR* text) {
    std::string out;
    for (int i = 0; text[i] != 0; ++i) {
        unsigned long code = text[i];
        if (code >= 0xD800 && code <= 0xDBFF && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        }
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return out;
}

std::u16string Wide(const char* utf8) {
    std::u16string out;
    const unsigned char* s = reinterpret_cast<const unsigned char*>(utf8);
    while (*s != 0) {
        unsigned long code;
        int extra;
        if (*s < 0x80) { code = *s; extra = 0; }
        else if (*s < 0xE0) { code = *s & 0x1F; extra = 1; }
        else if (*s < 0xF0) { code = *s & 0x0F; extra = 2; }
        else { code = *s & 0x07; extra = 3; }
        ++s;
        for (int k = 0; k < extra && *s != 0; ++k, ++s) code = (code << 6) | (*s & 0x3F);
        if (code >= 0x10000) {
            code -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (code >> 10));
            out += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
        } else {
            out += static_cast<char16_t>(code);
        }
    }
    return out;
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

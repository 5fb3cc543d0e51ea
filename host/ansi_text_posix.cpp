// The ANSI code page of the simulated platform: Windows-1252.
#include "host/text.h"

namespace host {

namespace {

// Bytes 0x80..0x9F; the five that 1252 leaves undefined stay C1 controls.
const char16_t cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char WideToAnsiByte(WCHAR unit) {
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) return static_cast<char>(unit);
    for (int i = 0; i < 32; ++i)
        if (cp1252High[i] == unit) return static_cast<char>(0x80 + i);
    return '?';
}

}  // namespace

std::string AnsiToUtf8(const char* ansi) {
    WideString wide;
    for (const char* c = ansi; *c != '\0'; ++c) {
        unsigned char byte = static_cast<unsigned char>(*c);
        wide += byte >= 0x80 && byte <= 0x9F ? cp1252High[byte - 0x80] : byte;
    }
    return WideToUtf8(wide.c_str());
}

std::string Utf8ToAnsi(const std::string& utf8) {
    std::string ansi;
    for (WCHAR unit : Utf8ToWide(utf8)) ansi += WideToAnsiByte(unit);
    return ansi;
}

}  // namespace host

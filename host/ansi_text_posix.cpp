// The ANSI code page of the simulated platform: Windows-1252.
#include "host/text.h"

#include "platform/sim/unicode.h"

namespace host {

std::string AnsiToUtf8(const char* ansi) {
    WideString wide;
    for (const char* c = ansi; *c != '\0'; ++c)
        wide += unicode::Cp1252ToWide(static_cast<unsigned char>(*c));
    return WideToUtf8(wide.c_str());
}

std::string Utf8ToAnsi(const std::string& utf8) {
    std::string ansi;
    for (WCHAR unit : Utf8ToWide(utf8)) ansi += unicode::WideToCp1252(unit, '?');
    return ansi;
}

}  // namespace host

// The ANSI code page of Windows: whatever CP_ACP is.
#include "host/text.h"

namespace host {

std::string AnsiToUtf8(const char* ansi) {
    int length = MultiByteToWideChar(CP_ACP, 0, ansi, -1, nullptr, 0);
    if (length <= 0) return std::string();
    WideString wide(length, L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi, -1, &wide[0], length);
    return WideToUtf8(wide.c_str());
}

std::string Utf8ToAnsi(const std::string& utf8) {
    WideString wide = Utf8ToWide(utf8);
    int length = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return std::string();
    std::string ansi(length, '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, &ansi[0], length, nullptr, nullptr);
    ansi.resize(length - 1);
    return ansi;
}

}  // namespace host

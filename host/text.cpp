#include "host/text.h"

namespace host {

namespace {

// Reads one code point from UTF-8; a malformed sequence gives U+FFFD and
// moves on by one byte.
char32_t NextCodePoint(const std::string& text, size_t* pos) {
    unsigned char lead = static_cast<unsigned char>(text[*pos]);
    int length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3
                 : (lead >> 3) == 0x1E ? 4 : 0;
    if (length == 0 || *pos + length > text.size()) {
        ++*pos;
        return 0xFFFD;
    }
    char32_t point = length == 1 ? lead : lead & (0x7F >> length);
    for (int i = 1; i < length; ++i) {
        unsigned char next = static_cast<unsigned char>(text[*pos + i]);
        if ((next & 0xC0) != 0x80) {
            ++*pos;
            return 0xFFFD;
        }
        point = (point << 6) | (next & 0x3F);
    }
    *pos += length;
    return point;
}

void AppendUtf8(char32_t point, std::string* out) {
    if (point < 0x80) {
        *out += static_cast<char>(point);
    } else if (point < 0x800) {
        *out += static_cast<char>(0xC0 | (point >> 6));
        *out += static_cast<char>(0x80 | (point & 0x3F));
    } else if (point < 0x10000) {
        *out += static_cast<char>(0xE0 | (point >> 12));
        *out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        *out += static_cast<char>(0x80 | (point & 0x3F));
    } else {
        *out += static_cast<char>(0xF0 | (point >> 18));
        *out += static_cast<char>(0x80 | ((point >> 12) & 0x3F));
        *out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        *out += static_cast<char>(0x80 | (point & 0x3F));
    }
}

bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

WideString Utf8ToWide(const std::string& utf8) {
    WideString wide;
    for (size_t pos = 0; pos < utf8.size();) {
        char32_t point = NextCodePoint(utf8, &pos);
        if (point >= 0x10000) {
            point -= 0x10000;
            wide += static_cast<WCHAR>(0xD800 + (point >> 10));
            wide += static_cast<WCHAR>(0xDC00 + (point & 0x3FF));
        } else {
            wide += static_cast<WCHAR>(point);
        }
    }
    return wide;
}

// An unpaired surrogate becomes U+FFFD.
std::string WideToUtf8(const WCHAR* wide) {
    std::string utf8;
    for (const WCHAR* unit = wide; *unit != 0; ++unit) {
        char32_t point = static_cast<char16_t>(*unit);
        if (IsHighSurrogate(point) && IsLowSurrogate(static_cast<char16_t>(unit[1]))) {
            point = 0x10000 + ((point - 0xD800) << 10) + (static_cast<char16_t>(unit[1]) - 0xDC00);
            ++unit;
        } else if (IsHighSurrogate(point) || IsLowSurrogate(point)) {
            point = 0xFFFD;
        }
        AppendUtf8(point, &utf8);
    }
    return utf8;
}

std::string EscapeLine(const std::string& text) {
    std::string escaped;
    for (char c : text) {
        if (c == '\n')
            escaped += "\\n";
        else if (c == '\\')
            escaped += "\\\\";
        else if (c != '\r')
            escaped += c;
    }
    return escaped;
}

}  // namespace host

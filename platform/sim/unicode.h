// UTF-8, UTF-16 and Windows-1252, done once: the simulated platform, the
// stand-in bthprops.cpl, quelt-host and the tests all convert through here.
// Plain functions over caller-owned buffers; nothing allocates. UTF-16
// units are any 16-bit character type (WCHAR is wchar_t on Windows,
// char16_t elsewhere), so this header needs no platform types.
#pragma once

#include <cstddef>

namespace unicode {

constexpr char32_t invalid = 0xFFFFFFFF;  // a malformed or cut UTF-8 sequence
constexpr char32_t replacement = 0xFFFD;
constexpr int maxUtf8Bytes = 4;
constexpr int maxUtf16Units = 2;

// One code point from text[*pos] (of `length` bytes); `invalid` for a
// malformed, overlong or cut sequence, which moves on by one byte.
inline char32_t DecodeUtf8(const char* text, size_t length, size_t* pos) {
    unsigned char lead = static_cast<unsigned char>(text[*pos]);
    int extra = lead < 0x80 ? 0 : lead < 0xC2 ? -1 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2
              : lead < 0xF5 ? 3 : -1;
    if (extra < 0 || *pos + extra >= length) {
        ++*pos;
        return invalid;
    }
    char32_t point = extra == 0 ? lead : lead & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
        unsigned char next = static_cast<unsigned char>(text[*pos + k]);
        if ((next & 0xC0) != 0x80) {
            ++*pos;
            return invalid;
        }
        point = (point << 6) | (next & 0x3F);
    }
    static const char32_t smallest[] = {0, 0x80, 0x800, 0x10000};
    if (point < smallest[extra] || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) {
        ++*pos;
        return invalid;
    }
    *pos += extra + 1;
    return point;
}

// Writes the code point's UTF-8 bytes into `out`; gives how many.
inline int EncodeUtf8(char32_t point, char out[maxUtf8Bytes]) {
    if (point < 0x80) {
        out[0] = static_cast<char>(point);
        return 1;
    }
    int extra = point < 0x800 ? 1 : point < 0x10000 ? 2 : 3;
    static const unsigned char leadBits[] = {0, 0xC0, 0xE0, 0xF0};
    out[0] = static_cast<char>(leadBits[extra] | (point >> (6 * extra)));
    for (int k = 1; k <= extra; ++k)
        out[k] = static_cast<char>(0x80 | ((point >> (6 * (extra - k))) & 0x3F));
    return extra + 1;
}

inline bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
inline bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// One code point from the NUL-terminated text[*pos]; an unpaired surrogate
// gives U+FFFD.
template <typename Unit>
char32_t DecodeUtf16(const Unit* text, size_t* pos) {
    char32_t unit = static_cast<char16_t>(text[*pos]);
    char32_t next = unit != 0 ? static_cast<char16_t>(text[*pos + 1]) : 0;
    if (IsHighSurrogate(unit) && IsLowSurrogate(next)) {
        *pos += 2;
        return 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00);
    }
    ++*pos;
    return IsHighSurrogate(unit) || IsLowSurrogate(unit) ? replacement : unit;
}

// Writes the code point's UTF-16 units into `out`; gives how many.
template <typename Unit>
int EncodeUtf16(char32_t point, Unit out[maxUtf16Units]) {
    if (point < 0x10000) {
        out[0] = static_cast<Unit>(point);
        return 1;
    }
    point -= 0x10000;
    out[0] = static_cast<Unit>(0xD800 + (point >> 10));
    out[1] = static_cast<Unit>(0xDC00 + (point & 0x3FF));
    return 2;
}

// Windows-1252 bytes 0x80..0x9F; the five bytes it leaves undefined map to
// the C1 control of the same value, as Windows does.
constexpr char16_t cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

inline char16_t Cp1252ToWide(unsigned char byte) {
    return byte >= 0x80 && byte <= 0x9F ? cp1252High[byte - 0x80] : byte;
}

// A unit that 1252 lacks becomes `substitute`.
inline char WideToCp1252(char16_t unit, char substitute) {
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) return static_cast<char>(unit);
    for (int i = 0; i < 32; ++i)
        if (cp1252High[i] == unit) return static_cast<char>(0x80 + i);
    return substitute;
}

}  // namespace unicode

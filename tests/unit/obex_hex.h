// Byte arrays compared as hex dumps, so a mismatch shows where it is.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

inline std::string HexDump(const uint8_t* bytes, size_t count) {
    std::string out;
    char cell[4];
    for (size_t i = 0; i < count; ++i) {
        if (i > 0) out += (i % 16 == 0) ? '\n' : ' ';
        snprintf(cell, sizeof cell, "%02X", bytes[i]);
        out += cell;
    }
    return out;
}

inline std::string HexDump(const std::vector<uint8_t>& bytes) {
    return HexDump(bytes.data(), bytes.size());
}

#include "host/text.h"

#include "platform/sim/unicode.h"

namespace host {

WideString Utf8ToWide(const std::string& utf8) {
    WideString wide;
    for (size_t pos = 0; pos < utf8.size();) {
        char32_t point = unicode::DecodeUtf8(utf8.data(), utf8.size(), &pos);
        WCHAR units[unicode::maxUtf16Units];
        int count = unicode::EncodeUtf16(point == unicode::invalid ? unicode::replacement : point,
                                         units);
        wide.append(units, count);
    }
    return wide;
}

// An unpaired surrogate becomes U+FFFD.
std::string WideToUtf8(const WCHAR* wide) {
    std::string utf8;
    for (size_t pos = 0; wide[pos] != 0;) {
        char bytes[unicode::maxUtf8Bytes];
        utf8.append(bytes, unicode::EncodeUtf8(unicode::DecodeUtf16(wide, &pos), bytes));
    }
    return utf8;
}

}  // namespace host

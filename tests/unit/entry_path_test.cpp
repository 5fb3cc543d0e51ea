// Reading entry paths and writing addresses: the plain helpers that the
// listing, the icons and the column share, built natively and for Windows.
#include <cstring>

#include "plugin/address_text.h"
#include "plugin/entry_path.h"
#include "tests/unit/host_double.h"

namespace {

TEST(EntryPath, MarkerAndNumberFollowTheLastSeparatorBeforeTheEnd) {
    struct Case {
        const WCHAR* path;
        bool hasSeparator;
        WCHAR marker;
        int number;
    } cases[] = {
        {WIDE("\\[A00] Office dongle"), true, 'A', 0},
        {WIDE("\\[A00] Office dongle\\[D17] Phone"), true, 'D', 17},
        {WIDE("/[A03] Laptop radio"), true, 'A', 3},
        {WIDE("\\[A00] a/b\\[M00]"), true, 'M', 0},
        {WIDE("\\[A0"), true, 'A', -1},       // one digit is no number
        {WIDE("\\[A0x] x"), true, 'A', -1},
        {WIDE("\\[A"), true, 'A', -1},
        {WIDE("\\["), true, 0, -1},           // nothing where the marker stands
        {WIDE("\\x\\"), true, '\\', -1},      // a trailing separator is no separator
        {WIDE("\\"), false, 0, -1},
        {WIDE("[A00] no separator"), false, 0, -1},
        {WIDE(""), false, 0, -1},
    };
    for (const Case& c : cases) {
        EntryPath entry = ReadEntryPath(c.path);
        std::string path = Utf8(c.path);
        EXPECT_EQ(entry.length, static_cast<int>(WideText(c.path).size())) << path;
        EXPECT_EQ(entry.hasSeparator, c.hasSeparator) << path;
        EXPECT_EQ(entry.marker, c.marker) << path;
        EXPECT_EQ(entry.number, c.number) << path;
    }
}

TEST(AddressText, MostSignificantByteFirstInExactly18Bytes) {
    struct Case {
        BYTE address[6];
        const char* text;
    } cases[] = {
        {{0x5E, 0x3A, 0x12, 0xF0, 0x1B, 0x00}, "00:1B:F0:12:3A:5E"},
        {{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, "FF:FF:FF:FF:FF:FF"},
        {{0, 0, 0, 0, 0, 0}, "00:00:00:00:00:00"},
    };
    for (const Case& c : cases) {
        char text[addressTextSize + 2];
        memset(text, '#', sizeof text);
        AddressText(c.address, text);
        EXPECT_STREQ(text, c.text);
        EXPECT_EQ(text[addressTextSize], '#');
    }
}

}  // namespace

// The "MAC" column: field description, flags, sort orders, the default
// view and each entry's value, with the bytes around every buffer watched.
#include <algorithm>
#include <cstring>
#include <string>

#include "plugin/state.h"
#include "tests/unit/host_double.h"

namespace {

constexpr char guard = '#';

class ContentColumn : public PluginTest {
protected:
    void SetUp() override {
        PluginTest::SetUp();
        SetAddress(radioAddresses[0], 0x10);
        SetAddress(radioAddresses[1], 0x20);
        SetAddress(radioAddresses[4], 0x40);
        SetAddress(deviceAddresses[0], 0x50);
        SetAddress(deviceAddresses[7], 0x70);
        SetAddress(deviceAddresses[99], 0x90);
        selectedDevice = 0;
    }
    // Bytes base+0 .. base+5, least significant first as the platform stores them.
    static void SetAddress(BYTE* address, BYTE base) {
        for (int i = 0; i < 6; ++i) address[i] = static_cast<BYTE>(base + i);
    }
    // The value of `path`, read from a guarded buffer of `maxlen` bytes.
    static std::string Value(const char* path, int maxlen = 18, int* result = nullptr) {
        std::u16string wide = Wide(path);
        char buffer[64];
        memset(buffer, guard, sizeof buffer);
        int type = FsContentGetValueW(const_cast<WCHAR*>(wide.c_str()), 0, 0, buffer, maxlen, 0);
        if (result != nullptr) *result = type;
        for (int i = std::max(maxlen, 0); i < 64; ++i)
            if (buffer[i] != guard) ADD_FAILURE() << path << ": byte " << i << " written";
        return memchr(buffer, 0, sizeof buffer) ? std::string(buffer) : "<unterminated>";
    }
};

const char* const adapter0 = "15:14:13:12:11:10";
const char* const adapter1 = "25:24:23:22:21:20";
const char* const adapter4 = "45:44:43:42:41:40";
const char* const device0 = "55:54:53:52:51:50";
const char* const device7 = "75:74:73:72:71:70";
const char* const device99 = "95:94:93:92:91:90";
const char* const zeros = "00:00:00:00:00:00";

TEST_F(ContentColumn, FieldZeroIsDescribedAndCutToTheBuffer) {
    struct Case {
        int maxlen;
        const char* name;
    } cases[] = {{40, "MAC"}, {4, "MAC"}, {3, "MA"}, {1, ""}};
    for (const Case& c : cases) {
        char name[48], units[48];
        memset(name, guard, sizeof name);
        memset(units, guard, sizeof units);
        EXPECT_EQ(FsContentGetSupportedField(0, name, units, c.maxlen), 8) << c.maxlen;
        EXPECT_STREQ(name, c.name);
        EXPECT_STREQ(units, "");
        EXPECT_EQ(name[strlen(c.name) + 1], guard);
        EXPECT_EQ(units[1], guard);
    }
}

TEST_F(ContentColumn, OtherFieldsAndEmptyBuffersAreNotDescribed) {
    struct Case {
        int field, maxlen;
    } cases[] = {{1, 40}, {-1, 40}, {5, 40}, {-2147483647 - 1, 40}, {0, 0}, {0, -5}};
    for (const Case& c : cases) {
        char name[8], units[8];
        memset(name, guard, sizeof name);
        memset(units, guard, sizeof units);
        EXPECT_EQ(FsContentGetSupportedField(c.field, name, units, c.maxlen), 0) << c.field;
        for (int i = 0; i < 8; ++i) EXPECT_TRUE(name[i] == guard && units[i] == guard);
    }
}

TEST_F(ContentColumn, FlagsAndSortOrders) {
    struct Case {
        int field, flags, sortOrder;
    } cases[] = {{-1, 15, 1}, {0, 10, -1}, {1, 0, 1}, {-2, 0, 1}, {1000, 0, 1}};
    for (const Case& c : cases) {
        EXPECT_EQ(FsContentGetSupportedFieldFlags(c.field), c.flags) << c.field;
        EXPECT_EQ(FsContentGetDefaultSortOrder(c.field), c.sortOrder) << c.field;
    }
}

TEST_F(ContentColumn, DefaultViewWritesTheFourTextsWhole) {
    for (int maxlen : {12, 13, 260}) {
        char texts[4][16];
        memset(texts, guard, sizeof texts);
        EXPECT_EQ(FsContentGetDefaultView(texts[0], texts[1], texts[2], texts[3], maxlen), 1);
        const char* expected[] = {"[=<fs>.MAC]", "MAC Address", "110,0,66", "-1|0"};
        for (int i = 0; i < 4; ++i) {
            EXPECT_STREQ(texts[i], expected[i]) << maxlen;
            for (size_t k = strlen(expected[i]) + 1; k < 16; ++k) EXPECT_EQ(texts[i][k], guard);
        }
    }
}

TEST_F(ContentColumn, DefaultViewIsNotOfferedWhenATextWouldBeCut) {
    for (int maxlen : {11, 5, 1, 0, -1}) {
        char texts[4][16];
        memset(texts, guard, sizeof texts);
        EXPECT_EQ(FsContentGetDefaultView(texts[0], texts[1], texts[2], texts[3], maxlen), 0);
        for (int i = 0; i < 4; ++i)
            for (char c : texts[i]) EXPECT_EQ(c, guard);
    }
}

TEST_F(ContentColumn, ValueFollowsTheEntryKind) {
    struct Case {
        const char* path;
        const char* value;
    } cases[] = {
        {"\\[A01] Office dongle", adapter1},
        {"\\[A00] Office dongle", adapter0},
        {"/[A04] radio", adapter4},
        {"\\[A01] Office dongle\\[D07] Phone", device7},
        {"/[A01] Office dongle/[D07] Phone", device7},
        {"\\[A01] Office dongle\\[D07] Phone\\", device7},
        {"\\[A01] Office dongle\\[D99] Phone", device99},
        {"\\[A01] x\\[D07] Phone\\Copy the files to send.", device0},
        {"\\[A01] x\\[D07] Phone\\Please disconnect!", device0},
        {"\\Can't find any radio adapter!", device0},
        {"\\[a01] lower case", device0},
        {"\\[d07] lower case", device0},
        // Names the listing never makes: no table is read outside its rows.
        {"\\[A05] beyond the radios", zeros},
        {"\\[A99] beyond the radios", zeros},
        {"\\[D9x] not a number", zeros},
        {"\\[A-1] not a number", zeros},
        {"\\[A0", zeros},
        {"\\[A", zeros},
        {"\\", device0},
        {"", device0},
        {"no separator", device0},
    };
    for (const Case& c : cases) {
        int result = 0;
        EXPECT_EQ(Value(c.path, 18, &result), c.value) << c.path;
        EXPECT_EQ(result, 8) << c.path;
    }
}

TEST_F(ContentColumn, ValueWithoutAnOpenedDeviceIsAllZero) {
    for (int selection : {-1, 100, 1000, -7}) {
        selectedDevice = selection;
        EXPECT_EQ(Value("\\[A00] x\\[D00] y\\Copy the files to send."), zeros) << selection;
        EXPECT_EQ(Value("\\[A00] x"), adapter0);
    }
}

TEST_F(ContentColumn, AnUnfilledRowReadsAsZero) {
    EXPECT_EQ(Value("\\[A00] x\\[D42] Gone"), zeros);
    EXPECT_EQ(Value("\\[A03] Gone"), zeros);
}

TEST_F(ContentColumn, ValueIsWrittenAsExactly18BytesOrAnEmptyText) {
    struct Case {
        int maxlen;
        const char* value;
    } cases[] = {{18, device7}, {19, device7}, {64, device7}, {17, ""}, {2, ""}, {1, ""}};
    for (const Case& c : cases) EXPECT_EQ(Value("\\[A00] x\\[D07] y", c.maxlen), c.value);
    // Value() checks that nothing is written from maxlen on.
    for (int maxlen : {0, -1}) Value("\\[A00] x\\[D07] y", maxlen);
}

TEST_F(ContentColumn, OtherFieldsGetNoValue) {
    for (int field : {1, -1, 99}) {
        char buffer[32];
        memset(buffer, guard, sizeof buffer);
        WCHAR path[] = u"\\[A00] x";
        EXPECT_EQ(FsContentGetValueW(path, field, 0, buffer, 32, 0), 0) << field;
        for (char c : buffer) EXPECT_EQ(c, guard);
    }
}

TEST_F(ContentColumn, UnitAndFlagsArgumentsAreIgnored) {
    WCHAR path[] = u"\\[A00] x\\[D07] y";
    for (int unit : {0, 5, -1}) {
        for (int flags : {0, 1, 2, -1}) {
            char buffer[18];
            EXPECT_EQ(FsContentGetValueW(path, 0, unit, buffer, 18, flags), 8);
            EXPECT_STREQ(buffer, device7);
        }
    }
}

}  // namespace

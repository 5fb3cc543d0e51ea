// The text helpers at the border: limits, terminators and the bytes around
// every fixed buffer.
#include <cstring>
#include <string>

#include "platform/sim/last_error.h"
#include "plugin/text_bridge.h"
#include "tests/unit/host_double.h"

namespace {

constexpr char guardA = '#';
constexpr WCHAR guardW = 0x2323;

TEST(ToAnsi, CutsAtTheLimitAndTerminatesThere) {
    std::u16string source(2000, u'x');
    char destination[1100];
    memset(destination, guardA, sizeof destination);
    EXPECT_EQ(ToAnsi(destination, source.c_str(), 1023), destination);
    EXPECT_EQ(strlen(destination), 1023u);
    EXPECT_EQ(destination[1023], '\0');
    EXPECT_EQ(destination[1024], guardA);
}

TEST(ToAnsi, MapsTheAnsiCodePageAndSubstitutesWhatItLacks) {
    struct Case {
        std::u16string wide;
        std::string ansi;
    } cases[] = {
        {u"plain", "plain"},
        {u"caf\u00e9", "caf\xe9"},
        {u"\u20ac 5", "\x80 5"},
        {u"\u041f\u0440\u0438", "???"},
        {u"", ""},
    };
    for (const Case& c : cases) {
        char destination[32];
        ToAnsi(destination, c.wide.c_str(), 31);
        EXPECT_EQ(std::string(destination), c.ansi);
    }
}

TEST(ToWide, NullSourceGivesNullAndWritesNothing) {
    WCHAR destination[4] = {guardW, guardW, guardW, guardW};
    EXPECT_EQ(ToWide(destination, nullptr, 3), nullptr);
    for (WCHAR c : destination) EXPECT_EQ(c, guardW);
    char ansi[2] = {guardA, guardA};
    EXPECT_EQ(ToAnsi(ansi, nullptr, 1), nullptr);
    EXPECT_EQ(ansi[0], guardA);
}

TEST(ToWide, CutsAtTheLimitAndMapsTheCodePage) {
    std::string source(1500, 'y');
    source[0] = '\x80';
    WCHAR destination[1030];
    for (WCHAR& c : destination) c = guardW;
    ToWide(destination, source.c_str(), 1023);
    EXPECT_EQ(destination[0], 0x20AC);
    EXPECT_EQ(destination[1022], u'y');
    EXPECT_EQ(destination[1023], 0);
    EXPECT_EQ(destination[1024], guardW);
}

TEST(CopyWideBounded, LimitIsTheWholeDestination) {
    struct Case {
        int length;
        int copied;
    } cases[] = {{0, 0}, {258, 258}, {259, 259}, {260, 259}, {300, 259}};
    for (const Case& c : cases) {
        std::u16string source(c.length, u'n');
        WCHAR destination[262];
        for (WCHAR& w : destination) w = guardW;
        CopyWideBounded(destination, source.c_str(), 260);
        EXPECT_EQ(std::u16string(destination).size(), static_cast<size_t>(c.copied)) << c.length;
        EXPECT_EQ(destination[260], guardW);
    }
}

TEST(CopyAnsiBounded, LimitCountsCharactersWithoutTheTerminator) {
    struct Case {
        const char* source;
        const char* result;
    } cases[] = {{"abcd", "abcd"}, {"abcde", "abcde"}, {"abcdefgh", "abcde"}, {"", ""}};
    for (const Case& c : cases) {
        char destination[8];
        memset(destination, guardA, sizeof destination);
        CopyAnsiBounded(destination, c.source, 5);
        EXPECT_STREQ(destination, c.result);
        EXPECT_EQ(destination[6], guardA);
    }
}

TEST(SystemErrorText, GivesTheSystemsTextUntrimmed) {
    EXPECT_STREQ(SystemErrorText(2), "The system cannot find the file specified.\r\n");
}

TEST(SystemErrorText, FollowsTheErrorThatFormattingLeft) {
    // 12345 has no text: formatting leaves 317, whose text needs inserts and
    // fails with 87, which has a text.
    EXPECT_STREQ(SystemErrorText(12345), "The parameter is incorrect.\r\n");
}

TEST(SystemErrorText, ATextThatNeedsInsertsFallsBackToTheErrorItLeaves) {
    sim::SetLastError(0);
    EXPECT_STREQ(SystemErrorText(ERROR_MR_MID_NOT_FOUND), "The parameter is incorrect.\r\n");
}

TEST(FindData, ToAnsiCutsANameThatRunsIntoTheShortName) {
    WIN32_FIND_DATAW wide = {};
    // 260 + 14 units without a terminator inside the record but the last.
    for (WCHAR& c : wide.cFileName) c = u'w';
    for (int i = 0; i < 13; ++i) wide.cAlternateFileName[i] = u's';
    struct {
        WIN32_FIND_DATAA record;
        char guard[16];
    } ansi;
    memset(&ansi, guardA, sizeof ansi);
    FindDataToAnsi(&ansi.record, &wide);
    EXPECT_EQ(strlen(ansi.record.cFileName), 259u);
    EXPECT_EQ(std::string(ansi.record.cAlternateFileName), std::string(13, 's'));
    for (char g : ansi.guard) EXPECT_EQ(g, guardA);
}

TEST(FindData, WideThenAnsiGivesBackTheSameRecord) {
    WIN32_FIND_DATAA original;
    memset(&original, 0, sizeof original);
    original.dwFileAttributes = 0x11;
    original.ftCreationTime = {1, 2};
    original.ftLastAccessTime = {3, 4};
    original.ftLastWriteTime = {5, 6};
    original.nFileSizeHigh = 7;
    original.nFileSizeLow = 8;
    original.dwReserved0 = 9;
    original.dwReserved1 = 10;
    memset(original.cFileName, 'f', 259);
    memset(original.cAlternateFileName, 'a', 13);
    WIN32_FIND_DATAW wide;
    memset(&wide, 0x55, sizeof wide);
    WIN32_FIND_DATAA back;
    memset(&back, 0, sizeof back);
    FindDataToWide(&wide, &original);
    FindDataToAnsi(&back, &wide);
    EXPECT_EQ(memcmp(&back, &original, offsetof(WIN32_FIND_DATAA, cAlternateFileName) + 14), 0);
}

}  // namespace

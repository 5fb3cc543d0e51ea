// The ANSI entry points as frames: texts converted in (cut at 1023
// characters), the wide call's answer handed back, the host's buffers
// touched only where the wide call changed something.
#include <cstdio>
#include <cstring>
#include <string>

#include "plugin/state.h"
#include "platform/sim/world.h"
#include "tests/unit/host_double.h"

namespace {

constexpr BYTE pattern = 0xA5;

class AnsiFrames : public PluginTest {
protected:
    void SetUp() override {
        PluginTest::SetUp();
        socketsStarted = true;  // no socket start lines in the logs
        for (int i = 0; i < 6; ++i) deviceAddresses[5][i] = static_cast<BYTE>(0x50 + i);
        for (int i = 0; i < 6; ++i) deviceAddresses[1][i] = static_cast<BYTE>(0x10 + i);
        for (int i = 0; i < 6; ++i) radioAddresses[1][i] = static_cast<BYTE>(0xA0 + i);
        selectedDevice = 1;
    }
    void TearDown() override { UseWorldText(sim::demoWorldText); }
    static void UseWorldText(const char* text) {
        static sim::World world;
        char error[256];
        ASSERT_TRUE(sim::ParseWorld(text, "test", &world, error, sizeof error)) << error;
        sim::UseWorld(world);
    }
};

// A path of 1500 characters whose first 1023 end in a separator after the
// folder of device 5. Cut at 1023 it names device 5's folder; cut at 1024 it
// ends in "\[" and has no marker; whole, it names adapter 1's folder.
std::string LongPath(const char* tail) {
    std::string path = "\\[A00] radio\\[D05] ";
    path.append(1022 - path.size(), 'y');
    path += '\\';
    path += tail;
    path.append(1500 - path.size(), 'z');
    return path;
}

TEST_F(AnsiFrames, LongPathReachesTheListingAsItsFirst1023Characters) {
    std::string path = LongPath("[A01] radio");
    WIN32_FIND_DATAA record;
    memset(&record, pattern, sizeof record);
    EXPECT_EQ(FsFindFirst(&path[0], &record), nullptr);
    EXPECT_EQ(selectedDevice, 5);
    EXPECT_STREQ(record.cFileName, "Copy the files to send.");
    EXPECT_EQ(record.dwFileAttributes, 0x81u);
    EXPECT_EQ(record.nFileSizeLow, 0u);
    EXPECT_EQ(record.cAlternateFileName[0], '\0');
}

TEST_F(AnsiFrames, LongPathReachesTheValueAndIconRequestsCutTheSameWay) {
    std::string path = LongPath("[A01] radio");
    char value[18];
    EXPECT_EQ(FsContentGetValue(&path[0], 0, 0, value, sizeof value, 0), 8);
    EXPECT_STREQ(value, "55:54:53:52:51:50");

    std::string named = LongPath("Please disconnect!");
    named.resize(named.find('!') + 1);  // whole, the name ends in "!"
    std::string before = named;
    HICON icon = nullptr;
    EXPECT_EQ(FsExtractCustomIcon(&named[0], 0, &icon), 1);
    EXPECT_STREQ(named.c_str(), "ICON3");  // by the marker of the cut text
    EXPECT_EQ(named.substr(6), before.substr(6)) << "nothing written after the name";
}

TEST_F(AnsiFrames, ListingRecordsAreConvertedAndLeftAloneAtTheEnd) {
    UseWorldText(
        "radio address=00:1A:7D:DA:71:13 name=\"Office dongle\"\n"
        "radio address=00:1A:7D:DA:71:14 name=\"Caf\xC3\xA9 radio\"\n");
    WIN32_FIND_DATAA record;
    memset(&record, pattern, sizeof record);
    char root[] = "\\";
    FsFindFirst(root, &record);
    EXPECT_STREQ(record.cFileName, "[A00] Office dongle");
    EXPECT_EQ(record.dwFileAttributes, 0x11u);

    memset(&record, pattern, sizeof record);
    ASSERT_EQ(FsFindNext(nullptr, &record), TRUE);
    EXPECT_STREQ(record.cFileName, "[A01] Caf\xE9 radio");  // CP1252
    EXPECT_EQ(record.ftLastWriteTime.dwLowDateTime, 0u);

    WIN32_FIND_DATAA untouched;
    memset(&record, pattern, sizeof record);
    memcpy(&untouched, &record, sizeof record);
    EXPECT_EQ(FsFindNext(nullptr, &record), FALSE);
    EXPECT_EQ(memcmp(&record, &untouched, sizeof record), 0);
}

TEST_F(AnsiFrames, IconNameIsWrittenBackOnlyWhenItChanged) {
    struct Case {
        const char* path;
        int result;
        const char* name;
    } cases[] = {
        {"\\[A00] radio\\[D01] Phone", 1, "ICON3"},
        {"\\[A00] radio", 1, "ICON2"},
        {"\\[A00] radio\\[D01] Phone\\Copy the files to send.", 1, "ICON5"},
        {"\\notes.txt", 0, "\\notes.txt"},
    };
    for (const Case& c : cases) {
        char name[260];
        memset(name, pattern, sizeof name);
        strcpy(name, c.path);
        char before[260];
        memcpy(before, name, sizeof name);
        HICON icon = nullptr;
        EXPECT_EQ(FsExtractCustomIcon(name, 0, &icon), c.result) << c.path;
        EXPECT_STREQ(name, c.name);
        size_t written = c.result == 1 ? 6 : 0;
        EXPECT_EQ(memcmp(name + written, before + written, sizeof name - written), 0) << c.path;
    }
}

TEST_F(AnsiFrames, ValueIsTheSameThroughBothRequests) {
    const char* paths[] = {"\\[A01] radio", "\\[A00] radio\\[D05] Phone",
                           "\\[A00] radio\\[D05] Phone\\Copy the files to send.",
                           "\\[a01] radio", "\\[A00] radio\\[D42] gone"};
    for (const char* path : paths) {
        char ansi[24], wide[24];
        memset(ansi, pattern, sizeof ansi);
        memset(wide, pattern, sizeof wide);
        std::string pathA = path;
        std::u16string pathW = Wide(path);
        int resultA = FsContentGetValue(&pathA[0], 0, 0, ansi, 18, 0);
        int resultW = FsContentGetValueW(&pathW[0], 0, 0, wide, 18, 0);
        EXPECT_EQ(resultA, resultW) << path;
        EXPECT_EQ(memcmp(ansi, wide, sizeof ansi), 0) << path;
    }
}

TEST_F(AnsiFrames, PutFileHandsBothNamesToTheWideRequest) {
    char localName[] = "/tmp/quelt-ansi-frame-test.txt";
    FILE* file = fopen(localName, "wb");
    ASSERT_NE(file, nullptr);
    fputs("hello", file);
    fclose(file);
    deviceChosen = true;
    char remoteName[] = "\\[A00] radio\\[D01] Phone\\caf\xE9.txt";
    EXPECT_EQ(FsPutFile(localName, remoteName, 0), 5);  // the device does not answer
    EXPECT_EQ(hostDouble.lastProgressSource, localName);
    EXPECT_EQ(hostDouble.lastProgressTarget, "\\[A00] radio\\[D01] Phone\\caf\xC3\xA9.txt");
    remove(localName);
}

TEST_F(AnsiFrames, NullTextsAreTakenAsEmptyTexts) {
    WIN32_FIND_DATAA record;
    memset(&record, pattern, sizeof record);
    EXPECT_EQ(FsFindFirst(nullptr, &record), nullptr);
    EXPECT_STREQ(record.cFileName, "Unknown directory!");

    HICON icon = nullptr;
    EXPECT_EQ(FsExtractCustomIcon(nullptr, 0, &icon), 0);
    EXPECT_EQ(icon, nullptr);

    char value[18];
    EXPECT_EQ(FsContentGetValue(nullptr, 0, 0, value, sizeof value, 0), 8);
    EXPECT_STREQ(value, "15:14:13:12:11:10");  // an entry without marker: the opened device

    deviceChosen = true;
    EXPECT_EQ(FsPutFile(nullptr, nullptr, 0), 3);  // no local file of that name
}

}  // namespace

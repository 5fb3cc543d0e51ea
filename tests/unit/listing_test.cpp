// The directory listing: entries, attributes, log lines and the state a
// later send relies on.
#include <cstring>

#include "platform/sim/bluetooth_sim.h"
#include "plugin/state.h"
#include "tests/unit/browsing_fixture.h"

namespace {

using Listing = BrowsingTest;

const char* const twoRadios =
    "radio  address=00:1A:7D:DA:71:13 name=\"Office dongle\"\n"
    "radio  address=00:1A:7D:DA:71:14 name=\"Laptop radio\"\n"
    "device radio=0 address=00:1B:F0:12:3A:5E name=\"Phone\" name-after=3\n"
    "device radio=0 address=11:22:33:44:55:66 name=\"\" name-after=never\n"
    "device radio=1 address=AA:BB:CC:DD:EE:01 name=\"Tablet/Kids\"\n";

const char* const officeDongle = "\\[A00] Office dongle";
const char* const phone = "\\[A00] Office dongle\\[D00] Phone";

TEST_F(Listing, FirstListingStartsSocketsConnectsThenListsAdapters) {
    UseWorldText(twoRadios);
    EXPECT_EQ(List("\\"), (std::vector<Entry>{{0x11, "[A00] Office dongle"},
                                               {0x11, "[A01] Laptop radio"}}));
    EXPECT_EQ(hostDouble.logs, (std::vector<LogLine>{{3, "Starting Windows Socket API ...", false},
                                                {3, "Done", false},
                                                {1, "CONNECT \\", false},
                                                {3, "Finding radio adapters ...", false},
                                                {3, "[A00] Office dongle", true},
                                                {3, "[A01] Laptop radio", true}}));
    EXPECT_TRUE(socketsStarted);
    EXPECT_EQ(dirKind, u'\\');
    EXPECT_EQ(lastAdapter, 1);
    const BYTE second[6] = {0x14, 0x71, 0xDA, 0x7D, 0x1A, 0x00};
    EXPECT_EQ(memcmp(radioAddresses[1], second, 6), 0);
    EXPECT_EQ(radioHandles[1], sim::RadioHandle(1));
    EXPECT_EQ(sim::OpenSearches(), 0);
}

TEST_F(Listing, SocketsStartOncePerConnection) {
    UseWorldText(twoRadios);
    List("\\");
    hostDouble.logs.clear();
    List("/");
    EXPECT_EQ(hostDouble.logs, (std::vector<LogLine>{{3, "Finding radio adapters ...", false},
                                                {3, "[A00] Office dongle", true},
                                                {3, "[A01] Laptop radio", true}}));
    FsDisconnectW(nullptr);
    hostDouble.logs.clear();
    List(officeDongle);
    ASSERT_GE(hostDouble.logs.size(), 3u);
    EXPECT_EQ(hostDouble.logs[2], (LogLine{1, "CONNECT \\", false}));
}

TEST_F(Listing, RootBySlashOrBackslashTrailingSeparatorsPassedOver) {
    UseWorldText(twoRadios);
    for (const char* path : {"\\", "/"}) {
        EXPECT_EQ(List(path).size(), 2u) << path;
        EXPECT_EQ(dirKind, path[0]);
    }
    for (const char* path : {"\\[A00] Office dongle\\", "/[A00] Office dongle/",
                             "\\[A00] Office dongle/"})
        EXPECT_EQ(List(path).size(), 2u) << path;
    EXPECT_EQ(browsedAdapter, 0);
}

TEST_F(Listing, AdapterListsItsDevicesWithUnknownNameForANameless) {
    UseWorldText(twoRadios);
    List("\\");
    hostDouble.logs.clear();
    EXPECT_EQ(List(officeDongle), (std::vector<Entry>{{0x11, "[D00] Phone"},
                                                       {0x11, "[D01] Unknown name"}}));
    EXPECT_EQ(hostDouble.logs, (std::vector<LogLine>{{3, "Finding radio devices ...", false},
                                                {3, "[D00] Phone", true},
                                                {3, "[D01] Unknown name", true}}));
    const BYTE nameless[6] = {0x66, 0x55, 0x44, 0x33, 0x22, 0x11};
    EXPECT_EQ(memcmp(deviceAddresses[1], nameless, 6), 0);
    EXPECT_EQ(lastDevice, 1);
    // Another adapter renumbers from 0; entries past its devices stay.
    EXPECT_EQ(List("\\[A01] Laptop radio"),
              (std::vector<Entry>{{0x11, "[D00] Tablet/Kids"}}));
    EXPECT_EQ(deviceAddresses[0][0], 0x01);
    EXPECT_EQ(memcmp(deviceAddresses[1], nameless, 6), 0);
    EXPECT_EQ(browsedAdapter, 1);
}

TEST_F(Listing, TheRecordIsClearedInFullAndTheNameTerminated) {
    UseWorldText(twoRadios);
    WIN32_FIND_DATAW data;
    memset(&data, 0xAB, sizeof data);
    std::u16string root = u"\\";
    FsFindFirstW(root.data(), &data);
    auto expectOnly = [&](const char* name) {
        WIN32_FIND_DATAW expected;
        memset(&expected, 0, sizeof expected);
        expected.dwFileAttributes = 0x11;
        std::u16string wide = Wide(name);
        memcpy(expected.cFileName, wide.data(), wide.size() * sizeof(WCHAR));
        EXPECT_EQ(memcmp(&data, &expected, sizeof data), 0) << name;
    };
    expectOnly("[A00] Office dongle");
    memset(&data, 0xAB, sizeof data);
    EXPECT_TRUE(FsFindNextW(nullptr, &data));
    expectOnly("[A01] Laptop radio");
    memset(&data, 0xAB, sizeof data);
    EXPECT_FALSE(FsFindNextW(nullptr, &data));
    EXPECT_EQ(data.dwFileAttributes, 0u);
    EXPECT_EQ(data.cFileName[0], 0);
}

TEST_F(Listing, LongestNamesAreFormedInFull) {
    std::string name(247, 'x');
    name[246] = 'Z';
    std::string world = "radio address=00:00:00:00:00:01 name=" + name + "\n" +
                        "device radio=0 address=00:00:00:00:01:01 name=" + name + "\n";
    UseWorldText(world.c_str());
    EXPECT_EQ(List("\\")[0].name, "[A00] " + name);
    EXPECT_EQ(List(officeDongle)[0].name, "[D00] " + name);
}

TEST_F(Listing, FailuresBecomeTheSingleEntryAfterTheirLogLine) {
    struct Case {
        const char* world;
        const char* path;
        Entry entry;
        LogLine log;
    } cases[] = {
        {"search radio-error=2\n", "\\", {0x81, "Can't find any radio adapter!"},
         {3, "The system cannot find the file specified.\r\n", false}},
        {"radio address=00:00:00:00:00:01 name=R\nsearch device-error=1167\n", officeDongle,
         {0x81, "Can't find any radio device!"},
         {6, "The device is not connected.\r\n", false}},
        {"radio address=00:00:00:00:00:01 name=R\nsockets startup-error=10091\n", "\\",
         {0x81, "Can't start Windows Socket API!"},
         {6, "WSAStartup cannot function at this time because the underlying system it uses "
             "to provide network services is currently unavailable.\r\n", false}},
    };
    for (const Case& c : cases) {
        ResetPluginAndHost();
        UseWorldText(c.world);
        deviceChosen = true;
        EXPECT_EQ(List(c.path), (std::vector<Entry>{c.entry})) << c.world;
        ASSERT_FALSE(hostDouble.logs.empty());
        EXPECT_EQ(hostDouble.logs.back(), c.log) << c.world;
        EXPECT_EQ(sim::Calls().staleHandleUses, 0);
    }
    EXPECT_FALSE(socketsStarted);  // the failed start is tried again next time
    EXPECT_TRUE(deviceChosen);     // the failed start listed nothing
}

TEST_F(Listing, AfterAFailedSocketStartNoSearchContinuesAndNoDeviceIsChosen) {
    UseWorldText(twoRadios);
    List("\\");
    ListFirst(officeDongle);  // abandoned: its device search stays open
    FsDisconnectW(nullptr);
    UseWorldText("radio address=00:00:00:00:00:01 name=R\nsockets startup-error=10091\n");
    long nextCalls = sim::Calls().findNextDevice + sim::Calls().findNextRadio;
    for (const char* path : {"\\", officeDongle, phone}) {
        deviceChosen = false;
        EXPECT_EQ(List(path).size(), 1u) << path;
        EXPECT_FALSE(deviceChosen) << path;
    }
    EXPECT_EQ(sim::Calls().findNextDevice + sim::Calls().findNextRadio, nextCalls);
}

TEST_F(Listing, DeviceDirectoryTellsWhatToDoAndItsEndChoosesTheDevice) {
    UseWorldText(twoRadios);
    EXPECT_EQ(ListFirst(phone), (Entry{0x81, "Please disconnect!"}));  // nothing recorded yet
    EXPECT_EQ(selectedDevice, 0);
    EXPECT_FALSE(deviceChosen);
    WIN32_FIND_DATAW data;
    EXPECT_FALSE(FsFindNextW(nullptr, &data));
    EXPECT_TRUE(deviceChosen);

    List("\\");
    EXPECT_FALSE(deviceChosen);
    List(officeDongle);
    hostDouble.logs.clear();
    EXPECT_EQ(List("\\[A00] Office dongle\\[D01] Unknown name"),
              (std::vector<Entry>{{0x81, "Copy the files to send."}}));
    EXPECT_TRUE(hostDouble.logs.empty());
    EXPECT_EQ(selectedDevice, 1);
    EXPECT_TRUE(deviceChosen);
    EXPECT_EQ(lastAdapter, -1);
    EXPECT_EQ(lastDevice, -1);

    UseWorldText("radio address=00:00:00:00:00:01 name=R\n");  // an adapter finding nothing
    List(officeDongle);
    EXPECT_FALSE(deviceChosen);
}

TEST_F(Listing, PathsThePluginDidNotMakeOrOutsideTheTablesAreUnknown) {
    const char* paths[] = {
        "\\Downloads",                       // marker 'o'
        "\\[X00] Other",                     // not A or D
        "\\[A05] Sixth radio",               // past the radio table
        "\\[A99] x",                         //
        "\\[Axy] x",                         // not digits
        "\\[A0",                             // too short for a number
        "\\[A00] Office dongle\\[Dab] y",    //
        "\\[A00] Office dongle\\[D-1] y",    //
        "\\[A00] Office dongle\\[D00] Tablet/Kids",  // classified after the '/'
        "\\Unknown directory!",              //
        "",                                  // no separator at all
        "A",                                 // a one-character path is its own kind
        "D",
    };
    UseWorldText(twoRadios);
    List("\\");
    List(officeDongle);
    List(phone);
    ASSERT_TRUE(deviceChosen);
    BYTE addresses[maxDevices][addressBytes];
    memcpy(addresses, deviceAddresses, sizeof addresses);
    sim::BluetoothCalls before = sim::Calls();
    for (const char* path : paths) {
        hostDouble.logs.clear();
        EXPECT_EQ(List(path), (std::vector<Entry>{{0x11, "Unknown directory!"}})) << path;
        EXPECT_TRUE(hostDouble.logs.empty()) << path;
        EXPECT_TRUE(deviceChosen) << path;
        EXPECT_EQ(selectedDevice, 0) << path;
        EXPECT_EQ(browsedAdapter, 0) << path;
        EXPECT_EQ(lastAdapter, -1) << path;
        EXPECT_EQ(lastDevice, -1) << path;
    }
    EXPECT_EQ(memcmp(addresses, deviceAddresses, sizeof addresses), 0);
    EXPECT_EQ(sim::Calls().findFirstDevice, before.findFirstDevice);
    EXPECT_EQ(sim::Calls().findNextDevice, before.findNextDevice);
}

TEST_F(Listing, SeparatorsInsideNamesSelectByTheTextAfterTheLastOne) {
    UseWorldText(twoRadios);
    List("\\");
    List(officeDongle);
    EXPECT_EQ(List("\\[A01] Laptop/[D01] x"),
              (std::vector<Entry>{{0x81, "Copy the files to send."}}));
    EXPECT_EQ(selectedDevice, 1);
    EXPECT_EQ(List("\\[D00] Phone\\[A01] Laptop radio"),
              (std::vector<Entry>{{0x11, "[D00] Tablet/Kids"}}));
}

TEST_F(Listing, SixRadiosShowFiveAndAHundredAndOneDevicesAHundred) {
    std::string world;
    char line[96];
    for (int i = 0; i < 6; ++i) {
        snprintf(line, sizeof line, "radio address=00:00:00:00:00:%02X name=R%d\n", i + 1, i);
        world += line;
    }
    for (int i = 0; i < 101; ++i) {
        snprintf(line, sizeof line, "device radio=0 address=00:00:00:00:01:%02X name=D%d\n",
                 i, i);
        world += line;
    }
    UseWorldText(world.c_str());
    std::vector<Entry> radios = List("\\");
    ASSERT_EQ(radios.size(), 5u);
    EXPECT_EQ(radios[4].name, "[A04] R4");
    std::vector<Entry> devices = List("\\[A00] R0");
    ASSERT_EQ(devices.size(), 100u);
    EXPECT_EQ(devices[99].name, "[D99] D99");
    EXPECT_EQ(deviceAddresses[99][0], 99);
    EXPECT_EQ(sim::DeviceReads(100), 0);  // the 101st was not even waited for
    EXPECT_EQ(sim::OpenSearches(), 0);
    EXPECT_EQ(sim::Calls().staleHandleUses, 0);
}

TEST_F(Listing, ARadioWhoseInfoFailsFirstIsSkippedLaterOnesEndTheListing) {
    UseWorldText("radio address=00:00:00:00:00:01 name=Broken info-error=5\n"
                 "radio address=00:00:00:00:00:02 name=Fine\n"
                 "radio address=00:00:00:00:00:03 name=Broken2 info-error=6\n"
                 "radio address=00:00:00:00:00:04 name=Hidden\n");
    EXPECT_EQ(List("\\"), (std::vector<Entry>{{0x11, "[A01] Fine"}}));
    EXPECT_EQ(hostDouble.logs[4], (LogLine{3, "Access is denied.\r\n", false}));
    EXPECT_EQ(hostDouble.logs[5], (LogLine{3, "[A01] Fine", true}));
    EXPECT_EQ(hostDouble.logs.size(), 6u);  // the later failure ends it silently
    EXPECT_EQ(lastAdapter, 2);

    UseWorldText("radio address=00:00:00:00:00:01 name=Broken info-error=5\n"
                 "radio address=00:00:00:00:00:02 name=Broken2 info-error=6\n");
    hostDouble.logs.clear();
    EXPECT_EQ(List("\\"), (std::vector<Entry>{{0x81, "Can't find any radio adapter!"}}));
    EXPECT_EQ(hostDouble.logs, (std::vector<LogLine>{{3, "Finding radio adapters ...", false},
                                                {3, "Access is denied.\r\n", false},
                                                {3, "The handle is invalid.\r\n", false}}));
}

}  // namespace

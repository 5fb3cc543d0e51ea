// Discovery over the simulated platform: the searches, their handles and
// the wait for a device's name.
#include <cstring>

#include "bluetooth/discovery.h"
#include "platform/seam.h"
#include "platform/sim/bluetooth_sim.h"
#include "plugin/state.h"
#include "tests/unit/browsing_fixture.h"

namespace {

using Discovery = BrowsingTest;

const char* const oneRadio = "radio address=00:1A:7D:DA:71:13 name=\"Office dongle\"\n";

TEST_F(Discovery, OneRadioIsFoundThenTheSearchEndsAndIsClosed) {
    UseWorldText(oneRadio);
    EXPECT_EQ(FindFirstAdapter(0), 0);
    EXPECT_EQ(radioHandles[0], sim::RadioHandle(0));
    EXPECT_NE(radioFind, nullptr);
    EXPECT_EQ(FindNextAdapter(1), 1);
    EXPECT_EQ(radioFind, nullptr);
    EXPECT_EQ(radioHandles[1], nullptr);
    EXPECT_EQ(sim::OpenSearches(), 0);
    // A further next-operation has no search: none, and nothing reaches the platform.
    long nextCalls = sim::Calls().findNextRadio;
    EXPECT_EQ(FindNextAdapter(1), 1);
    EXPECT_EQ(sim::Calls().findNextRadio, nextCalls);
    EXPECT_EQ(sim::Calls().staleHandleUses, 0);
}

TEST_F(Discovery, NoRadioGivesOneAndAnEmptySearch) {
    UseWorldText("search radio-error=1167\n");
    EXPECT_EQ(FindFirstAdapter(0), 1);
    EXPECT_EQ(radioFind, nullptr);
    EXPECT_EQ(platform::LastError(), 1167u);  // the close on the empty handle keeps it
    EXPECT_EQ(sim::Calls().findRadioClose, 1);
    EXPECT_EQ(sim::Calls().staleHandleUses, 0);
}

TEST_F(Discovery, TheRadioTableIsNeverWrittenPastItsEnd) {
    std::string world;
    for (int i = 0; i < 7; ++i)
        world += "radio address=00:00:00:00:00:0" + std::to_string(i + 1) + " name=R\n";
    UseWorldText(world.c_str());
    HANDLE guard = radioHandles[maxRadios - 1];
    EXPECT_EQ(FindFirstAdapter(maxRadios), 1);  // an entry outside the table
    EXPECT_EQ(radioHandles[maxRadios - 1], guard);
    EXPECT_EQ(FindFirstAdapter(0), 0);
    for (int entry = 1; entry < maxRadios; ++entry) EXPECT_EQ(FindNextAdapter(entry), 0);
    EXPECT_EQ(FindNextAdapter(maxRadios), 1);  // a sixth radio ends the search
    EXPECT_EQ(radioFind, nullptr);
    EXPECT_EQ(sim::OpenSearches(), 0);
    for (int i = 0; i < maxRadios; ++i) EXPECT_EQ(radioHandles[i], sim::RadioHandle(i));
}

TEST_F(Discovery, AnAbandonedSearchIsClosedByTheNextFirstOperation) {
    UseWorldText("radio address=00:00:00:00:00:01 name=R\n"
                 "radio address=00:00:00:00:00:02 name=S\n"
                 "device radio=0 address=00:00:00:00:01:01 name=A\n"
                 "device radio=0 address=00:00:00:00:01:02 name=B\n");
    ASSERT_EQ(FindFirstAdapter(0), 0);
    ASSERT_EQ(FindFirstAdapter(0), 0);
    ASSERT_EQ(FindFirstDevice(radioHandles[0]), 0);
    ASSERT_EQ(FindFirstDevice(radioHandles[0]), 0);
    EXPECT_EQ(sim::OpenSearches(), 2);  // one of each, not four
    EXPECT_EQ(sim::Calls().staleHandleUses, 0);
}

TEST_F(Discovery, DeviceSearchAsksForAFullInquiryOnTheGivenRadio) {
    UseWorldText("radio address=00:00:00:00:00:01 name=R\n"
                 "device radio=0 address=00:1B:F0:12:3A:5E name=Phone\n");
    ASSERT_EQ(FindFirstAdapter(0), 0);
    memset(&deviceInfo, 0x5A, sizeof deviceInfo);
    ASSERT_EQ(FindFirstDevice(radioHandles[0]), 0);
    const BLUETOOTH_DEVICE_SEARCH_PARAMS& p = sim::LastDeviceSearch();
    EXPECT_EQ(p.dwSize, sizeof(BLUETOOTH_DEVICE_SEARCH_PARAMS));
    EXPECT_EQ(p.fReturnAuthenticated, 1);
    EXPECT_EQ(p.fReturnRemembered, 1);
    EXPECT_EQ(p.fReturnUnknown, 1);
    EXPECT_EQ(p.fReturnConnected, 1);
    EXPECT_EQ(p.fIssueInquiry, 1);
    EXPECT_EQ(p.cTimeoutMultiplier, 10);
    EXPECT_EQ(p.hRadio, radioHandles[0]);
    EXPECT_EQ(deviceInfo.dwSize, 560u);
    const BYTE phone[6] = {0x5E, 0x3A, 0x12, 0xF0, 0x1B, 0x00};
    EXPECT_EQ(memcmp(deviceInfo.Address.rgBytes, phone, 6), 0);
    EXPECT_EQ(Utf8(deviceInfo.szName), "Phone");
}

TEST_F(Discovery, TheNameWaitReadsUntilTheNameArrivesOrAMillionTimes) {
    UseWorldText("radio address=00:00:00:00:00:01 name=R\n"
                 "device radio=0 address=00:00:00:00:01:01 name=Known\n"
                 "device radio=0 address=00:00:00:00:01:02 name=Late name-after=3\n"
                 "device radio=0 address=00:00:00:00:01:03 name=Lost name-after=never\n"
                 "device radio=0 address=00:00:00:00:01:04 name=Slow name-after=1000000\n");
    struct Expected {
        const char* name;
        long reads;
    } expected[] = {{"Known", 1}, {"Late", 3}, {"", maxNameReads}, {"Slow", maxNameReads}};
    ASSERT_EQ(FindFirstAdapter(0), 0);
    ASSERT_EQ(FindFirstDevice(radioHandles[0]), 0);
    for (int device = 0; device < 4; ++device) {
        if (device > 0) {
            ASSERT_EQ(FindNextDevice(), 0) << device;
        }
        EXPECT_EQ(Utf8(deviceInfo.szName), expected[device].name);
        EXPECT_EQ(sim::DeviceReads(device), expected[device].reads) << device;
    }
    EXPECT_EQ(FindNextDevice(), 1);
    EXPECT_EQ(deviceFind, nullptr);
    EXPECT_EQ(sim::OpenSearches(), 1);  // the radio search, abandoned
}

TEST_F(Discovery, NoRootListingSinceLoadSearchesAllRadiosEachDeviceOnce) {
    UseWorldText("radio address=00:00:00:00:00:01 name=R\n"
                 "radio address=00:00:00:00:00:02 name=S\n"
                 "device radio=1 address=00:00:00:00:01:01 name=A\n"
                 "device radio=* address=00:00:00:00:01:02 name=B\n"
                 "device radio=0 address=00:00:00:00:01:03 name=C\n");
    std::string names;
    for (int found = FindFirstDevice(radioHandles[0]); found == 0; found = FindNextDevice())
        names += Utf8(deviceInfo.szName);
    EXPECT_EQ(sim::LastDeviceSearch().hRadio, nullptr);
    EXPECT_EQ(names, "ABC");
}

TEST_F(Discovery, NoDeviceGivesOneWithTheSearchError) {
    UseWorldText("radio address=00:00:00:00:00:01 name=R\n"
                 "radio address=00:00:00:00:00:02 name=S\n"
                 "device radio=1 address=00:00:00:00:01:01 name=A\n"
                 "search device-error=1168\n");
    ASSERT_EQ(FindFirstAdapter(0), 0);
    EXPECT_EQ(FindFirstDevice(radioHandles[0]), 1);
    EXPECT_EQ(deviceFind, nullptr);
    EXPECT_EQ(platform::LastError(), 1168u);
    long nextCalls = sim::Calls().findNextDevice;
    EXPECT_EQ(FindNextDevice(), 1);
    EXPECT_EQ(sim::Calls().findNextDevice, nextCalls);
    EXPECT_EQ(sim::Calls().staleHandleUses, 0);
}

}  // namespace

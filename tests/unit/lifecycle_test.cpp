// Loading, the handshake, the root name and the socket API's two states.
#include <cstring>

#include "plugin/lifecycle.h"
#include "plugin/state.h"
#include "tests/unit/host_double.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);

namespace {

using Lifecycle = PluginTest;

TEST_F(Lifecycle, DllMainKeepsTheHandleOnlyOnProcessAttach) {
    int a, b;
    EXPECT_EQ(DllMain(&a, DLL_PROCESS_ATTACH, nullptr), TRUE);
    EXPECT_EQ(moduleHandle, &a);
    for (DWORD reason : {0u, 2u, 3u}) {
        EXPECT_EQ(DllMain(&b, reason, nullptr), TRUE);
        EXPECT_EQ(moduleHandle, &a);
    }
}

TEST_F(Lifecycle, TheLaterInitSetsThePluginNumber) {
    FsInit(3, nullptr, nullptr, nullptr);
    FsInitW(4, nullptr, nullptr, nullptr);
    EXPECT_EQ(pluginNumber, 4);
    FsInitW(5, nullptr, nullptr, nullptr);
    FsInit(6, nullptr, nullptr, nullptr);
    EXPECT_EQ(pluginNumber, 6);
}

TEST_F(Lifecycle, RootNameIsCutToMaxlenWithItsTerminator) {
    struct Case {
        int maxlen;
        const char* name;
    } cases[] = {{6, "QUELT"}, {40, "QUELT"}, {5, "QUEL"}, {3, "QU"}, {1, ""}};
    for (const Case& c : cases) {
        char buffer[48];
        memset(buffer, '#', sizeof buffer);
        FsGetDefRootName(buffer, c.maxlen);
        EXPECT_STREQ(buffer, c.name) << c.maxlen;
        EXPECT_EQ(buffer[strlen(c.name) + 1], '#');
    }
}

TEST_F(Lifecycle, RootNameWithMaxlenBelowOneWritesNothing) {
    for (int maxlen : {0, -1, -100}) {
        char buffer[4] = {'#', '#', '#', '#'};
        FsGetDefRootName(buffer, maxlen);
        for (char c : buffer) EXPECT_EQ(c, '#');
    }
}

TEST_F(Lifecycle, RootNameShowsTheInfoBoxOnEveryCall) {
    char buffer[8];
    testing::internal::CaptureStderr();
    FsGetDefRootName(buffer, 8);
    FsGetDefRootName(buffer, 8);
    std::string boxes = testing::internal::GetCapturedStderr();
    std::string one = "box Info|QUELT " QUELT_VERSION;
    EXPECT_EQ(boxes.find(one), 0u) << boxes;
    EXPECT_NE(boxes.find(one, 1), std::string::npos) << boxes;
}

TEST_F(Lifecycle, DisconnectStopsTheSocketApiEvenWhenNotStarted) {
    EXPECT_EQ(FsDisconnect(nullptr), 1);
    EXPECT_FALSE(socketsStarted);
    socketsStarted = true;
    EXPECT_EQ(FsDisconnectW(nullptr), 1);
    EXPECT_FALSE(socketsStarted);
    socketsStarted = true;
    FsContentPluginUnloading();
    EXPECT_FALSE(socketsStarted);
}

TEST_F(Lifecycle, StartSocketsGivesZeroThenStopBalancesIt) {
    EXPECT_EQ(StartSockets(), 0);
    EXPECT_EQ(StopSockets(), 0);
    EXPECT_EQ(StopSockets(), 0);  // an unmatched stop fails harmlessly
}

}  // namespace

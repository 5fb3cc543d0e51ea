// Loading, the handshake, the root name and the socket API's two states;
// built natively and for Windows, where they run over the real API.
#include <cstring>

#include "platform/seam.h"
#include "plugin/lifecycle.h"
#include "plugin/state.h"
#include "tests/unit/box_recorder.h"
#include "tests/unit/host_double.h"
#ifndef _WIN32
#include "tests/unit/browsing_fixture.h"
#endif

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);

namespace {

using Lifecycle = PluginTest;

constexpr DWORD wsaNotInitialised = 10093;

// Whether the socket API is started, told by the error of a socket request
// (the request itself may fail for other reasons, as RFCOMM does under Wine).
bool SocketApiRunning() {
    SOCKET s = platform::SocketOpen(AF_BTH, SOCK_STREAM, BTHPROTO_RFCOMM);
    if (s != INVALID_SOCKET) {
        platform::SocketClose(s);
        return true;
    }
    return platform::LastError() != wsaNotInitialised;
}

TEST_F(Lifecycle, DllMainKeepsTheHandleOnlyOnProcessAttach) {
    int a, b;
    HINSTANCE first = reinterpret_cast<HINSTANCE>(&a);
    HINSTANCE other = reinterpret_cast<HINSTANCE>(&b);
    EXPECT_EQ(DllMain(first, DLL_PROCESS_ATTACH, nullptr), TRUE);
    EXPECT_EQ(moduleHandle, first);
    for (DWORD reason : {0u, 2u, 3u}) {
        EXPECT_EQ(DllMain(other, reason, nullptr), TRUE);
        EXPECT_EQ(moduleHandle, first);
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
    StartRecordingBoxes();
    FsGetDefRootName(buffer, 8);
    FsGetDefRootName(buffer, 0);
    std::vector<std::string> boxes = StopRecordingBoxes();
    std::string about = std::string("Info|") + aboutText;
    EXPECT_EQ(boxes, std::vector<std::string>({about, about}));
    EXPECT_EQ(about.find("Info|QUELT " QUELT_VERSION "\n"), 0u);
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

TEST_F(Lifecycle, EveryWayOfDisconnectingStopsAStartedSocketApi) {
    struct Case {
        const char* what;
        void (*disconnect)();
    } cases[] = {
        {"FsDisconnect", [] { EXPECT_EQ(FsDisconnect(const_cast<char*>("\\")), 1); }},
        {"FsDisconnectW", [] { EXPECT_EQ(FsDisconnectW(nullptr), 1); }},
        {"FsContentPluginUnloading", [] { FsContentPluginUnloading(); }},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(StartSockets(), 0) << c.what;
        socketsStarted = true;
        EXPECT_TRUE(SocketApiRunning()) << c.what;
        c.disconnect();
        EXPECT_FALSE(socketsStarted) << c.what;
        EXPECT_FALSE(SocketApiRunning()) << c.what;
    }
}

TEST_F(Lifecycle, StartSocketsGivesZeroThenStopBalancesIt) {
    EXPECT_EQ(StartSockets(), 0);
    EXPECT_EQ(StopSockets(), 0);
    EXPECT_EQ(StopSockets(), 0);  // an unmatched stop fails harmlessly
}

#ifndef _WIN32
// Only the simulated platform can make the socket API refuse to start.
using LifecycleInAWorld = BrowsingTest;

TEST_F(LifecycleInAWorld, AFailedStartGivesWsaStartupsErrorPlus100) {
    UseWorldText("sockets startup-error=10091\n");
    EXPECT_EQ(StartSockets(), 10191);
    EXPECT_EQ(StopSockets(), 0);
}
#endif

}  // namespace

#include "tests/unit/browsing_fixture.h"

#include <memory>
#include <ostream>

#include "platform/sim/world.h"
#include "plugin/lifecycle.h"
#include "plugin/state.h"

void UseWorldText(const char* text) {
    auto world = std::make_unique<sim::World>();
    char error[256] = {};
    EXPECT_TRUE(sim::ParseWorld(text, "test", world.get(), error, sizeof error)) << error;
    sim::UseWorld(*world);
}

void PrintTo(const Entry& entry, std::ostream* os) {
    char attributes[8];
    snprintf(attributes, sizeof attributes, "0x%02X", static_cast<unsigned>(entry.attributes));
    *os << "{" << attributes << " \"" << entry.name << "\"}";
}

std::vector<Entry> List(const char* path) {
    std::u16string widePath = Wide(path);
    WIN32_FIND_DATAW data;
    HANDLE handle = FsFindFirstW(widePath.data(), &data);
    EXPECT_EQ(handle, nullptr);
    std::vector<Entry> entries = {{data.dwFileAttributes, Utf8(data.cFileName)}};
    while (FsFindNextW(handle, &data) && entries.size() < 1000)
        entries.push_back({data.dwFileAttributes, Utf8(data.cFileName)});
    EXPECT_EQ(FsFindClose(handle), 0);
    return entries;
}

Entry ListFirst(const char* path) {
    std::u16string widePath = Wide(path);
    WIN32_FIND_DATAW data;
    FsFindFirstW(widePath.data(), &data);
    return {data.dwFileAttributes, Utf8(data.cFileName)};
}

void BrowsingTest::TearDown() {
    if (socketsStarted) StopSockets();  // balance the listing's start for later tests
    UseWorldText(sim::demoWorldText);
}

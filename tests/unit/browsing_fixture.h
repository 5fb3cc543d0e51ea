// Tests of browsing run the plug-in over a small simulated world given as
// world-file text, and list directories as the host does.
#pragma once

#include <string>
#include <vector>

#include "tests/unit/host_double.h"

// Makes `text` the simulated world (fails the test when it does not parse).
void UseWorldText(const char* text);

struct Entry {
    DWORD attributes;
    std::string name;
    bool operator==(const Entry& other) const {
        return attributes == other.attributes && name == other.name;
    }
};
void PrintTo(const Entry& entry, std::ostream* os);

// FsFindFirstW on `path` (UTF-8), FsFindNextW until false, FsFindClose.
std::vector<Entry> List(const char* path);
// Only FsFindFirstW's entry: a listing the host abandons.
Entry ListFirst(const char* path);

// The plug-in at load, with the demo world back after each test.
class BrowsingTest : public PluginTest {
protected:
    void TearDown() override;
};

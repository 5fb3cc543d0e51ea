// A host for unit tests: records every log line and progress report the
// plug-in makes, answers progress with a chosen value, and puts the
// plug-in's module-wide state back to its values at load.
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "plugin/fs_api.h"

struct LogLine {
    int type;
    std::string text;  // wide texts as UTF-8
    bool wide;
    bool operator==(const LogLine& other) const {
        return type == other.type && text == other.text && wide == other.wide;
    }
};

void PrintTo(const LogLine& line, std::ostream* os);

struct HostDouble {
    std::vector<LogLine> logs;
    std::vector<int> progress;
    std::vector<int> progressPlugins;  // the plug-in number of each report
    int abortAtPercent = -1;           // answer 1 to the first report >= this
    std::string lastProgressSource;
    std::string lastProgressTarget;
};

extern HostDouble hostDouble;

// Resets the plug-in's state and the host double, then hands the plug-in
// both callback sets with plug-in number 7.
void ResetPluginAndHost();

// Wide text as a string: std::u16string natively, of wchar_t on Windows.
using WideText = std::basic_string<WCHAR>;

std::string Utf8(const WCHAR* text);
WideText Wide(const char* utf8);

class PluginTest : public ::testing::Test {
protected:
    void SetUp() override { ResetPluginAndHost(); }
};

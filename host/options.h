// The host's command line: quelt-host [--plugin FILE] [--world FILE]
// [--abort-at PERCENT] [-c COMMAND]...
#pragma once

#include <string>
#include <vector>

namespace host {

struct Options {
    std::string plugin;  // empty: the plug-in beside the host
    std::string world;   // empty: QUELT_WORLD as it is
    int abortAt = -1;
    std::vector<std::string> commands;  // empty: read from standard input
    bool help = false;
};

// Throws HostError for an unknown option or a missing or bad value.
Options ParseOptions(const std::vector<std::string>& args);

extern const char* const usageText;

}  // namespace host

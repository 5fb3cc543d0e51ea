#include "host/options.h"

#include <cstdlib>

#include "host/host_error.h"

namespace host {

const char* const usageText =
    "usage: quelt-host [--plugin FILE] [--world FILE] [--abort-at PERCENT] [-c COMMAND]...\n"
    "commands: ls [PATH], cd PATH, put LOCAL [REMOTE], value PATH, icon PATH, root,\n"
    "          disconnect, ansi on|off";

namespace {

int ParsePercent(const std::string& text) {
    char* end = nullptr;
    long percent = strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || percent < 0 || percent > 100)
        throw HostError("--abort-at wants a percent from 0 to 100, not '" + text + "'");
    return static_cast<int>(percent);
}

}  // namespace

Options ParseOptions(const std::vector<std::string>& args) {
    Options options;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (option == "-h" || option == "--help") {
            options.help = true;
            continue;
        }
        if (option != "--plugin" && option != "--world" && option != "--abort-at" &&
            option != "-c")
            throw HostError("unknown option '" + option + "' (see --help)");
        if (i + 1 == args.size()) throw HostError(option + " needs a value");
        const std::string& value = args[++i];
        if (option == "--plugin")
            options.plugin = value;
        else if (option == "--world")
            options.world = value;
        else if (option == "--abort-at")
            options.abortAt = ParsePercent(value);
        else
            options.commands.push_back(value);
    }
    return options;
}

}  // namespace host

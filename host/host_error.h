// The host's own errors (exit status 2): a plug-in that cannot be loaded, a
// missing entry point, an unknown command, bad arguments.
#pragma once

#include <stdexcept>
#include <string>

namespace host {

struct HostError : std::runtime_error {
    explicit HostError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace host

// What the simulated platform reads from the process it runs in: its
// environment and files named there. Natively these are the C library's;
// in the stand-in bthprops.cpl under Wine, the Windows environment (which
// a host may change after start) and Unix paths turned into Wine's.
#pragma once

#include <cstdio>
#include <string>

namespace sim {

// The variable's value, or "" when it is unset.
std::string EnvironmentValue(const char* name);

// fopen of a path as a test gives it (a Unix absolute path under Wine too).
FILE* OpenHostFile(const std::string& path, const char* mode);

}  // namespace sim

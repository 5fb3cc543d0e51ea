// What the host needs of the operating system, one file per kind:
// os_posix.cpp (dlopen, the simulated platform) and os_win.cpp (LoadLibrary,
// also under Wine).
#pragma once

#include <string>

#include "host/text.h"

namespace host {

// Makes standard output and error take UTF-8 bytes unchanged.
void PrepareStreams();
bool StdinIsTerminal();
bool StderrIsTerminal();

// The plug-in of the host's own kind beside the host's program file.
std::string DefaultPluginPath();

// Loads the module; on failure returns null and says why in `error`.
void* LoadPluginModule(const std::string& path, std::string* error);
void* FindEntryPoint(void* module, const char* name);
void UnloadPluginModule(void* module);

// Sets QUELT_WORLD so that the simulated platform (or, under Wine, the
// stand-in bthprops.cpl) reads the world from `path`.
void SetWorldVariable(const std::string& path);

// A local file name made absolute, as a host passes it to the plug-in.
WideString AbsoluteLocalName(const std::string& name);

// Size of a local file in bytes, -1 when unknown.
long long LocalFileSize(const WideString& name);

// Seconds since an arbitrary start, for transfer rates.
double SecondsNow();

// Windows builds close the plug-in's message boxes and report them; the
// simulated platform reports its own.
void InstallBoxHook();

}  // namespace host

// Text at the host's borders: UTF-8 on the command line and on output,
// UTF-16 for the plug-in's wide entry points, the ANSI code page for its
// ANSI ones.
#pragma once

#include <string>

#include "platform/win32_types.h"

namespace host {

using WideString = std::basic_string<WCHAR>;

WideString Utf8ToWide(const std::string& utf8);
std::string WideToUtf8(const WCHAR* wide);

// The system's ANSI code page (1252 here and on the simulated platform).
std::string AnsiToUtf8(const char* ansi);
std::string Utf8ToAnsi(const std::string& utf8);

}  // namespace host

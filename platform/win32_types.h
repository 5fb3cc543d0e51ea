// The Win32 types, records and constants that QUELT uses.
//
// Windows builds take them from the SDK. The native build takes them from
// platform/sim/records.h, our own minimal copy of just what the code uses,
// with the same layouts (platform/record_layout.cpp checks the sizes).
// Wide text is 16-bit UTF-16 everywhere: WCHAR is wchar_t on Windows and
// char16_t natively; WIDE("...") makes a literal of it.
#pragma once

#ifdef _WIN32
#include <winsock2.h>
#include <windows.h>
#include <ws2bth.h>
#include <bluetoothapis.h>
#define WIDE(text) L##text
#else
#include "platform/sim/records.h"
#define WIDE(text) u##text
#endif

static_assert(sizeof(WCHAR) == 2, "wide text must be UTF-16 code units");

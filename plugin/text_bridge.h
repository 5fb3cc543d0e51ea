// Text at the border: wide <-> ANSI conversion with fixed limits, bounded
// copies, the system's error texts and the find-record copies. None of them
// allocates; each writes only inside the buffer its caller passes.
//
// A limit counts characters without the terminator (the destination holds
// limit + 1), except for CopyWideBounded, whose limit is the destination's
// whole size.
#pragma once

#include "platform/win32_types.h"

char* ToAnsi(char* destination, const WCHAR* source, int limit);
WCHAR* ToWide(WCHAR* destination, const char* source, int limit);
WCHAR* CopyWideBounded(WCHAR* destination, const WCHAR* source, int limit);
char* CopyAnsiBounded(char* destination, const char* source, int limit);
const char* SystemErrorText(DWORD code);
void FindDataToAnsi(WIN32_FIND_DATAA* destination, const WIN32_FIND_DATAW* source);
void FindDataToWide(WIN32_FIND_DATAW* destination, const WIN32_FIND_DATAA* source);

// Length of a wide text, counting at most `cap` units.
int WideLength(const WCHAR* text, int cap);

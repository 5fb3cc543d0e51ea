// Calls back into the host: log lines and progress reports, always with the
// plug-in number of the later of FsInit/FsInitW. A callback set the host has
// not supplied is skipped rather than called.
#pragma once

#include "platform/win32_types.h"

void LogAnsi(int msgType, const char* text);
void LogWide(int msgType, const WCHAR* text);
// Returns the host's answer; 0 (go on) when no progress callback was given.
int ReportProgress(const WCHAR* localName, const WCHAR* remoteName, int percent);

// The names of the listing's entries, "[A00] Office dongle" and
// "[D07] Phone", formed in a fixed buffer without the C library's wide
// formatting (wide text is char16_t natively).
#pragma once

#include "platform/win32_types.h"

// "[" marker, the number as at least two digits, "] " and the label: at
// most 6 + 247 units; the buffer has room to spare.
constexpr int entryNameSize = 260;
// A radio or device name is read up to this many units, terminated or not.
constexpr int maxLabelLength = BLUETOOTH_MAX_NAME_SIZE - 1;

void FormatEntryName(WCHAR name[entryNameSize], char marker, int number, const WCHAR* label);

// Reading an entry's path the way the listing, the icons and the column do:
// the last separator ('\' or '/') before the last character, then the entry
// marker two characters after it ("\[A00] Office dongle" -> 'A') and the two
// digits after the marker (the entry number). Never reads past the text.
#pragma once

#include "platform/win32_types.h"

// Longest path looked at; the host's paths are far shorter.
constexpr int maxEntryPathLength = 32767;

struct EntryPath {
    int length;         // characters in the path (up to maxEntryPathLength)
    bool hasSeparator;  // a separator stands before the last character
    WCHAR marker;       // the entry marker, 0 when there is none
    int number;         // the entry number, -1 unless two decimal digits follow the marker
};

EntryPath ReadEntryPath(const WCHAR* path);

#include "plugin/entry_path.h"

#include "plugin/text_bridge.h"

static bool IsSeparator(WCHAR c) { return c == '\\' || c == '/'; }

static bool IsDigit(WCHAR c) { return c >= '0' && c <= '9'; }

EntryPath ReadEntryPath(const WCHAR* path) {
    EntryPath entry = {WideLength(path, maxEntryPathLength), false, 0, -1};
    int separator = entry.length - 2;
    while (separator >= 0 && !IsSeparator(path[separator])) --separator;
    if (separator < 0) return entry;
    entry.hasSeparator = true;
    int markerAt = separator + 2;
    if (markerAt >= entry.length) return entry;
    entry.marker = path[markerAt];
    if (markerAt + 2 < entry.length && IsDigit(path[markerAt + 1]) && IsDigit(path[markerAt + 2]))
        entry.number = (path[markerAt + 1] - '0') * 10 + (path[markerAt + 2] - '0');
    return entry;
}

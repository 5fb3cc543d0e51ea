// Custom icons: adapters, devices and message entries get the module's own
// icons; every other entry keeps the host's default icon.
#include "platform/seam.h"
#include "plugin/entry_path.h"
#include "plugin/fs_api.h"
#include "plugin/state.h"

// Resource names are five characters; the host's name buffer receives one
// of them and its terminator.
constexpr int iconNameLength = 5;

// The marker rules come first, so an adapter or device whose name ends in
// "." or "!" keeps its own icon. A path without a separator before its last
// character has no marker and is judged by its last character alone.
static const char* ChooseIcon(const WCHAR* path) {
    EntryPath entry = ReadEntryPath(path);
    if (entry.marker == 'A') return "ICON2";
    if (entry.marker == 'D') return "ICON3";
    if (entry.length == 0) return nullptr;
    WCHAR last = path[entry.length - 1];
    if (last == '.') return "ICON5";
    if (last == '!') return "ICON4";
    return nullptr;
}

static void WriteIconName(WCHAR* remoteName, const char* iconName) {
    for (int i = 0; i < iconNameLength; ++i) remoteName[i] = static_cast<WCHAR>(iconName[i]);
    remoteName[iconNameLength] = 0;
}

// The icon is loaded anew on every request and never destroyed: the
// resources live as long as the module. An icon that cannot be loaded is
// declined, so the host shows its default rather than an empty slot.
FS_EXPORT int WINAPI FsExtractCustomIconW(WCHAR* remoteName, int, HICON* theIcon) {
    if (remoteName == nullptr) return 0;
    const char* iconName = ChooseIcon(remoteName);
    if (iconName == nullptr) return 0;
    HICON icon = platform::LoadModuleIcon(moduleHandle, iconName);
    if (icon == nullptr) return 0;
    if (theIcon != nullptr) *theIcon = icon;
    WriteIconName(remoteName, iconName);
    return 1;
}

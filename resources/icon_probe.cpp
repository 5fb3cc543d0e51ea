// Loads a built plug-in module as a host does and asks it for each icon,
// then describes the icon the system made of the resource:
//     icon_probe MODULE PATH...   one line per path: "<result> <name> <w>x<h> <bits>"
// For checking the icons under Wine; not part of the plug-in.
#include <windows.h>

#include <cstdio>
#include <cwchar>

typedef int(WINAPI* ExtractCustomIconW)(WCHAR* remoteName, int extractFlags, HICON* theIcon);

static void Describe(HICON icon, int* width, int* height, int* bits) {
    *width = *height = *bits = 0;
    ICONINFO info = {};
    if (icon == nullptr || !GetIconInfo(icon, &info)) return;
    BITMAP colour = {};
    if (info.hbmColor != nullptr && GetObjectW(info.hbmColor, sizeof colour, &colour)) {
        *width = colour.bmWidth;
        *height = colour.bmHeight;
        *bits = colour.bmBitsPixel;
    }
    if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
    if (info.hbmMask != nullptr) DeleteObject(info.hbmMask);
}

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        fputs("usage: icon_probe MODULE PATH...\n", stderr);
        return 2;
    }
    HMODULE module = LoadLibraryW(argv[1]);
    // Through void* like a host: FARPROC has no parameters to match.
    void* entry = module != nullptr ? reinterpret_cast<void*>(
                                          GetProcAddress(module, "FsExtractCustomIconW"))
                                    : nullptr;
    auto extract = reinterpret_cast<ExtractCustomIconW>(entry);
    if (extract == nullptr) {
        fprintf(stderr, "icon_probe: cannot load %ls (error %lu)\n", argv[1], GetLastError());
        return 2;
    }
    for (int i = 2; i < argc; ++i) {
        WCHAR name[MAX_PATH] = {};
        wcsncpy(name, argv[i], MAX_PATH - 1);
        HICON icon = nullptr;
        int result = extract(name, 0, &icon);
        int width, height, bits;
        Describe(icon, &width, &height, &bits);
        printf("%d %ls %dx%d %d\n", result, name, width, height, bits);
    }
    FreeLibrary(module);
    return 0;
}

// Unix paths under Wine: tests hand the stand-in bthprops.cpl and the
// Windows host paths such as "/tmp/w.txt". Wine's kernel32 names the same
// file in its DOS view (Z:\tmp\w.txt); on Windows there is no such call.
#pragma once

#ifdef _WIN32

#include <windows.h>

#include <string>

namespace sim {

// Wine's DOS name for an absolute Unix path, or "" where there is none
// (not under Wine, not a Unix path, or the conversion failed).
inline std::wstring WineDosName(const std::string& unixPath) {
    typedef WCHAR*(CDECL * DosNameProc)(const char*);
    if (unixPath.empty() || unixPath[0] != '/') return std::wstring();
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    auto dosName = kernel == nullptr ? nullptr
        : reinterpret_cast<DosNameProc>(
              reinterpret_cast<void*>(GetProcAddress(kernel, "wine_get_dos_file_name")));
    WCHAR* converted = dosName != nullptr ? dosName(unixPath.c_str()) : nullptr;
    if (converted == nullptr) return std::wstring();
    std::wstring result = converted;
    HeapFree(GetProcessHeap(), 0, converted);
    return result;
}

}  // namespace sim

#endif

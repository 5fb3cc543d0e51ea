#include "platform/sim/host_env.h"

#include <cstdlib>

#ifdef _WIN32
#include <windows.h>
#endif

namespace sim {

#ifdef _WIN32

std::string EnvironmentValue(const char* name) {
    char value[4096];
    DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    if (length == 0 || length >= sizeof value) return std::string();
    return std::string(value, length);
}

namespace {

typedef WCHAR*(CDECL* DosNameProc)(const char*);

// Wine turns a Unix path into the DOS path of the same file; without it
// (or when it fails) the Unix root is drive Z: in every Wine prefix.
FILE* OpenUnixPath(const std::string& path, const char* mode) {
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    DosNameProc dosName = kernel == nullptr ? nullptr
        : reinterpret_cast<DosNameProc>(
              reinterpret_cast<void*>(GetProcAddress(kernel, "wine_get_dos_file_name")));
    if (dosName != nullptr) {
        WCHAR* converted = dosName(path.c_str());
        if (converted != nullptr) {
            WCHAR wideMode[8] = {};
            for (int i = 0; i < 7 && mode[i] != '\0'; ++i) wideMode[i] = mode[i];
            FILE* file = _wfopen(converted, wideMode);
            HeapFree(GetProcessHeap(), 0, converted);
            if (file != nullptr) return file;
        }
    }
    std::string dosPath = "Z:" + path;
    for (char& c : dosPath)
        if (c == '/') c = '\\';
    return fopen(dosPath.c_str(), mode);
}

}  // namespace

FILE* OpenHostFile(const std::string& path, const char* mode) {
    if (!path.empty() && path[0] == '/') return OpenUnixPath(path, mode);
    return fopen(path.c_str(), mode);
}

#else

std::string EnvironmentValue(const char* name) {
    const char* value = getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

FILE* OpenHostFile(const std::string& path, const char* mode) {
    return fopen(path.c_str(), mode);
}

#endif

}  // namespace sim

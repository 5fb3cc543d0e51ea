#include "platform/sim/host_env.h"

#include <cstdlib>

#include "platform/sim/wine_path.h"

namespace sim {

#ifdef _WIN32

std::string EnvironmentValue(const char* name) {
    char value[4096];
    DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    if (length == 0 || length >= sizeof value) return std::string();
    return std::string(value, length);
}

namespace {

// Without Wine's conversion (or when it fails) the Unix root is drive Z:
// in every Wine prefix.
FILE* OpenUnixPath(const std::string& path, const char* mode) {
    std::wstring dosName = WineDosName(path);
    if (!dosName.empty()) {
        WCHAR wideMode[8] = {};
        for (int i = 0; i < 7 && mode[i] != '\0'; ++i) wideMode[i] = mode[i];
        FILE* file = _wfopen(dosName.c_str(), wideMode);
        if (file != nullptr) return file;
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

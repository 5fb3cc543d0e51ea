// Files on the simulated platform: a UTF-16 name is opened under its UTF-8
// form, and a failure leaves the Windows code for it as the last error.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

#include "platform/seam.h"
#include "platform/sim/last_error.h"
#include "platform/sim/unicode.h"

namespace {

constexpr int maxUtf8Name = 4096;

// UTF-16 to UTF-8; false when the name does not fit. Unpaired surrogates
// become U+FFFD.
bool Utf16ToUtf8(const WCHAR* source, char* destination, int capacity) {
    int out = 0;
    for (size_t pos = 0; source[pos] != 0;) {
        char bytes[unicode::maxUtf8Bytes];
        int count = unicode::EncodeUtf8(unicode::DecodeUtf16(source, &pos), bytes);
        if (out + count >= capacity) return false;
        memcpy(destination + out, bytes, count);
        out += count;
    }
    destination[out] = '\0';
    return true;
}

DWORD WindowsCodeForErrno(int error) {
    switch (error) {
        case ENOENT: return ERROR_FILE_NOT_FOUND;
        case ENOTDIR: return ERROR_PATH_NOT_FOUND;
        case EACCES:
        case EPERM:
        case EISDIR: return ERROR_ACCESS_DENIED;
        case ENAMETOOLONG: return 206;  // ERROR_FILENAME_EXCED_RANGE
        default: return ERROR_INVALID_PARAMETER;
    }
}

bool IsDirectory(const char* path) {
    struct stat info;
    return stat(path, &info) == 0 && S_ISDIR(info.st_mode);
}

// Windows tells a missing file (2) from a missing folder on the way (3).
bool FolderExists(const char* path) {
    const char* slash = strrchr(path, '/');
    if (slash == nullptr || slash == path) return true;
    char folder[maxUtf8Name];
    size_t length = static_cast<size_t>(slash - path);
    memcpy(folder, path, length);
    folder[length] = '\0';
    return IsDirectory(folder);
}

DWORD WindowsCodeForOpenFailure(const char* path, int error) {
    if (error == ENOENT && !FolderExists(path)) return ERROR_PATH_NOT_FOUND;
    return WindowsCodeForErrno(error);
}

}  // namespace

namespace platform {

FILE* FileOpenForReading(const WCHAR* name) {
    char utf8Name[maxUtf8Name];
    if (!Utf16ToUtf8(name, utf8Name, maxUtf8Name)) {
        sim::SetLastError(206);
        return nullptr;
    }
    // Windows cannot open a folder as a file; here fopen could.
    if (IsDirectory(utf8Name)) {
        sim::SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    FILE* file = fopen(utf8Name, "rb");
    if (file == nullptr) sim::SetLastError(WindowsCodeForOpenFailure(utf8Name, errno));
    return file;
}

int64_t FileSize(FILE* file) {
    if (fseeko(file, 0, SEEK_END) != 0) return -1;
    int64_t size = ftello(file);
    rewind(file);
    return size;
}

}  // namespace platform

// Files on the simulated platform: a UTF-16 name is opened under its UTF-8
// form, and a failure leaves the Windows code for it as the last error.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

#include "platform/seam.h"
#include "platform/sim/last_error.h"

namespace {

constexpr int maxUtf8Name = 4096;

// UTF-16 to UTF-8; false when the name does not fit. Unpaired surrogates
// become U+FFFD.
bool Utf16ToUtf8(const WCHAR* source, char* destination, int capacity) {
    int out = 0;
    for (int i = 0; source[i] != 0; ++i) {
        unsigned long code = source[i];
        if (code >= 0xD800 && code <= 0xDBFF && source[i + 1] >= 0xDC00 && source[i + 1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (source[i + 1] - 0xDC00);
            ++i;
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = 0xFFFD;
        }
        int units = code < 0x80 ? 1 : code < 0x800 ? 2 : code < 0x10000 ? 3 : 4;
        if (out + units >= capacity) return false;
        if (units == 1) {
            destination[out++] = static_cast<char>(code);
            continue;
        }
        static const unsigned char lead[] = {0, 0, 0xC0, 0xE0, 0xF0};
        destination[out++] = static_cast<char>(lead[units] | (code >> (6 * (units - 1))));
        for (int k = units - 2; k >= 0; --k)
            destination[out++] = static_cast<char>(0x80 | ((code >> (6 * k)) & 0x3F));
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

#include "plugin/text_bridge.h"

#include <cstdio>
#include <cstring>

#include "platform/seam.h"
#include "plugin/state.h"

// Formatting an error text can fail and leave another code whose text fails
// too (an unknown code leaves 317, whose own text needs inserts and fails
// with 87): follow the chain a few steps, then give a fixed text.
constexpr int errorTextAttempts = 4;

char* ToAnsi(char* destination, const WCHAR* source, int limit) {
    if (source == nullptr) return nullptr;
    if (limit < 0) return destination;
    platform::WideToAnsi(source, destination, limit);
    destination[limit] = '\0';
    return destination;
}

WCHAR* ToWide(WCHAR* destination, const char* source, int limit) {
    if (source == nullptr) return nullptr;
    if (limit < 0) return destination;
    platform::AnsiToWide(source, destination, limit);
    destination[limit] = 0;
    return destination;
}

int WideLength(const WCHAR* text, int cap) {
    int length = 0;
    while (length < cap && text[length] != 0) ++length;
    return length;
}

WCHAR* CopyWideBounded(WCHAR* destination, const WCHAR* source, int limit) {
    if (limit < 1) return destination;
    int length = WideLength(source, limit - 1);
    memcpy(destination, source, length * sizeof(WCHAR));
    destination[length] = 0;
    return destination;
}

char* CopyAnsiBounded(char* destination, const char* source, int limit) {
    if (limit < 0) return destination;
    size_t length = strnlen(source, static_cast<size_t>(limit));
    memcpy(destination, source, length);
    destination[length] = '\0';
    return destination;
}

const char* SystemErrorText(DWORD code) {
    DWORD current = code;
    for (int attempt = 0; attempt < errorTextAttempts; ++attempt) {
        if (platform::FormatSystemMessage(current, errorText, errorTextSize - 1) != 0) {
            errorText[errorTextSize - 1] = '\0';
            return errorText;
        }
        current = platform::LastError();
    }
    snprintf(errorText, errorTextSize, "System error %lu (no text available).\r\n",
             static_cast<unsigned long>(code));
    return errorText;
}

template <typename To, typename From>
static void CopyFindDataFields(To* destination, const From* source) {
    destination->dwFileAttributes = source->dwFileAttributes;
    destination->dwReserved0 = source->dwReserved0;
    destination->dwReserved1 = source->dwReserved1;
    destination->ftCreationTime = source->ftCreationTime;
    destination->ftLastAccessTime = source->ftLastAccessTime;
    destination->ftLastWriteTime = source->ftLastWriteTime;
    destination->nFileSizeHigh = source->nFileSizeHigh;
    destination->nFileSizeLow = source->nFileSizeLow;
}

void FindDataToAnsi(WIN32_FIND_DATAA* destination, const WIN32_FIND_DATAW* source) {
    ToAnsi(destination->cAlternateFileName, source->cAlternateFileName, 13);
    ToAnsi(destination->cFileName, source->cFileName, 259);
    CopyFindDataFields(destination, source);
}

void FindDataToWide(WIN32_FIND_DATAW* destination, const WIN32_FIND_DATAA* source) {
    ToWide(destination->cAlternateFileName, source->cAlternateFileName, 13);
    ToWide(destination->cFileName, source->cFileName, 259);
    CopyFindDataFields(destination, source);
}

// The content column "MAC": each entry's Bluetooth address as address
// text, looked up in the tables that the listing fills.
#include <cstring>

#include "plugin/address_text.h"
#include "plugin/entry_path.h"
#include "plugin/fs_api.h"
#include "plugin/state.h"
#include "plugin/text_bridge.h"

// The host's code for "every field" in a flags request.
constexpr int allFieldsIndex = -1;
constexpr int allFieldsFlags = 15;
constexpr int otherFieldsSortOrder = 1;

struct DefaultView {
    const char* contents;
    const char* headers;
    const char* widths;
    const char* options;
};
constexpr DefaultView defaultView = {"[=<fs>.MAC]", "MAC Address", "110,0,66", "-1|0"};
// The longest view text with its terminator.
constexpr int defaultViewSize = 12;

static bool IsField(int fieldIndex) { return fieldIndex >= 0 && fieldIndex < contentFieldCount; }

FS_EXPORT int WINAPI FsContentGetSupportedField(int fieldIndex, char* fieldName, char* units,
                                                int maxlen) {
    // Without room for a terminator no field can be described.
    if (!IsField(fieldIndex) || maxlen < 1) return 0;
    const ContentField& field = contentFields[fieldIndex];
    CopyAnsiBounded(fieldName, field.name, maxlen - 1);
    CopyAnsiBounded(units, field.units, maxlen - 1);
    return field.type;
}

FS_EXPORT int WINAPI FsContentGetSupportedFieldFlags(int fieldIndex) {
    if (fieldIndex == allFieldsIndex) return allFieldsFlags;
    return IsField(fieldIndex) ? contentFields[fieldIndex].flags : 0;
}

FS_EXPORT int WINAPI FsContentGetDefaultSortOrder(int fieldIndex) {
    return IsField(fieldIndex) ? contentFields[fieldIndex].defaultSortOrder : otherFieldsSortOrder;
}

// A cut view text would name another field or column, so a view is only
// offered when every text fits whole.
FS_EXPORT BOOL WINAPI FsContentGetDefaultView(char* viewContents, char* viewHeaders,
                                              char* viewWidths, char* viewOptions, int maxlen) {
    if (maxlen < defaultViewSize) return FALSE;
    CopyAnsiBounded(viewContents, defaultView.contents, defaultViewSize - 1);
    CopyAnsiBounded(viewHeaders, defaultView.headers, defaultViewSize - 1);
    CopyAnsiBounded(viewWidths, defaultView.widths, defaultViewSize - 1);
    CopyAnsiBounded(viewOptions, defaultView.options, defaultViewSize - 1);
    return TRUE;
}

// Row `index` of an address table, or null when the table has no such row.
static const BYTE* AddressRow(const BYTE (*table)[addressBytes], int rows, int index) {
    return index >= 0 && index < rows ? table[index] : nullptr;
}

// The address an entry stands for, or null when its number lies outside the
// tables (a name the listing never makes, or no device opened yet).
static const BYTE* EntryAddress(const WCHAR* path) {
    EntryPath entry = ReadEntryPath(path);
    if (entry.marker == 'A') return AddressRow(radioAddresses, maxRadios, entry.number);
    if (entry.marker == 'D') return AddressRow(deviceAddresses, maxDevices, entry.number);
    return AddressRow(deviceAddresses, maxDevices, selectedDevice);
}

// The value is ANSI text even through the wide request. A buffer too short
// for the whole address gets an empty text: a cut address would look like
// another device's.
FS_EXPORT int WINAPI FsContentGetValueW(WCHAR* fileName, int fieldIndex, int, void* fieldValue,
                                        int maxlen, int) {
    if (!IsField(fieldIndex)) return 0;
    static const WCHAR noPath[] = {0};
    char mac[addressTextSize] = "00:00:00:00:00:00";
    const BYTE* address = EntryAddress(fileName != nullptr ? fileName : noPath);
    if (address != nullptr) AddressText(address, mac);
    char* value = static_cast<char*>(fieldValue);
    if (value != nullptr && maxlen >= addressTextSize)
        memcpy(value, mac, addressTextSize);
    else if (value != nullptr && maxlen >= 1)
        value[0] = '\0';
    return contentFields[fieldIndex].type;
}

// Feeds arbitrary paths to everything that classifies an entry's path: the
// path reader, the listing (over a world without radios), the icon request
// and the column request, wide and ANSI. Buffers are sized exactly, so the
// address sanitizer reports any read or write past a text or buffer.
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/sim/world.h"
#include "plugin/entry_path.h"
#include "plugin/fs_api.h"
#include "plugin/state.h"

namespace {

// Longer than any listing the empty world can produce; a loop past it hangs.
constexpr int maxEntriesPerListing = 200;
// The icon request writes five characters and a NUL into the name.
constexpr size_t iconNameRoom = 6;

struct Input {
    int selection;
    int fieldIndex;
    int maxlen;
    const uint8_t* path;
    size_t pathSize;
};

Input ReadInput(const uint8_t* data, size_t size) {
    Input input = {-1, 0, 18, data, size};
    if (size < 3) return input;
    input.selection = static_cast<int8_t>(data[0]);
    input.fieldIndex = (data[1] & 0x80) ? static_cast<int8_t>(data[1]) : 0;
    input.maxlen = static_cast<int8_t>(data[2]) % 40;
    input.path = data + 3;
    input.pathSize = size - 3;
    return input;
}

std::vector<WCHAR> WidePath(const Input& input, size_t room) {
    std::vector<WCHAR> path;
    for (size_t i = 0; i + 1 < input.pathSize; i += 2) {
        WCHAR c = static_cast<WCHAR>(input.path[i] | (input.path[i + 1] << 8));
        if (c == 0) break;
        path.push_back(c);
    }
    path.push_back(0);
    if (path.size() < room) path.resize(room, 0);
    return path;
}

std::vector<char> AnsiPath(const Input& input, size_t room) {
    std::vector<char> path(input.path, input.path + input.pathSize);
    path.push_back('\0');
    if (path.size() < room) path.resize(room, '\0');
    return path;
}

void List(std::vector<WCHAR> path) {
    WIN32_FIND_DATAW record;
    HANDLE find = FsFindFirstW(path.data(), &record);
    if (find == INVALID_HANDLE_VALUE) return;
    int entries = 0;
    while (FsFindNextW(find, &record))
        if (++entries > maxEntriesPerListing) __builtin_trap();  // a listing that never ends
    FsFindClose(find);
}

void ListAnsi(std::vector<char> path) {
    WIN32_FIND_DATAA record;
    HANDLE find = FsFindFirst(path.data(), &record);
    if (find == INVALID_HANDLE_VALUE) return;
    int entries = 0;
    while (FsFindNext(find, &record))
        if (++entries > maxEntriesPerListing) __builtin_trap();
    FsFindClose(find);
}

void AskValue(const Input& input, WCHAR* pathW, char* pathA) {
    std::vector<char> value(input.maxlen > 0 ? input.maxlen : 0);
    FsContentGetValueW(pathW, input.fieldIndex, 0, value.data(), input.maxlen, 0);
    FsContentGetValue(pathA, input.fieldIndex, 0, value.data(), input.maxlen, 0);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    static sim::World noRadios;
    sim::ClearWorld(&noRadios);
    sim::UseWorld(noRadios);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input input = ReadInput(data, size);
    selectedDevice = input.selection;

    std::vector<WCHAR> exactW = WidePath(input, 0);
    std::vector<char> exactA = AnsiPath(input, 0);
    ReadEntryPath(exactW.data());
    AskValue(input, exactW.data(), exactA.data());

    HICON icon = nullptr;
    std::vector<WCHAR> nameW = WidePath(input, iconNameRoom);
    FsExtractCustomIconW(nameW.data(), 0, &icon);
    std::vector<char> nameA = AnsiPath(input, iconNameRoom);
    FsExtractCustomIcon(nameA.data(), 0, &icon);

    List(exactW);
    ListAnsi(exactA);
    return 0;
}

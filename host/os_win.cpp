#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>

#include "host/box_hook.h"
#include "host/os.h"
#include "host/report.h"
#include "platform/sim/wine_path.h"

namespace host {

namespace {

// Under Wine a Unix path ("/tmp/a.txt") is taken in Wine's DOS view; on
// Windows the name is taken as it is.
WideString DosNameOfUnixPath(const std::string& name) {
    std::wstring dosName = sim::WineDosName(name);
    return dosName.empty() ? Utf8ToWide(name) : dosName;
}

WideString FullPathName(const WideString& name) {
    DWORD length = GetFullPathNameW(name.c_str(), 0, nullptr, nullptr);
    if (length == 0) return name;
    WideString full(length, L'\0');
    length = GetFullPathNameW(name.c_str(), length, &full[0], nullptr);
    full.resize(length);
    return full;
}

bool IsTerminal(FILE* stream) { return _isatty(_fileno(stream)) != 0; }

}  // namespace

// Bytes go out as they are; a console shows them as UTF-8 and hands typed
// commands over in UTF-8.
void PrepareStreams() {
    SetConsoleOutputCP(CP_UTF8);
    SetConsoleCP(CP_UTF8);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

bool StdinIsTerminal() { return IsTerminal(stdin); }
bool StderrIsTerminal() { return IsTerminal(stderr); }

std::string DefaultPluginPath() {
    WCHAR program[MAX_PATH * 4] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH * 4);
    WideString path = program;
    size_t separator = path.find_last_of(L"\\/");
    path.erase(separator == WideString::npos ? 0 : separator + 1);
    path += sizeof(void*) == 8 ? L"QUELT.wfx64" : L"QUELT.wfx";
    return WideToUtf8(path.c_str());
}

// The plug-in's own folder is searched for the DLLs it imports.
void* LoadPluginModule(const std::string& path, std::string* error) {
    WideString full = FullPathName(DosNameOfUnixPath(path));
    HMODULE module = LoadLibraryExW(full.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (module == nullptr) *error = "error " + std::to_string(GetLastError());
    return reinterpret_cast<void*>(module);
}

void* FindEntryPoint(void* module, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name));
}

void UnloadPluginModule(void* module) { FreeLibrary(static_cast<HMODULE>(module)); }

// Both the process environment (GetEnvironmentVariable) and the C runtime's
// copy (getenv in any module that shares msvcrt) must see it.
void SetWorldVariable(const std::string& path) {
    WideString value = Utf8ToWide(path);
    SetEnvironmentVariableW(L"QUELT_WORLD", value.c_str());
    _wputenv((L"QUELT_WORLD=" + value).c_str());
}

WideString AbsoluteLocalName(const std::string& name) {
    return FullPathName(DosNameOfUnixPath(name));
}

long long LocalFileSize(const WideString& name) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExW(name.c_str(), GetFileExInfoStandard, &data)) return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

double SecondsNow() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void InstallBoxHook() { CloseMessageBoxes(ReportBox); }

}  // namespace host

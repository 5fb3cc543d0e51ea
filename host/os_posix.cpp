#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <cstdlib>

#include "host/os.h"

namespace host {

namespace {

std::string ProgramDirectory() {
    char path[PATH_MAX] = {};
    ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    std::string program = length > 0 ? std::string(path, length) : std::string(".");
    size_t slash = program.rfind('/');
    return slash == std::string::npos ? std::string(".") : program.substr(0, slash);
}

std::string CurrentDirectory() {
    char path[PATH_MAX] = {};
    return getcwd(path, sizeof path) != nullptr ? std::string(path) : std::string("/");
}

// Joins a relative name to the current directory and folds "." and ".."
// without touching the disk: the file may not exist.
std::string AbsolutePath(const std::string& name) {
    std::string joined = !name.empty() && name[0] == '/' ? name : CurrentDirectory() + "/" + name;
    std::string result;
    size_t start = 0;
    while (start <= joined.size()) {
        size_t end = joined.find('/', start);
        if (end == std::string::npos) end = joined.size();
        std::string part = joined.substr(start, end - start);
        if (part == "..") {
            size_t slash = result.rfind('/');
            result.erase(slash == std::string::npos ? 0 : slash);
        } else if (!part.empty() && part != ".") {
            result += "/" + part;
        }
        start = end + 1;
    }
    return result.empty() ? std::string("/") : result;
}

}  // namespace

void PrepareStreams() {}

bool StdinIsTerminal() { return isatty(STDIN_FILENO) != 0; }
bool StderrIsTerminal() { return isatty(STDERR_FILENO) != 0; }

std::string DefaultPluginPath() { return ProgramDirectory() + "/QUELT.so"; }

void* LoadPluginModule(const std::string& path, std::string* error) {
    void* module = dlopen(AbsolutePath(path).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) *error = dlerror();
    return module;
}

void* FindEntryPoint(void* module, const char* name) { return dlsym(module, name); }

void UnloadPluginModule(void* module) { dlclose(module); }

void SetWorldVariable(const std::string& path) { setenv("QUELT_WORLD", path.c_str(), 1); }

WideString AbsoluteLocalName(const std::string& name) { return Utf8ToWide(AbsolutePath(name)); }

long long LocalFileSize(const WideString& name) {
    struct stat info = {};
    if (stat(WideToUtf8(name.c_str()).c_str(), &info) != 0) return -1;
    return info.st_size;
}

double SecondsNow() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

void InstallBoxHook() {}

}  // namespace host

#include "host/session.h"

#include <algorithm>
#include <cstdio>

#include "host/callbacks.h"
#include "host/host_error.h"
#include "host/os.h"
#include "host/remote_path.h"
#include "host/report.h"
#include "host/text.h"
#include "plugin/fs_api.h"

namespace host {

namespace {

constexpr int pluginNumber = 7;
constexpr int pathBufferSize = 1024;  // what a host hands for a path
constexpr int rootNameSize = 260;
constexpr int valueBufferSize = 64;

// A text as the host passes it: in a writable buffer of the usual size.
template <typename Char>
std::vector<Char> PathBuffer(const std::basic_string<Char>& text) {
    std::vector<Char> buffer(text.size() < pathBufferSize ? pathBufferSize : text.size() + 1);
    std::copy(text.begin(), text.end(), buffer.begin());
    return buffer;
}

std::vector<WCHAR> WideBuffer(const std::string& utf8) { return PathBuffer(Utf8ToWide(utf8)); }
std::vector<char> AnsiBuffer(const std::string& utf8) { return PathBuffer(Utf8ToAnsi(utf8)); }

std::string TextOf(const WCHAR* text) { return WideToUtf8(text); }
std::string TextOf(const char* text) { return AnsiToUtf8(text); }

std::string EntryLine(DWORD attributes, const std::string& name) {
    char number[16];
    snprintf(number, sizeof number, "0x%02X\t", static_cast<unsigned>(attributes));
    return number + name;
}

// One listing, as a host makes it, with the wide or the ANSI entry points.
template <typename FindData, typename Char, typename FindFirst, typename FindNext>
void ListEntries(FindFirst findFirst, FindNext findNext, decltype(&FsFindClose) findClose,
                 std::vector<Char> path) {
    FindData data = {};
    HANDLE find = findFirst(path.data(), &data);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        data.cFileName[259] = 0;  // a name that overran its field ends here
        PrintResult(EntryLine(data.dwFileAttributes, TextOf(data.cFileName)));
    } while (findNext(find, &data));
    findClose(find);
}

// The icon's result and the name as the plug-in left it in the buffer.
template <typename Char, typename Extract>
std::string IconLine(Extract extract, std::vector<Char> path) {
    HICON icon = nullptr;
    int result = extract(path.data(), 0, &icon);
    path.back() = 0;
    return "icon " + std::to_string(result) + " " + TextOf(path.data());
}

}  // namespace

struct Session::Command {
    const char* name;
    size_t minArgs;
    size_t maxArgs;
    const char* usage;
    void (Session::*run)(const std::vector<std::string>& args);
};

const Session::Command Session::commands[] = {
    {"ls", 0, 1, "ls [PATH]", &Session::List},
    {"cd", 1, 1, "cd PATH", &Session::ChangeDirectory},
    {"put", 1, 2, "put LOCAL [REMOTE]", &Session::Put},
    {"value", 1, 1, "value PATH", &Session::Value},
    {"icon", 1, 1, "icon PATH", &Session::Icon},
    {"root", 0, 0, "root", &Session::Root},
    {"disconnect", 0, 0, "disconnect", &Session::Disconnect},
    {"ansi", 1, 1, "ansi on|off", &Session::Ansi},
};

void* Session::Entry(const char* name) {
    auto found = entries_.find(name);
    if (found != entries_.end()) return found->second;
    void* entry = FindEntryPoint(module_, name);
    if (entry == nullptr) throw HostError(std::string("the plug-in has no entry point ") + name);
    entries_[name] = entry;
    return entry;
}

void Session::Start() {
    const CallbackSet& host = Callbacks();
    Entry<decltype(&FsInit)>("FsInit")(pluginNumber, host.progress, host.log, host.request);
    Entry<decltype(&FsInitW)>("FsInitW")(pluginNumber, host.progressW, host.logW,
                                         host.requestW);
}

void Session::Finish() {
    Entry<decltype(&FsContentPluginUnloading)>("FsContentPluginUnloading")();
}

void Session::Run(const std::vector<std::string>& words) {
    if (words.empty()) return;
    for (const Command& command : commands) {
        if (words[0] != command.name) continue;
        std::vector<std::string> args(words.begin() + 1, words.end());
        if (args.size() < command.minArgs || args.size() > command.maxArgs)
            throw HostError(std::string("usage: ") + command.usage);
        (this->*command.run)(args);
        return;
    }
    throw HostError("unknown command: " + words[0]);
}

std::string Session::Resolve(const std::string& path) const {
    return ResolveRemotePath(current_, path);
}

void Session::List(const std::vector<std::string>& args) {
    std::string path = args.empty() ? current_ : Resolve(args[0]);
    auto findClose = Entry<decltype(&FsFindClose)>("FsFindClose");
    if (ansi_)
        ListEntries<WIN32_FIND_DATAA>(Entry<decltype(&FsFindFirst)>("FsFindFirst"),
                                      Entry<decltype(&FsFindNext)>("FsFindNext"), findClose,
                                      AnsiBuffer(path));
    else
        ListEntries<WIN32_FIND_DATAW>(Entry<decltype(&FsFindFirstW)>("FsFindFirstW"),
                                      Entry<decltype(&FsFindNextW)>("FsFindNextW"), findClose,
                                      WideBuffer(path));
}

void Session::ChangeDirectory(const std::vector<std::string>& args) {
    current_ = Resolve(args[0]);
}

void Session::Put(const std::vector<std::string>& args) {
    WideString localName = AbsoluteLocalName(args[0]);
    std::string remote = args.size() > 1 ? Resolve(args[1])
                                         : JoinRemotePath(current_, LocalBaseName(args[0]));
    std::string local = WideToUtf8(localName.c_str());
    int result;
    BeginTransfer();
    if (ansi_) {
        auto putFile = Entry<decltype(&FsPutFile)>("FsPutFile");
        std::vector<char> localA = AnsiBuffer(local), remoteA = AnsiBuffer(remote);
        result = putFile(localA.data(), remoteA.data(), 0);
    } else {
        auto putFile = Entry<decltype(&FsPutFileW)>("FsPutFileW");
        std::vector<WCHAR> localW = WideBuffer(local), remoteW = WideBuffer(remote);
        result = putFile(localW.data(), remoteW.data(), 0);
    }
    EndTransfer();
    PrintResult("put " + std::to_string(result));
}

void Session::Value(const std::vector<std::string>& args) {
    char value[valueBufferSize + 1] = {};  // one more: a text always ends
    int result;
    if (ansi_) {
        auto getValue = Entry<decltype(&FsContentGetValue)>("FsContentGetValue");
        result = getValue(AnsiBuffer(Resolve(args[0])).data(), 0, 0, value, valueBufferSize, 0);
    } else {
        auto getValue = Entry<decltype(&FsContentGetValueW)>("FsContentGetValueW");
        result = getValue(WideBuffer(Resolve(args[0])).data(), 0, 0, value, valueBufferSize, 0);
    }
    PrintResult("value " + std::to_string(result) + " " + AnsiToUtf8(value));
}

void Session::Icon(const std::vector<std::string>& args) {
    std::string path = Resolve(args[0]);
    if (ansi_)
        PrintResult(IconLine(Entry<decltype(&FsExtractCustomIcon)>("FsExtractCustomIcon"),
                             AnsiBuffer(path)));
    else
        PrintResult(IconLine(Entry<decltype(&FsExtractCustomIconW)>("FsExtractCustomIconW"),
                             WideBuffer(path)));
}

void Session::Root(const std::vector<std::string>&) {
    char name[rootNameSize + 1] = {};
    Entry<decltype(&FsGetDefRootName)>("FsGetDefRootName")(name, rootNameSize);
    PrintResult("root " + AnsiToUtf8(name));
}

void Session::Disconnect(const std::vector<std::string>&) {
    int result;
    if (ansi_) {
        std::vector<char> rootA = AnsiBuffer(rootPath);
        result = Entry<decltype(&FsDisconnect)>("FsDisconnect")(rootA.data());
    } else {
        std::vector<WCHAR> rootW = WideBuffer(rootPath);
        result = Entry<decltype(&FsDisconnectW)>("FsDisconnectW")(rootW.data());
    }
    PrintResult("disconnect " + std::to_string(result));
}

void Session::Ansi(const std::vector<std::string>& args) {
    if (args[0] != "on" && args[0] != "off") throw HostError("usage: ansi on|off");
    ansi_ = args[0] == "on";
}

}  // namespace host

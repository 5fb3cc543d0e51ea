// One loaded plug-in and the host's state around it: the current directory,
// the ANSI switch, the entry points found so far. Runs one command at a
// time, as a file manager calls a plug-in.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace host {

class Session {
public:
    explicit Session(void* module) : module_(module) {}

    void Start();   // FsInit and FsInitW, plug-in number 7
    void Finish();  // FsContentPluginUnloading
    // Throws HostError for an unknown command or bad arguments.
    void Run(const std::vector<std::string>& words);
    const std::string& CurrentDirectory() const { return current_; }

private:
    struct Command;
    static const Command commands[];

    void* Entry(const char* name);
    template <typename Proc>
    Proc Entry(const char* name) {
        return reinterpret_cast<Proc>(Entry(name));
    }

    void List(const std::vector<std::string>& args);
    void ChangeDirectory(const std::vector<std::string>& args);
    void Put(const std::vector<std::string>& args);
    void Value(const std::vector<std::string>& args);
    void Icon(const std::vector<std::string>& args);
    void Root(const std::vector<std::string>& args);
    void Disconnect(const std::vector<std::string>& args);
    void Ansi(const std::vector<std::string>& args);

    std::string Resolve(const std::string& path) const;

    void* module_;
    std::map<std::string, void*> entries_;
    std::string current_ = "\\";
    bool ansi_ = false;
};

}  // namespace host

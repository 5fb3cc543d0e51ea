// quelt-host: loads a QUELT build as a file manager does and runs commands
// against it (see README.md).
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "host/callbacks.h"
#include "host/host_error.h"
#include "host/options.h"
#include "host/os.h"
#include "host/report.h"
#include "host/session.h"
#include "host/words.h"

namespace host {

namespace {

constexpr int exitHostError = 2;

void ReportHostError(const HostError& error) {
    PrintReport(std::string("quelt-host: ") + error.what());
}

void RunCommand(Session& session, const std::string& command) {
    std::vector<std::string> words;
    if (!SplitWords(command, &words)) throw HostError("unclosed quote in: " + command);
    session.Run(words);
}

// Commands from standard input, one a line. At a terminal a mistake is
// reported and the next line read; from a script it ends the run.
int RunInput(Session& session) {
    bool interactive = StdinIsTerminal();
    int status = 0;
    std::string line;
    for (;;) {
        if (interactive) {
            fputs(("QUELT " + session.CurrentDirectory() + "> ").c_str(), stdout);
            fflush(stdout);
        }
        if (!std::getline(std::cin, line)) break;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line == "quit") break;  // a Windows console has no Ctrl-D
        try {
            RunCommand(session, line);
        } catch (const HostError& error) {
            ReportHostError(error);
            status = exitHostError;
            if (!interactive) break;
        }
    }
    if (interactive) fputc('\n', stdout);
    return status;
}

int RunHost(const std::vector<std::string>& args) {
    PrepareStreams();
    Options options = ParseOptions(args);
    if (options.help) {
        PrintResult(usageText);
        return 0;
    }
    if (!options.world.empty()) SetWorldVariable(options.world);
    SetAbortAt(options.abortAt);
    std::string pluginPath = options.plugin.empty() ? DefaultPluginPath() : options.plugin;
    std::string error;
    void* module = LoadPluginModule(pluginPath, &error);
    if (module == nullptr) throw HostError("cannot load the plug-in " + pluginPath + ": " + error);
    InstallBoxHook();
    Session session(module);
    session.Start();
    int status = 0;
    try {
        if (options.commands.empty())
            status = RunInput(session);
        else
            for (const std::string& command : options.commands) RunCommand(session, command);
    } catch (const HostError& error) {  // the plug-in still hears that it unloads
        ReportHostError(error);
        status = exitHostError;
    }
    session.Finish();
    UnloadPluginModule(module);
    return status;
}

}  // namespace

int Main(const std::vector<std::string>& args) {
    try {
        return RunHost(args);
    } catch (const HostError& error) {
        ReportHostError(error);
        return exitHostError;
    }
}

}  // namespace host

#ifdef _WIN32
// Wide arguments: names outside the ANSI code page arrive intact.
int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(host::WideToUtf8(argv[i]));
    return host::Main(args);
}
#else
int main(int argc, char** argv) {
    return host::Main(std::vector<std::string>(argv + 1, argv + argc));
}
#endif

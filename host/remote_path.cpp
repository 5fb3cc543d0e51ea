#include "host/remote_path.h"

#include <vector>

namespace host {

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

struct Part {
    char separator;  // the one typed before the name
    std::string name;
};

void AppendParts(const std::string& path, std::vector<Part>* parts) {
    char separator = '\\';
    std::string name;
    for (size_t i = 0; i <= path.size(); ++i) {
        if (i < path.size() && !IsSeparator(path[i])) {
            name += path[i];
            continue;
        }
        if (name == "..") {
            if (!parts->empty()) parts->pop_back();
        } else if (!name.empty() && name != ".") {
            parts->push_back({separator, name});
        }
        name.clear();
        if (i < path.size()) separator = path[i];
    }
}

}  // namespace

std::string ResolveRemotePath(const std::string& current, const std::string& path) {
    std::vector<Part> parts;
    if (path.empty() || !IsSeparator(path[0])) AppendParts(current, &parts);
    AppendParts(path, &parts);
    if (parts.empty()) return rootPath;
    std::string resolved;
    for (size_t i = 0; i < parts.size(); ++i) {
        resolved += i == 0 ? '\\' : parts[i].separator;
        resolved += parts[i].name;
    }
    return resolved;
}

std::string JoinRemotePath(const std::string& directory, const std::string& name) {
    std::string path = directory;
    if (path.empty() || !IsSeparator(path.back())) path += '\\';
    return path + name;
}

std::string LocalBaseName(const std::string& localName) {
#ifdef _WIN32
    size_t separator = localName.find_last_of("\\/");
#else
    size_t separator = localName.rfind('/');
#endif
    return separator == std::string::npos ? localName : localName.substr(separator + 1);
}

}  // namespace host

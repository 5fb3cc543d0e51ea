// Paths inside the plug-in's file system, as the host passes them: rooted
// at "\", the separators "\" and "/" kept as typed.
#pragma once

#include <string>

namespace host {

const char* const rootPath = "\\";

// `path` absolute (starting with "\" or "/") or relative to `current`;
// ".." goes up (never above the root), "." and empty parts are dropped.
std::string ResolveRemotePath(const std::string& current, const std::string& path);

// `directory` plus one more name.
std::string JoinRemotePath(const std::string& directory, const std::string& name);

// The last part of a local file name (after "/" or, on Windows, "\").
std::string LocalBaseName(const std::string& localName);

}  // namespace host

// Splits a command into words: blanks separate them, and inside double
// quotes every character stands for itself (a backslash too).
#pragma once

#include <string>
#include <vector>

namespace host {

// Returns false (and leaves `words` incomplete) when a quote is not closed.
bool SplitWords(const std::string& command, std::vector<std::string>* words);

}  // namespace host

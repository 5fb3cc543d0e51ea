// One line of a world file as a record: a keyword, then key=value tokens
// separated by blanks. A value holding blanks, '#' or '=' is quoted;
// inside quotes \" is a quote and \\ a backslash. '#' outside quotes
// starts a comment.
#pragma once

#include <string>
#include <vector>

namespace sim {

struct Token {
    std::string key;
    std::string value;
};

struct Record {
    std::string keyword;
    std::vector<Token> tokens;
};

// Splits a line into its record; false with `what` set for a malformed
// line. A blank or comment line gives a record without a keyword.
bool ReadRecord(const std::string& line, Record* record, std::string* what);

}  // namespace sim

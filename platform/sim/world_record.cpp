#include "platform/sim/world_record.h"

namespace sim {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Reads a quoted value starting after its opening quote; `at` ends after
// the closing quote.
bool ReadQuoted(const std::string& line, size_t* at, std::string* value, std::string* what) {
    size_t i = *at;
    while (i < line.size() && line[i] != '"') {
        if (line[i] == '\\') {
            ++i;
            if (i >= line.size() || (line[i] != '"' && line[i] != '\\')) {
                *what = "inside quotes a backslash must be followed by \" or \\";
                return false;
            }
        }
        *value += line[i++];
    }
    if (i >= line.size()) {
        *what = "missing closing quote";
        return false;
    }
    *at = i + 1;
    return true;
}

bool ReadPlain(const std::string& line, size_t* at, std::string* value, std::string* what) {
    size_t i = *at;
    while (i < line.size() && !IsBlank(line[i]) && line[i] != '#') {
        if (line[i] == '"' || line[i] == '=') {
            *what = std::string("unquoted value holds '") + line[i] + "'";
            return false;
        }
        *value += line[i++];
    }
    *at = i;
    return true;
}

bool ReadWord(const std::string& line, size_t* at, std::string* word) {
    size_t i = *at;
    while (i < line.size() && !IsBlank(line[i]) && line[i] != '=' && line[i] != '#' &&
           line[i] != '"')
        *word += line[i++];
    *at = i;
    return !word->empty();
}

bool ReadToken(const std::string& line, size_t* at, Token* token, std::string* what) {
    if (!ReadWord(line, at, &token->key) || *at >= line.size() || line[*at] != '=') {
        *what = "expected key=value";
        return false;
    }
    ++*at;
    if (*at < line.size() && line[*at] == '"') {
        ++*at;
        if (!ReadQuoted(line, at, &token->value, what)) return false;
        if (*at < line.size() && !IsBlank(line[*at]) && line[*at] != '#') {
            *what = "a blank must follow the closing quote";
            return false;
        }
        return true;
    }
    return ReadPlain(line, at, &token->value, what);
}

}  // namespace

bool ReadRecord(const std::string& line, Record* record, std::string* what) {
    if (line.find('\0') != std::string::npos) {
        *what = "the line holds a NUL byte";
        return false;
    }
    size_t at = 0;
    while (true) {
        while (at < line.size() && IsBlank(line[at])) ++at;
        if (at >= line.size() || line[at] == '#') return true;
        if (record->keyword.empty()) {
            if (!ReadWord(line, &at, &record->keyword) ||
                (at < line.size() && !IsBlank(line[at]) && line[at] != '#')) {
                *what = "a record must begin with a keyword";
                return false;
            }
            continue;
        }
        Token token;
        if (!ReadToken(line, &at, &token, what)) return false;
        for (const Token& earlier : record->tokens)
            if (earlier.key == token.key) {
                *what = "key '" + token.key + "' given twice";
                return false;
            }
        record->tokens.push_back(token);
    }
}

}  // namespace sim

// One report is one line on standard error: a line break is written as \n,
// a backslash as \\, and a carriage return is left out. quelt-host writes
// its log and box lines so, and the simulated platform its message boxes.
#pragma once

#include <string>

namespace sim {

inline std::string EscapeReportLine(const std::string& text) {
    std::string escaped;
    for (char c : text) {
        if (c == '\n')
            escaped += "\\n";
        else if (c == '\\')
            escaped += "\\\\";
        else if (c != '\r')
            escaped += c;
    }
    return escaped;
}

}  // namespace sim

// Everything the host prints: results on standard output, the plug-in's
// log, progress and message boxes on standard error, one line each.
#pragma once

#include <string>

namespace host {

void PrintResult(const std::string& line);
void PrintReport(const std::string& line);  // ends a progress bar line first

void ReportLog(int msgType, const std::string& text);
void ReportBox(const std::string& caption, const std::string& text);

}  // namespace host

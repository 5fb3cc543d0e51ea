#include "host/report.h"

#include <cstdio>

#include "host/progress_bar.h"
#include "host/text.h"
#include "platform/sim/report_line.h"

namespace host {

static void WriteLine(FILE* stream, const std::string& line) {
    fwrite(line.data(), 1, line.size(), stream);
    fputc('\n', stream);
    fflush(stream);
}

void PrintResult(const std::string& line) {
    ClearProgressBar();
    WriteLine(stdout, line);
}

void PrintReport(const std::string& line) {
    ClearProgressBar();
    WriteLine(stderr, line);
}

void ReportLog(int msgType, const std::string& text) {
    PrintReport("log " + std::to_string(msgType) + " " + sim::EscapeReportLine(text));
}

void ReportBox(const std::string& caption, const std::string& text) {
    PrintReport("box " + sim::EscapeReportLine(caption) + "|" + sim::EscapeReportLine(text));
}

}  // namespace host

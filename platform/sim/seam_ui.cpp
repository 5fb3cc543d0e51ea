// User interface of the simulated platform: a message box is printed on
// standard error as "box <caption>|<text>" and answered OK at once; icons
// are handles that name the resource they were loaded from.
#include <cstdio>
#include <cstring>

#include "platform/seam.h"
#include "platform/sim/last_error.h"
#include "platform/sim/report_line.h"

namespace {

const char* const iconNames[] = {"ICON1", "ICON2", "ICON3", "ICON4", "ICON5"};

}  // namespace

namespace platform {

int ShowMessageBox(const char* text, const char* caption, UINT) {
    std::string line = "box " + sim::EscapeReportLine(caption) + "|" +
                       sim::EscapeReportLine(text) + "\n";
    fputs(line.c_str(), stderr);
    fflush(stderr);
    return IDOK;
}

// The handle is the address of the resource's name in a fixed table, so a
// test can tell which icon was loaded; an unknown name fails like Windows.
HICON LoadModuleIcon(HINSTANCE, const char* name) {
    for (const char* const& iconName : iconNames)
        if (strcmp(iconName, name) == 0) return const_cast<char**>(&iconName);
    sim::SetLastError(1813);  // ERROR_RESOURCE_TYPE_NOT_FOUND
    return nullptr;
}

}  // namespace platform

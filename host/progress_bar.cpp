#include "host/progress_bar.h"

#include <cstdio>

#include "host/os.h"

namespace host {

namespace {

constexpr int barWidth = 24;

bool barShown = false;
double transferStart = -1;

std::string Amount(double bytes) {
    const char* const units[] = {"B", "KiB", "MiB", "GiB"};
    int unit = 0;
    while (bytes >= 1024 && unit < 3) {
        bytes /= 1024;
        ++unit;
    }
    char text[32];
    snprintf(text, sizeof text, unit == 0 ? "%.0f %s" : "%.1f %s", bytes, units[unit]);
    return text;
}

std::string BaseName(const std::string& path) {
    size_t separator = path.find_last_of("\\/");
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

}  // namespace

void DrawProgressBar(const std::string& fileName, long long fileSize, int percent) {
    double now = SecondsNow();
    if (transferStart < 0) transferStart = now;
    int clamped = percent < 0 ? 0 : percent > 100 ? 100 : percent;
    std::string bar(clamped * barWidth / 100, '#');
    bar.resize(barWidth, '.');
    std::string line =
        "\r" + BaseName(fileName) + " [" + bar + "] " + std::to_string(percent) + "%";
    if (fileSize >= 0) {
        double done = static_cast<double>(fileSize) * clamped / 100;
        double seconds = now - transferStart;
        line += "  " + Amount(done) + " / " + Amount(static_cast<double>(fileSize));
        if (seconds > 0) line += "  " + Amount(done / seconds) + "/s";
    }
    line += "\x1b[K";  // erase what a longer line left
    fwrite(line.data(), 1, line.size(), stderr);
    fflush(stderr);
    barShown = true;
}

void ClearProgressBar() {
    if (!barShown) return;
    fputc('\n', stderr);
    fflush(stderr);
    barShown = false;
}

void ResetProgressBar() {
    ClearProgressBar();
    transferStart = -1;
}

}  // namespace host

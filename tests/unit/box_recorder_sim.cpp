#include "tests/unit/box_recorder.h"

#include <sstream>

#include <gtest/gtest.h>

namespace {

// Undoes the report's escaping: "\n" is a line break, "\\" a backslash.
std::string Unescaped(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            out += text[i + 1] == 'n' ? '\n' : text[i + 1];
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace

void StartRecordingBoxes() { testing::internal::CaptureStderr(); }

std::vector<std::string> StopRecordingBoxes() {
    std::istringstream report(testing::internal::GetCapturedStderr());
    std::vector<std::string> boxes;
    for (std::string line; std::getline(report, line);)
        if (line.compare(0, 4, "box ") == 0) boxes.push_back(Unescaped(line.substr(4)));
    return boxes;
}

#include "tests/unit/box_recorder.h"

#include "host/box_hook.h"

namespace {

std::vector<std::string> boxes;
bool recording = false;

void RecordBox(const std::string& caption, const std::string& text) {
    if (recording) boxes.push_back(caption + "|" + text);
}

// Every box of the test program is closed, recorded or not: a box left open
// would wait for a click that never comes. The hook is per thread, and the
// tests run on the thread that initialises the program.
const bool boxesClosed = (host::CloseMessageBoxes(RecordBox), true);

}  // namespace

void StartRecordingBoxes() {
    boxes.clear();
    recording = true;
}

std::vector<std::string> StopRecordingBoxes() {
    recording = false;
    return boxes;
}

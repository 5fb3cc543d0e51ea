// The live progress bar shown on a terminal instead of "progress" lines:
// file name, percent, bytes and rate, redrawn in place.
#pragma once

#include <string>

namespace host {

void DrawProgressBar(const std::string& fileName, long long fileSize, int percent);

// Ends the bar's line so that the next output starts on a line of its own;
// nothing happens when no bar is shown.
void ClearProgressBar();

// Forgets the transfer's start time: the next bar starts a new transfer.
void ResetProgressBar();

}  // namespace host

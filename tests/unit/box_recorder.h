// The message boxes the plug-in shows, each as "caption|text": natively read
// from the simulated platform's report on standard error, on Windows seen
// and closed by the host's box hook (a real box would wait for a click).
#pragma once

#include <string>
#include <vector>

void StartRecordingBoxes();
std::vector<std::string> StopRecordingBoxes();

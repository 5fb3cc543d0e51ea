// Message boxes on Windows: a CBT hook on the calling thread sees each
// message box of that thread as it opens, hands over its caption and text
// and closes it with OK, so that nothing waits for a click. The host
// reports the plug-in's boxes with it; the Windows unit tests record them.
#pragma once

#include <string>

namespace host {

using BoxSeen = void (*)(const std::string& caption, const std::string& text);

// Installs the hook once; a later call only changes where boxes go.
void CloseMessageBoxes(BoxSeen seen);

}  // namespace host

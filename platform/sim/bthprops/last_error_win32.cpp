// In the stand-in the simulation's last error is the thread's real one,
// which the plug-in reads with GetLastError.
#include "platform/sim/last_error.h"

namespace sim {

void SetLastError(DWORD code) { ::SetLastError(code); }
DWORD GetLastError() { return ::GetLastError(); }

}  // namespace sim

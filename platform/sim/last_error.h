#pragma once

#include "platform/win32_types.h"

namespace sim {
// The simulated platform's per-thread last error (GetLastError's value).
void SetLastError(DWORD code);
DWORD GetLastError();
}  // namespace sim

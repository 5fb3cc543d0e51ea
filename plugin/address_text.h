#pragma once

#include "platform/win32_types.h"

constexpr int addressTextSize = 18;

// Writes exactly 18 bytes: "00:1B:F0:12:3A:5E" and a NUL, most significant
// byte first from the platform's least-significant-first six bytes.
void AddressText(const BYTE address[6], char text[addressTextSize]);

// The record layouts that QUELT shares with the host and the platform.
// Checked in every build, so the simulated records cannot drift from the SDK's.
#include <cstddef>

#include "platform/win32_types.h"

static_assert(sizeof(WIN32_FIND_DATAW) == 592, "WIN32_FIND_DATAW");
static_assert(sizeof(BLUETOOTH_RADIO_INFO) == 520, "BLUETOOTH_RADIO_INFO");
static_assert(sizeof(BLUETOOTH_DEVICE_INFO) == 560, "BLUETOOTH_DEVICE_INFO");
static_assert(sizeof(SOCKADDR_BTH) == 30, "SOCKADDR_BTH");
static_assert(sizeof(WSAPROTOCOL_INFOA) == 372, "WSAPROTOCOL_INFOA");
static_assert(sizeof(BLUETOOTH_FIND_RADIO_PARAMS) == 4, "BLUETOOTH_FIND_RADIO_PARAMS");
static_assert(sizeof(BLUETOOTH_DEVICE_SEARCH_PARAMS) == (sizeof(void*) == 8 ? 40 : 32),
              "BLUETOOTH_DEVICE_SEARCH_PARAMS");
static_assert(offsetof(BLUETOOTH_RADIO_INFO, szName) == 16, "radio name offset");
static_assert(offsetof(BLUETOOTH_DEVICE_INFO, szName) == 64, "device name offset");
static_assert(offsetof(WIN32_FIND_DATAW, cFileName) == 44, "find data name offset");

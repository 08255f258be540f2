// The two functions the host calls.
#pragma once

#include <cstdint>

#include "host/host_api.h"

namespace shell {

// Event codes of CXH_OnHandleEvent.
constexpr int32_t EVT_PLUGIN_INFO = 1000;
constexpr int32_t EVT_BUILD_MENU = 1001;

// The plug-in's command numbers.
constexpr int32_t CMD_CONVERT_UNREAD = 35000;
constexpr int32_t CMD_CONVERT_FOLDER = 35001;
constexpr int32_t CMD_SETTINGS = 35002;

// The host's menu kinds that get an item.
constexpr int32_t kMenuKindConvertUnread = 8;
constexpr int32_t kMenuKindConvertFolder = 9;
constexpr int32_t kMenuKindSettings = 3;

}  // namespace shell

extern "C" {
// parameter and data are 32-bit on the host; pointer-sized here so that the
// native tests can pass real addresses.
int32_t CORAX_CALL CXH_OnHandleEvent(int32_t context, int32_t event, intptr_t parameter,
                                     intptr_t data);
int32_t CORAX_CALL CXH_OnCmdProc(int32_t first, int32_t command);
}

// What the plug-in keeps of its host between calls; it lives from attach to
// detach.
#pragma once

#include <cstdint>

namespace host {

// The library's own module, stored at every call of the entry routine.
extern void* ModuleHandle;
// The context of the last EVT_BUILD_MENU event.
extern int32_t MenuEventContext;
// The host's main window, fetched by the first export command; owner of every
// box and of the settings dialog from then on.
extern void* HostMainWindow;

}  // namespace host

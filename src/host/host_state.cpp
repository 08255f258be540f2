#include "host/host_state.h"

namespace host {

void* ModuleHandle = nullptr;
int32_t MenuEventContext = 0;
void* HostMainWindow = nullptr;

}  // namespace host

#include "host/host_state.h"

void* ModuleHandle = nullptr;
int32_t MenuEventContext = 0;
void* HostMainWindow = nullptr;

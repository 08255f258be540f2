#include "host/host_api.h"

#include "platform/platform.h"

namespace host {

HostFunctionTable HostApi = {};

const char* const kHostFunctionNames[kHostFunctionCount] = {
#define CORAX_HOST_NAME(name, type) #name,
    CORAX_HOST_FUNCTIONS(CORAX_HOST_NAME)
#undef CORAX_HOST_NAME
};

static_assert(sizeof(HostApi) == kHostFunctionCount * sizeof(void*),
              "one pointer per host function");

bool ResolveHostApi() {
#define CORAX_HOST_RESOLVE(name, type)                                        \
    {                                                                         \
        void* address = platform::FindHostExport(#name);                      \
        if (address == nullptr) return false;                                 \
        HostApi.name = reinterpret_cast<type>(address);                 \
    }
    CORAX_HOST_FUNCTIONS(CORAX_HOST_RESOLVE)
#undef CORAX_HOST_RESOLVE
    return true;
}

}  // namespace host

#include "platform/temporary_folder.h"

#include "platform/platform.h"

namespace platform {

std::string TemporaryFolder() {
    std::string value;
    if (ReadEnvironment("TMP", value)) return value;
    return TemporaryDirectory();
}

}  // namespace platform

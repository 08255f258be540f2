#include "platform/temporary_folder.h"

#include "platform/platform.h"

std::string TemporaryFolder() {
    std::string value;
    if (platform::ReadEnvironment("TMP", value)) return value;
    return platform::TemporaryDirectory();
}

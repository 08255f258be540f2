#include "hotsync/palm_desktop.h"

#include <cstring>
#include <string>

#include "hotsync/palm_desktop_registry.h"
#include "platform/platform.h"

namespace hotsync {

PalmDesktop PalmDesktopPath = {};
PalmUsers PalmUserList;

namespace {

// Relative to the current directory: the users file is then simply missing.
constexpr const char* kNotFoundPath = ".\\";

}  // namespace

int ReadPalmDesktopPath(PalmDesktop& desktop) {
    std::string folder;
    if (platform::ReadUserRegistryText(kPalmDesktopCoreKey, kPalmDesktopPathValue, folder) &&
        folder.size() < sizeof desktop.path) {
        std::memcpy(desktop.path, folder.c_str(), folder.size() + 1);
        desktop.found = 1;
        return 1;
    }
    std::memcpy(desktop.path, kNotFoundPath, std::strlen(kNotFoundPath) + 1);
    desktop.found = 0;
    return 0;
}

}  // namespace hotsync

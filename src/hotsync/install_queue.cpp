#include "hotsync/install_queue.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "host/host_api.h"
#include "host/last_output_path.h"
#include "hotsync/palm_desktop_registry.h"
#include "platform/platform.h"
#include "platform/temporary_folder.h"
#include "settings/plugin_settings.h"

namespace hotsync {

namespace {

constexpr uint32_t kInstallFlagRaised = 1;
// "Install" and the longest signed 32-bit number, "-2147483648", fit.
constexpr std::size_t kInstallFlagNameSize = 20;

// True when the whole formatted text fit into size bytes.
bool Fits(int formattedLength, std::size_t size) {
    return formattedLength >= 0 && static_cast<std::size_t>(formattedLength) < size;
}

}  // namespace

void SelectInstallUser() {
    int32_t& position = settings::PluginSettings.InstallUser;
    if (!PalmUserList.entries || PalmUserList.count <= 0 || position < 0 ||
        position > PalmUserList.count) {
        position = 0;
    }
    PalmDesktopPath.currentUser = position == 0 ? nullptr : &PalmUserList.entries[position - 1];
}

bool MakePdbPath(const char* baseName, char* out) {
    char path[host::kPathBufferSize];
    const PalmUser* user = PalmDesktopPath.currentUser;
    if (user) {
        const int length = std::snprintf(path, sizeof path, "%s\\%s\\INSTALL\\%s.pdb",
                                         PalmDesktopPath.path, user->folderName, baseName);
        if (!Fits(length, sizeof path)) return false;
    } else {
        const std::string folder = platform::TemporaryFolder();
        const int length = std::snprintf(path, sizeof path, "%s\\%s.pdb", folder.c_str(), baseName);
        if (!Fits(length, sizeof path) || !host::SetLastOutputPath(path)) return false;
    }
    std::memcpy(out, path, std::strlen(path) + 1);
    return true;
}

int RaiseInstallFlag(const PalmDesktop& desktop) {
    if (!desktop.found || !desktop.currentUser) return 0;
    char valueName[kInstallFlagNameSize];
    std::snprintf(valueName, sizeof valueName, "Install%d", static_cast<int>(desktop.currentUser->id));
    return platform::SetUserRegistryDword(kHotSyncManagerKey, valueName, kInstallFlagRaised) ? 1 : 0;
}

}  // namespace hotsync

#include "shell/library_entry.h"

#include "host/host_api.h"
#include "host/host_state.h"
#include "hotsync/install_queue.h"
#include "hotsync/palm_desktop.h"
#include "hotsync/users_file.h"
#include "platform/platform.h"
#include "settings/settings_store.h"

namespace shell {

namespace {

// The Palm Desktop path, its users and the install user.
void LoadPalmDesktop() {
    if (hotsync::ReadPalmDesktopPath(hotsync::PalmDesktopPath)) {
        hotsync::ReadPalmUserList(hotsync::PalmDesktopPath.path, hotsync::PalmUserList);
    }
    hotsync::SelectInstallUser();
}

void AttachWork() {
    platform::InitialiseCommonControls();
    settings::LoadSettings();
    LoadPalmDesktop();
}

}  // namespace

bool OnLibraryEntry(void* module, uint32_t reason) {
    host::ModuleHandle = module;
    if (!host::ResolveHostApi()) return false;
    switch (static_cast<LoadReason>(reason)) {
        case LoadReason::ProcessAttach:
            AttachWork();
            break;
        case LoadReason::ProcessDetach:
            settings::SaveSettings();
            break;
        case LoadReason::ThreadAttach:
        case LoadReason::ThreadDetach:
            break;
    }
    return true;
}

}  // namespace shell

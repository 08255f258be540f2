// Queueing a Palm DOC for the next HotSync: which Palm user receives it, where
// its file goes, and the flag that makes HotSync Manager install it.
#pragma once

#include "hotsync/palm_desktop.h"

namespace hotsync {

// Makes PalmDesktopPath.currentUser the user at the 1-based position
// PluginSettings.InstallUser of PalmUserList; a position that names no entry
// becomes 0, no install user.
void SelectInstallUser();

// Forms the .pdb path for baseName in out (a buffer of host::kPathBufferSize
// bytes): the install user's INSTALL folder, or, without one, the temporary
// folder, which path is then also put into LastOutputPath. False, with out and
// LastOutputPath unchanged, when the path does not fit where it must go.
bool MakePdbPath(const char* baseName, char* out);

// Sets the REG_DWORD 1 named "Install<id>" of the current user under HotSync
// Manager's key, which must exist already. 1 when the key was opened and set,
// 0 when Palm Desktop was not found, no user is chosen, or the key is missing.
int RaiseInstallFlag(const PalmDesktop& desktop);

}  // namespace hotsync

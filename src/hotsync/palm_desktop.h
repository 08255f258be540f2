// What the Palm Desktop installation of the current user offers: its folder,
// the Palm users it knows, and the one chosen to receive documents. All three
// are read once at attach and live until the library is unloaded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace hotsync {

// Both texts hold a length byte's worth (255) and the terminator.
constexpr std::size_t kPalmUserTextSize = 256;
constexpr std::size_t kPalmDesktopFolderSize = 268;

struct PalmUser {
    int32_t id;  // names the user's install flag
    char name[kPalmUserTextSize];
    char folderName[kPalmUserTextSize];  // the user's folder inside the Palm Desktop folder
};

struct PalmUsers {
    int32_t count = 0;
    // Users-file order; null until a list with at least one entry was read.
    // Never more than count entries are valid, though the array may be longer.
    std::unique_ptr<PalmUser[]> entries;
};

struct PalmDesktop {
    int32_t found;  // 1 when the folder came from the registry
    char path[kPalmDesktopFolderSize];
    const PalmUser* currentUser;  // into PalmUserList; null for no install user
};

extern PalmDesktop PalmDesktopPath;
extern PalmUsers PalmUserList;

// Reads the installation folder from the registry into desktop.path: 1 when
// found; otherwise 0 with found 0 and path ".\". A folder too long for path
// counts as not found rather than being cut into another folder's name.
int ReadPalmDesktopPath(PalmDesktop& desktop);

}  // namespace hotsync

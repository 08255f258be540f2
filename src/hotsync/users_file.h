// The reader of Palm Desktop's users file "users.dat" (layout in
// users_dat_format.md). It takes any bytes: a damaged or cut file gives the
// users that were stored whole, never a partly read one.
#pragma once

#include "hotsync/palm_desktop.h"

namespace hotsync {

// Reads "<folder>\users.dat" into list. 1 when the file was read (also when
// it held no user), 0 when it could not be opened, its name does not fit a
// path buffer, or no memory was available; the list is then empty.
int ReadPalmUserList(const char* folder, PalmUsers& list);

// The same for a users file named by its full path.
int ReadPalmUsersFile(const char* filePath, PalmUsers& list);

}  // namespace hotsync

// The registry names that Palm Desktop and its HotSync Manager use below the
// current user's hive.
#pragma once

namespace hotsync {

constexpr const char* kPalmDesktopCoreKey = "Software\\U.S. Robotics\\Pilot Desktop\\Core";
constexpr const char* kPalmDesktopPathValue = "Path";
constexpr const char* kHotSyncManagerKey = "Software\\U.S. Robotics\\Pilot Desktop\\HotSync Manager";

}  // namespace hotsync

// The Palm Desktop users-file reader on any bytes: it must give only users
// stored whole, with terminated names, and never read out of bounds.
#include <cstring>

#include "fuzz_support.h"
#include "hotsync/palm_desktop.h"
#include "hotsync/users_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    PalmUsers list;
    Require(ReadPalmUsersFile(WriteScratchFile(data, size).c_str(), list) == 1);
    Require(list.count >= 0);
    for (int32_t i = 0; i < list.count; ++i) {
        Require(std::memchr(list.entries[i].name, '\0', kPalmUserTextSize) != nullptr);
        Require(std::memchr(list.entries[i].folderName, '\0', kPalmUserTextSize) != nullptr);
    }
    return 0;
}

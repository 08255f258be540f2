// The Palm Desktop users-file reader on any bytes: it never reads out of
// bounds, terminates every name, and gives only users stored whole, so that
// a file cut short gives the first of the users the whole file gives; and
// the users it read, written again, read back the same.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "../support/users_dat_builder.h"
#include "fuzz_support.h"
#include "hotsync/palm_desktop.h"
#include "hotsync/users_file.h"

using hotsync::PalmUser;
using hotsync::PalmUsers;
using hotsync::ReadPalmUsersFile;
using hotsync::kPalmUserTextSize;

namespace {

struct User {
    int32_t id;
    std::string name;
    std::string folderName;
    bool operator==(const User& other) const {
        return id == other.id && name == other.name && folderName == other.folderName;
    }
};

std::vector<User> Read(const std::uint8_t* data, std::size_t size) {
    PalmUsers list;
    Require(ReadPalmUsersFile(WriteScratchFile(data, size).c_str(), list) == 1);
    Require(list.count >= 0);
    std::vector<User> users;
    for (int32_t i = 0; i < list.count; ++i) {
        const PalmUser& user = list.entries[i];
        Require(std::memchr(user.name, '\0', kPalmUserTextSize) != nullptr);
        Require(std::memchr(user.folderName, '\0', kPalmUserTextSize) != nullptr);
        users.push_back({user.id, user.name, user.folderName});
    }
    return users;
}

bool StartsWith(const std::vector<User>& whole, const std::vector<User>& start) {
    return start.size() <= whole.size() && std::equal(start.begin(), start.end(), whole.begin());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<User> users = Read(data, size);
    for (const std::size_t cut : {size / 2, size > 0 ? size - 1 : 0}) Require(StartsWith(users, Read(data, cut)));

    std::vector<users_dat::Record> records;
    for (const User& user : users) {
        records.push_back(
            {static_cast<uint32_t>(user.id), user.name, user.folderName, {}, users_dat::kRecordEndTrailer});
    }
    const users_dat::Bytes again = users_dat::UsersFile(records);
    Require(Read(again.data(), again.size()) == users);
    return 0;
}

// users-dat read: prints the users that the plug-in's reader finds in a
// Palm Desktop users file.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "code_page_text.h"
#include "commands.h"
#include "hotsync/users_file.h"

namespace {

int Read(const std::vector<std::string>& arguments) {
    if (arguments.size() != 1) {
        std::fprintf(stderr, "users-dat: read FILE\n");
        return kExitUsage;
    }
    PalmUsers list;
    if (!ReadPalmUsersFile(arguments[0].c_str(), list)) {
        std::fprintf(stderr, "users-dat: cannot read '%s'\n", arguments[0].c_str());
        return kExitFailure;
    }
    for (int32_t i = 0; i < list.count; ++i) {
        const PalmUser& user = list.entries[i];
        std::string name;
        std::string folderName;
        ConvertText("UTF-8", "CP932", user.name, name, true);
        ConvertText("UTF-8", "CP932", user.folderName, folderName, true);
        std::printf("%d\t%d\t%s\t%s\n", static_cast<int>(i + 1), static_cast<int>(user.id),
                    name.c_str(), folderName.c_str());
    }
    return kExitOk;
}

}  // namespace

int RunUsersDat(const std::vector<std::string>& arguments) {
    if (!arguments.empty()) {
        const std::vector<std::string> rest(arguments.begin() + 1, arguments.end());
        if (arguments[0] == "read") return Read(rest);
    }
    std::fprintf(stderr, "users-dat: read FILE\n");
    return kExitUsage;
}

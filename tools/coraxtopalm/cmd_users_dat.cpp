// coraxtopalm users-dat read: the users that the plug-in's reader finds in a
// Palm Desktop users file.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "code_page_text.h"
#include "commands.h"
#include "hotsync/users_file.h"
#include "input_file.h"
#include "tool_messages.h"

namespace {

constexpr char kReadAction[] = "read";

int Run(const ParsedArguments& arguments) {
    if (arguments.operands[0] != kReadAction) {
        ReportError("unknown action " + arguments.operands[0] + "; the one action is read");
        return kExitUsage;
    }
    if (arguments.operands.size() != 2) {
        ReportError("read needs the users file: users-dat read FILE");
        return kExitUsage;
    }
    InputFile input(arguments.operands[1]);
    std::string error;
    if (!input.Open(error)) {
        ReportError(error);
        return kExitFailure;
    }
    hotsync::PalmUsers list;
    if (!hotsync::ReadPalmUsersFile(input.Path().c_str(), list)) {
        ReportError("cannot read " + input.Shown());
        return kExitFailure;
    }
    for (int32_t i = 0; i < list.count; ++i) {
        const hotsync::PalmUser& user = list.entries[i];
        std::string name;
        std::string folderName;
        ConvertText(TerminalEncoding(), kCodePage932, user.name, name, true);
        ConvertText(TerminalEncoding(), kCodePage932, user.folderName, folderName, true);
        std::printf("%d\t%d\t%s\t%s\n", static_cast<int>(i + 1), static_cast<int>(user.id), name.c_str(),
                    folderName.c_str());
    }
    return kExitOk;
}

}  // namespace

const CommandSpec& UsersDatCommand() {
    static const CommandSpec spec = {
        "users-dat",
        "read FILE",
        1,
        2,
        "Lists the Palm users found in a Palm Desktop users file.",
        "FILE is a users file (users.dat in the Palm Desktop folder; \"-\": the standard\n"
        "input). One line per user, as the plug-in reads them: number, user id, name\n"
        "and folder name, separated by tabs, the names in the terminal's encoding. A\n"
        "damaged file gives the users stored whole before the damage.\n",
        {},
        "  coraxtopalm users-dat read \"$HOME/.wine/drive_c/Palm/users.dat\"\n",
        Run,
    };
    return spec;
}

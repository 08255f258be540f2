// Sub-commands of the coraxtopalm tool. Each cmd_*.cpp registers its own with
// a static CommandRegistration, so main() needs no list of them.
#pragma once

#include <string>
#include <vector>

// Exit statuses of every sub-command.
constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

using CommandFunction = int (*)(const std::vector<std::string>& arguments);

struct Command {
    const char* name;
    CommandFunction run;
    const char* usage;  // one line, after "coraxtopalm NAME "
};

struct CommandRegistration {
    explicit CommandRegistration(const Command& command);
};

const std::vector<Command>& RegisteredCommands();

// Sub-commands of the coraxtopalm tool. Each cmd_*.cpp registers its own with
// a static CommandRegistration, so main() needs no list of them.
#pragma once

#include <string>
#include <vector>

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

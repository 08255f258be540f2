// coraxtopalm: the plug-in's text pipeline, PalmDOC writer and users-file
// reader on the command line. Exit status 0 only on success.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "command_registry.h"

namespace {

std::vector<Command>& Registry() {
    static std::vector<Command> commands;
    return commands;
}

void PrintUsage(FILE* out) {
    std::fprintf(out, "usage:\n");
    for (const Command& command : Registry()) {
        std::fprintf(out, "  coraxtopalm %s %s\n", command.name, command.usage);
    }
}

}  // namespace

CommandRegistration::CommandRegistration(const Command& command) { Registry().push_back(command); }

const std::vector<Command>& RegisteredCommands() { return Registry(); }

int main(int argc, char** argv) {
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0) {
        PrintUsage(argc < 2 ? stderr : stdout);
        return argc < 2 ? kExitUsage : kExitOk;
    }
    for (const Command& command : Registry()) {
        if (std::strcmp(argv[1], command.name) == 0) {
            return command.run(std::vector<std::string>(argv + 2, argv + argc));
        }
    }
    std::fprintf(stderr, "coraxtopalm: unknown command '%s'\n", argv[1]);
    PrintUsage(stderr);
    return kExitUsage;
}

// coraxtopalm: the plug-in's text pipeline, PalmDOC writer and users-file
// reader on the command line. Exit status 0 only on success.
#include <cstdio>
#include <cstring>

#include "commands.h"

namespace {

struct Command {
    const char* name;
    int (*run)(const Arguments& arguments);
    const char* usage;  // one line, after "coraxtopalm NAME "
};

constexpr Command kCommands[] = {
    {"convert", RunConvert,
     "[--medoc-index=0|1] [--trim-subject=0|1] [--trim-from=0|1] [--conv-date=0|1] "
     "[--index-out FILE] [--title T] MBOX OUTPUT.txt|OUTPUT.pdb"},
    {"pack", RunPack, "[--title T] [--index FILE] TEXT PDB"},
    {"unpack", RunUnpack, "PDB [TEXT]"},
    {"info", RunInfo, "PDB"},
    {"users-dat", RunUsersDat, "read FILE"},
};

void PrintUsage(std::FILE* out) {
    std::fprintf(out, "usage:\n");
    for (const Command& command : kCommands) {
        std::fprintf(out, "  coraxtopalm %s %s\n", command.name, command.usage);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0) {
        PrintUsage(argc < 2 ? stderr : stdout);
        return argc < 2 ? kExitUsage : kExitOk;
    }
    for (const Command& command : kCommands) {
        if (std::strcmp(argv[1], command.name) == 0) {
            return command.run(Arguments(argv + 2, argv + argc));
        }
    }
    std::fprintf(stderr, "coraxtopalm: unknown command '%s'\n", argv[1]);
    PrintUsage(stderr);
    return kExitUsage;
}

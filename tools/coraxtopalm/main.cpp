// coraxtopalm: the plug-in's text pipeline, PalmDOC writer and users-file
// reader on the command line. Exit status 0 on success, 1 on failure, 2 on
// a command line that is not understood.
#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include "commands.h"
#include "tool_messages.h"

namespace {

using CommandLookup = const CommandSpec& (*)();

constexpr CommandLookup kCommands[] = {
    ConvertCommand, PackCommand, UnpackCommand, InfoCommand, UsersDatCommand,
};

const CommandSpec* FindCommand(const std::string& name) {
    for (CommandLookup command : kCommands) {
        if (name == command().name) return &command();
    }
    return nullptr;
}

void PrintToolHelp(std::FILE* out) {
    std::fprintf(out,
                 "usage: %s COMMAND [OPTIONS] OPERANDS...\n"
                 "       %s help COMMAND | --help | --version\n\n"
                 "Runs the CoraxToPalm plug-in's pipeline on files: mail in an mbox file becomes\n"
                 "the plug-in's text file or its Palm DOC e-book (.pdb).\n\nCommands:\n",
                 kProgramName, kProgramName);
    for (CommandLookup command : kCommands) {
        std::fprintf(out, "  %-11s %s\n", command().name, command().summary);
    }
    std::fprintf(out, "\n'%s help COMMAND' or '%s COMMAND --help' tells more about each.\n", kProgramName,
                 kProgramName);
}

int Run(const std::vector<std::string>& arguments) {
    if (arguments.empty()) {
        PrintToolHelp(stderr);
        return kExitUsage;
    }
    const std::string& first = arguments[0];
    if (first == "-h" || first == "--help" || (first == "help" && arguments.size() == 1)) {
        PrintToolHelp(stdout);
        return kExitOk;
    }
    if (first == "--version") {
        std::printf("%s %s\n", kProgramName, CTP_VERSION);
        return kExitOk;
    }
    // "help COMMAND" is "COMMAND --help".
    const bool helpCommand = first == "help";
    const std::string& name = helpCommand ? arguments[1] : first;
    const CommandSpec* command = FindCommand(name);
    if (command == nullptr) {
        ReportError("unknown command " + name);
        std::fprintf(stderr, "Try '%s --help'.\n", kProgramName);
        return kExitUsage;
    }
    return RunCommand(*command, helpCommand ? std::vector<std::string>{"--help"}
                                            : std::vector<std::string>(arguments.begin() + 1, arguments.end()));
}

// Everything printed must have reached standard output: a full disk or a
// closed pipe is a failure, not a success with less output. A command that
// failed has said why already.
bool CloseStandardOutput(bool report) {
    errno = 0;
    bool failed = std::fflush(stdout) != 0 || std::ferror(stdout) != 0;
    int reason = errno;
    errno = 0;
    if (std::fclose(stdout) != 0) {
        failed = true;
        if (reason == 0) reason = errno;
    }
    if (failed && report) {
        SetMessageCommand("");
        ReportError(reason != 0 ? CannotWrite("the standard output", reason) : "cannot write the standard output");
    }
    return !failed;
}

}  // namespace

int main(int argc, char** argv) {
    const int status = Run(std::vector<std::string>(argv + 1, argv + argc));
    const bool closed = CloseStandardOutput(status == kExitOk);
    return status == kExitOk && !closed ? kExitFailure : status;
}

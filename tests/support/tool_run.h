// Running a program in a scratch folder, with its streams captured and its
// peak memory measured: above all the built coraxtopalm (or the one named by
// the environment variable CTP_TOOL_UNDER_TEST, to try the tests on another
// build).
#pragma once

#include <string>
#include <vector>

#include "support/scratch_folder.h"

struct ToolRun {
    int status = -1;          // exit status; -1 when killed by a signal
    std::string out;          // standard output
    std::string err;          // standard error
    long peakKilobytes = 0;   // the largest resident set the program reached
};

struct ToolInput {
    std::string standardInput;       // file to read as standard input; empty: /dev/null
    std::string standardOutput;      // file for standard output; empty: captured
    bool errorOnTerminal = false;    // standard error is a pseudo-terminal
    long fileSizeLimit = 0;          // bytes a file may grow to (a full disk); 0: no limit
};

// program is a path, or a name looked up in PATH; one that cannot be
// started gives status 127.
ToolRun RunProgram(const std::string& program, const ScratchFolder& folder, const std::vector<std::string>& arguments,
                   const ToolInput& input = {});

ToolRun RunTool(const ScratchFolder& folder, const std::vector<std::string>& arguments, const ToolInput& input = {});

// The Palm DOC database pack makes of text, made by running the tool.
std::string PackedDatabase(const std::string& text);

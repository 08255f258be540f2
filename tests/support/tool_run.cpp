#include "support/tool_run.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <stdexcept>

namespace {

// Opens a pseudo-terminal pair: the controlling side's descriptor and the
// path of the terminal side.
int OpenTerminal(std::string& terminalPath) {
    const int controller = posix_openpt(O_RDWR | O_NOCTTY);
    if (controller < 0 || grantpt(controller) != 0 || unlockpt(controller) != 0) {
        throw std::runtime_error("no pseudo-terminal");
    }
    terminalPath = ptsname(controller);
    return controller;
}

// In the child: the folder as working directory, the streams, the limit,
// then the program. Exits 127 when any of it fails.
[[noreturn]] void StartProgram(std::string program, const ScratchFolder& folder,
                               const std::vector<std::string>& arguments, const ToolInput& input,
                               const std::string& terminalPath) {
    if (chdir(folder.Path("").c_str()) != 0) _exit(127);
    const std::string in = input.standardInput.empty() ? "/dev/null" : input.standardInput;
    const std::string out = input.standardOutput.empty() ? folder.CapturePath("stdout") : input.standardOutput;
    const int inFile = open(in.c_str(), O_RDONLY);
    const int outFile = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int errFile = !terminalPath.empty() ? open(terminalPath.c_str(), O_RDWR)
                                              : open(folder.CapturePath("stderr").c_str(),
                                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (inFile < 0 || outFile < 0 || errFile < 0) _exit(127);
    dup2(inFile, STDIN_FILENO);
    dup2(outFile, STDOUT_FILENO);
    dup2(errFile, STDERR_FILENO);
    if (input.fileSizeLimit > 0) {
        // Writes past the limit fail with EFBIG instead of stopping the program.
        signal(SIGXFSZ, SIG_IGN);
        const struct rlimit limit = {static_cast<rlim_t>(input.fileSizeLimit),
                                     static_cast<rlim_t>(input.fileSizeLimit)};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    std::vector<std::string> copies(arguments);
    std::vector<char*> argv = {&program[0]};
    for (std::string& argument : copies) argv.push_back(&argument[0]);
    argv.push_back(nullptr);
    execvp(program.c_str(), argv.data());
    _exit(127);
}

}  // namespace

ToolRun RunProgram(const std::string& program, const ScratchFolder& folder, const std::vector<std::string>& arguments,
                   const ToolInput& input) {
    std::string terminalPath;
    const int controller = input.errorOnTerminal ? OpenTerminal(terminalPath) : -1;
    const pid_t child = fork();
    if (child == 0) StartProgram(program, folder, arguments, input, terminalPath);
    std::string terminalText;
    if (controller >= 0) {
        // Read what the program writes to its terminal until it closes it.
        char chunk[4096];
        ssize_t got;
        while ((got = read(controller, chunk, sizeof chunk)) > 0) terminalText.append(chunk, static_cast<std::size_t>(got));
    }
    int status = 0;
    struct rusage usage = {};
    wait4(child, &status, 0, &usage);
    if (controller >= 0) close(controller);
    ToolRun run;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = input.standardOutput.empty() ? folder.ReadCapture("stdout") : "";
    run.err = controller >= 0 ? terminalText : folder.ReadCapture("stderr");
    run.peakKilobytes = usage.ru_maxrss;
    return run;
}

ToolRun RunTool(const ScratchFolder& folder, const std::vector<std::string>& arguments, const ToolInput& input) {
    const char* other = std::getenv("CTP_TOOL_UNDER_TEST");
    return RunProgram(other != nullptr ? other : CTP_TOOL_PATH, folder, arguments, input);
}

std::string PackedDatabase(const std::string& text) {
    ScratchFolder folder;
    folder.Write("t.txt", text);
    const ToolRun run = RunTool(folder, {"pack", "--title", "test", "t.txt", "t.pdb"});
    if (run.status != 0) throw std::runtime_error("pack failed: " + run.err);
    return folder.Read("t.pdb");
}

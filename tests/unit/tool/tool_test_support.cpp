#include "tool_test_support.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kDescribedBytes = 24;
// Larger files are compared by size alone: the tests make them sparse.
constexpr std::uintmax_t kLargeFile = 16 << 20;
constexpr uint32_t kHeaderSize = 78;
constexpr uint32_t kEntrySize = 8;
constexpr uint32_t kDocHeaderSize = 16;

std::string ReadWhole(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void Put16(std::string& bytes, std::size_t at, uint32_t value) {
    bytes[at] = static_cast<char>(value >> 8);
    bytes[at + 1] = static_cast<char>(value);
}

void Put32(std::string& bytes, std::size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(value >> (24 - 8 * i));
}

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

}  // namespace

ScratchFolder::ScratchFolder() {
    char pattern[] = "/tmp/ctp_tool_XXXXXX";
    if (mkdtemp(pattern) == nullptr) throw std::runtime_error("cannot make a scratch folder");
    root_ = pattern;
    fs::create_directory(root_ + "/work");
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
}

std::string ScratchFolder::Path(const std::string& name) const { return root_ + "/work/" + name; }

void ScratchFolder::Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(Path(name), std::ios::binary) << bytes;
}

std::string ScratchFolder::Read(const std::string& name) const { return ReadWhole(Path(name)); }

bool ScratchFolder::Exists(const std::string& name) const {
    struct stat status;
    return lstat(Path(name).c_str(), &status) == 0;
}

std::map<std::string, std::string> ScratchFolder::Snapshot() const {
    std::map<std::string, std::string> entries;
    for (const fs::directory_entry& entry : fs::directory_iterator(root_ + "/work")) {
        const std::string name = entry.path().filename().string();
        const fs::file_status status = entry.symlink_status();
        if (fs::is_symlink(status)) {
            entries[name] = "<link to " + fs::read_symlink(entry.path()).string() + ">";
        } else if (fs::is_regular_file(status)) {
            const std::uintmax_t size = fs::file_size(entry.path());
            entries[name] = size > kLargeFile ? "<" + std::to_string(size) + " bytes>" : ReadWhole(entry.path().string());
        } else if (fs::is_directory(status)) {
            entries[name] = "<dir>";
        } else if (fs::is_character_file(status)) {
            entries[name] = "<char device>";
        } else {
            entries[name] = "<other>";
        }
    }
    return entries;
}

ToolRun ScratchFolder::Run(const std::vector<std::string>& arguments, const ToolInput& input) const {
    const std::string outPath = root_ + "/stdout";
    const std::string errPath = root_ + "/stderr";
    std::string terminalPath;
    const int controller = input.errorOnTerminal ? OpenTerminal(terminalPath) : -1;
    const pid_t child = fork();
    if (child == 0) {
        if (chdir((root_ + "/work").c_str()) != 0) _exit(127);
        const std::string in = input.standardInput.empty() ? "/dev/null" : input.standardInput;
        const std::string out = input.standardOutput.empty() ? outPath : input.standardOutput;
        const int inFile = open(in.c_str(), O_RDONLY);
        const int outFile = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int errFile = input.errorOnTerminal ? open(terminalPath.c_str(), O_RDWR)
                                                  : open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (inFile < 0 || outFile < 0 || errFile < 0) _exit(127);
        dup2(inFile, STDIN_FILENO);
        dup2(outFile, STDOUT_FILENO);
        dup2(errFile, STDERR_FILENO);
        if (input.fileSizeLimit > 0) {
            // Writes past the limit fail with EFBIG instead of stopping the tool.
            signal(SIGXFSZ, SIG_IGN);
            const struct rlimit limit = {static_cast<rlim_t>(input.fileSizeLimit),
                                         static_cast<rlim_t>(input.fileSizeLimit)};
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        std::vector<char*> argv;
        const char* other = std::getenv("CTP_TOOL_UNDER_TEST");
        std::string program = other != nullptr ? other : CTP_TOOL_PATH;
        argv.push_back(&program[0]);
        std::vector<std::string> copies(arguments);
        for (std::string& argument : copies) argv.push_back(&argument[0]);
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    ToolRun run;
    std::string terminalText;
    if (controller >= 0) {
        // Read what the tool writes to its terminal until it closes it.
        char chunk[4096];
        ssize_t got;
        while ((got = read(controller, chunk, sizeof chunk)) > 0) terminalText.append(chunk, static_cast<std::size_t>(got));
    }
    int status = 0;
    struct rusage usage = {};
    wait4(child, &status, 0, &usage);
    if (controller >= 0) close(controller);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = input.standardOutput.empty() ? ReadWhole(outPath) : "";
    run.err = controller >= 0 ? terminalText : ReadWhole(errPath);
    run.peakKilobytes = usage.ru_maxrss;
    return run;
}

std::string Describe(const std::string& bytes) {
    std::string start = bytes.substr(0, kDescribedBytes);
    for (char& c : start) {
        if (static_cast<unsigned char>(c) < 0x20) c = '.';
    }
    return std::to_string(bytes.size()) + " bytes \"" + start + (bytes.size() > kDescribedBytes ? "...\"" : "\"");
}

std::string PackedDatabase(const std::string& text) {
    ScratchFolder folder;
    folder.Write("t.txt", text);
    const ToolRun run = folder.Run({"pack", "--title", "test", "t.txt", "t.pdb"});
    if (run.status != 0) throw std::runtime_error("pack failed: " + run.err);
    return folder.Read("t.pdb");
}

std::string UncompressedDatabase(std::size_t records, std::size_t recordBytes) {
    const std::size_t listEnd = kHeaderSize + kEntrySize * (records + 1) + 2;
    std::string bytes(listEnd + kDocHeaderSize, '\0');
    bytes.replace(0, 4, "big\0", 4);
    bytes.replace(60, 8, "TEXtREAd");
    Put16(bytes, 76, static_cast<uint32_t>(records + 1));
    Put32(bytes, kHeaderSize, static_cast<uint32_t>(listEnd));
    for (std::size_t k = 1; k <= records; ++k) {
        Put32(bytes, kHeaderSize + kEntrySize * k,
              static_cast<uint32_t>(listEnd + kDocHeaderSize + recordBytes * (k - 1)));
    }
    Put16(bytes, listEnd, 1);
    Put32(bytes, listEnd + 4, static_cast<uint32_t>(records * recordBytes));
    Put16(bytes, listEnd + 8, static_cast<uint32_t>(records));
    Put16(bytes, listEnd + 10, static_cast<uint32_t>(recordBytes));
    std::string record(recordBytes, 'a');
    for (std::size_t k = 0; k < recordBytes; k += 64) record[k] = '\n';
    bytes.reserve(bytes.size() + records * recordBytes);
    for (std::size_t k = 0; k < records; ++k) bytes += record;
    return bytes;
}

// Running the built coraxtopalm (or the one named by the environment
// variable CTP_TOOL_UNDER_TEST, to try the tests on another build) in a
// scratch folder of its own, with the files of the folder compared before
// and after, so that a test sees every file the tool made, changed or
// removed.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct ToolRun {
    int status = -1;          // exit status; -1 when killed by a signal
    std::string out;          // standard output
    std::string err;          // standard error
    long peakKilobytes = 0;   // the largest resident set the tool reached
};

struct ToolInput {
    std::string standardInput;       // file to read as standard input; empty: /dev/null
    std::string standardOutput;      // file for standard output; empty: captured
    bool errorOnTerminal = false;    // standard error is a pseudo-terminal
    long fileSizeLimit = 0;          // bytes a file may grow to (a full disk); 0: no limit
};

// A fresh folder for each test, removed at its end; the tool runs in it.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string Path(const std::string& name) const;
    void Write(const std::string& name, const std::string& bytes) const;
    std::string Read(const std::string& name) const;
    bool Exists(const std::string& name) const;

    // Every entry of the folder: a regular file as its bytes (one over 16 MB
    // as "<N bytes>"), anything else as a marker of its kind ("<dir>",
    // "<link to T>", "<char device>").
    std::map<std::string, std::string> Snapshot() const;

    ToolRun Run(const std::vector<std::string>& arguments, const ToolInput& input = {}) const;

private:
    std::string root_;
};

// What a file holds, for messages: its length and a readable start.
std::string Describe(const std::string& bytes);

// The Palm DOC database pack makes of text, made by running the tool.
std::string PackedDatabase(const std::string& text);

// An uncompressed Palm DOC database (compression 1) of records of
// recordBytes bytes each, made directly: large documents in no time.
std::string UncompressedDatabase(std::size_t records, std::size_t recordBytes);

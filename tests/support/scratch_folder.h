// A fresh folder for each test, removed at its end, with whole-file reads
// and writes and a view of every entry, so that a test sees each file that
// was made, changed or removed.
#pragma once

#include <map>
#include <string>

class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string Path(const std::string& name) const;
    // Writes the file and returns its path.
    std::string Write(const std::string& name, const std::string& bytes) const;
    std::string Read(const std::string& name) const;
    // True for any entry, a dangling link included.
    bool Exists(const std::string& name) const;

    // Every entry of the folder: a regular file as its bytes (one over 16 MB
    // as "<N bytes>"), anything else as a marker of its kind ("<dir>",
    // "<link to T>", "<char device>").
    std::map<std::string, std::string> Snapshot() const;

    // Where a program's captured streams go, outside the folder's entries,
    // and what one of them holds.
    std::string CapturePath(const std::string& name) const;
    std::string ReadCapture(const std::string& name) const;

private:
    std::string root_;
};

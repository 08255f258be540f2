// A file named on the command line to be read: a path, or "-" for the
// standard input, which is copied to a temporary file first so that the
// readers, which open and seek by path, can take it.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <string>

// Which file a name leads to, whatever its spelling or links: the device
// and inode, so that an output that is also an input can be refused.
struct FileIdentity {
    bool known = false;  // false: no such file (or standard input from a terminal or pipe)
    dev_t device = 0;
    ino_t inode = 0;
};

inline FileIdentity IdentityOf(const struct stat& status) { return {true, status.st_dev, status.st_ino}; }

inline bool SameFile(const FileIdentity& a, const FileIdentity& b) {
    return a.known && b.known && a.device == b.device && a.inode == b.inode;
}

class InputFile {
public:
    explicit InputFile(std::string argument) : argument_(std::move(argument)) {}
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // Checks that the file can be read and is not a folder; for "-", copies
    // the standard input. False with "cannot read X: reason" in error.
    bool Open(std::string& error);

    // What a reader opens.
    const std::string& Path() const { return copy_.empty() ? argument_ : copy_; }
    std::string Shown() const;                          // how messages name it
    const FileIdentity& Identity() const { return identity_; }
    std::uint64_t Size() const { return size_; }

private:
    bool CopyStandardInput(std::string& error);

    std::string argument_;
    std::string copy_;  // the temporary copy of the standard input
    FileIdentity identity_;
    std::uint64_t size_ = 0;
};

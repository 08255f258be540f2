// A file named on the command line to be read: a path, or "-" for the
// standard input, which is copied to a temporary file first so that the
// readers, which open and seek by path, can take it.
#pragma once

#include <cstdint>
#include <string>

#include "file_identity.h"

class InputFile {
public:
    explicit InputFile(std::string argument) : argument_(std::move(argument)) {}
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // Checks that the file can be read and is not a folder; for "-", copies
    // the standard input. False with "cannot read X: reason" in error.
    bool Open(std::string& error);

    const std::string& Path() const { return path_; }  // what a reader opens
    std::string Shown() const;                          // how messages name it
    const FileIdentity& Identity() const { return identity_; }
    std::uint64_t Size() const { return size_; }

private:
    bool CopyStandardInput(std::string& error);

    std::string argument_;
    std::string path_;
    std::string copy_;  // the temporary copy of the standard input
    FileIdentity identity_;
    std::uint64_t size_ = 0;
};

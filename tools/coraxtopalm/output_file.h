// An output named on the command line, made whole or not at all. The
// writer fills a new temporary file of ours; only when it is complete and
// closed does Commit rename it over the destination, so a failure at any
// point leaves an existing file as it was. A destination that is not a
// regular file (a device such as /dev/null, a pipe) or "-" (the standard
// output) cannot be renamed over: it gets the finished temporary file's
// bytes, and is never removed or truncated.
#pragma once

#include <string>
#include <vector>

#include "input_file.h"

class OutputFile {
public:
    explicit OutputFile(std::string argument) : argument_(std::move(argument)) {}
    ~OutputFile();  // removes the temporary file unless committed
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Finds the destination (through symbolic links) and refuses a folder
    // and a file that is one of inputs. Opens nothing for writing.
    bool Check(const std::vector<const InputFile*>& inputs, std::string& error);
    // False when this output and other lead to one file.
    bool IsDistinctFrom(const OutputFile& other) const;

    // Creates the temporary file the writer fills: beside the destination,
    // or in the temporary folder for a destination that is not renamed.
    bool Create(std::string& error);
    const std::string& TemporaryPath() const { return temporary_; }
    // The folder of the temporary file, for scratch files of the same run.
    std::string SiblingFolder() const;

    // Puts the complete temporary file in place.
    bool Commit(std::string& error);

    std::string Shown() const;
    const std::string& Argument() const { return argument_; }

private:
    bool CopyInto(std::string& error);

    std::string argument_;
    std::string destination_;  // argument_ with symbolic links resolved
    FileIdentity identity_;    // of an existing destination
    bool streamed_ = false;    // standard output or a file not renamed over
    mode_t mode_ = 0;          // of an existing regular destination, which the new file keeps
    std::string temporary_;
};

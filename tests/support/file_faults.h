// Countdown fault injection into the file table, after SQLite's: while a
// FileFaults lives, platform::Files goes through it, and the Nth call of one
// kind of operation (or the Nth call of any kind) fails as the C library
// fails, with errno set. SweepFileFaults runs an operation with N = 1, 2, ...
// until no call is left to fail, so that every failure path is taken once.
#pragma once

#include <cerrno>
#include <cstdio>
#include <functional>
#include <map>
#include <string>

#include "platform/file_failure.h"
#include "platform/file_system.h"

class FileFaults {
public:
    // kNone as the kind counts the calls of every operation.
    using Kind = platform::FileOperation;

    FileFaults();
    ~FileFaults();
    FileFaults(const FileFaults&) = delete;
    FileFaults& operator=(const FileFaults&) = delete;

    // Fails the nth call of kind from now on, counted from 1; 0: none. A
    // failed read returns half of what was asked for (a short read, which
    // errorNumber 0 makes the end of the file); a failed write all but one
    // item; a failed close closes the stream all the same.
    void Arm(Kind kind, int nth, int errorNumber = kDefaultError);

    bool Fired() const { return fired_.operation != Kind::kNone; }
    // The call that failed; its path is the one the file was opened with.
    const platform::FileFailure& Failure() const { return fired_; }
    const std::string& FailedPath() const { return firedPath_; }
    const char* FailedMode() const { return firedMode_.c_str(); }
    // Files opened through the table and not closed.
    std::size_t OpenFiles() const { return open_.size(); }

    static constexpr int kDefaultError = EIO;

private:
    struct OpenFile {
        std::string path;
        std::string mode;
    };

    static std::FILE* Open(const char* path, const char* mode);
    static std::size_t Read(void* buffer, std::size_t size, std::size_t count, std::FILE* file);
    static std::size_t Write(const void* buffer, std::size_t size, std::size_t count, std::FILE* file);
    static int Seek(std::FILE* file, long offset, int origin);
    static long Tell(std::FILE* file);
    static int Flush(std::FILE* file);
    static int Close(std::FILE* file);
    static int Remove(const char* path);
    static int Rename(const char* from, const char* to);

    // Counts the call; true (errno set) when it is the one to fail.
    bool Fails(Kind kind, const std::string& path, const std::string& mode);
    bool Fails(Kind kind, std::FILE* file);

    platform::FileSystem saved_;
    Kind kind_ = Kind::kNone;
    int nth_ = 0;
    int errorNumber_ = kDefaultError;
    int calls_ = 0;
    platform::FileFailure fired_;
    std::string firedPath_;
    std::string firedMode_;
    std::map<std::FILE*, OpenFile> open_;
};

// Runs run with the nth call of kind failing, for n = 1, 2, ... until a run
// meets no fault, and check after every run that did (n and the injector in
// hand). Returns the number of faulted runs.
int SweepFileFaults(FileFaults::Kind kind, const std::function<void()>& run,
                    const std::function<void(int nth, const FileFaults& faults)>& check,
                    int errorNumber = FileFaults::kDefaultError);

// The library's writers (the export text, the database) take paths and
// report only success or failure. While a WatchedFiles lives, their file
// operations (platform::Files) go through it: it remembers the first one
// that failed, on which file and with which system error, so the tool can
// say "cannot write X: No space left on device" and not just "failed"; it
// also counts the bytes read and written for the progress line.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "platform/file_system.h"

struct FileFailure {
    bool happened = false;
    bool writing = false;    // the file was being written (else read)
    bool shortRead = false;  // a read found the end before the bytes it was promised
    std::string path;        // as the writer named it
    int errorNumber = 0;
};

class WatchedFiles {
public:
    WatchedFiles();
    ~WatchedFiles();
    WatchedFiles(const WatchedFiles&) = delete;
    WatchedFiles& operator=(const WatchedFiles&) = delete;

    const FileFailure& Failure() const { return failure_; }
    std::uint64_t BytesRead() const { return bytesRead_; }
    // Called after every read with the bytes read so far.
    void OnRead(std::function<void(std::uint64_t)> callback) { onRead_ = std::move(callback); }

private:
    static std::FILE* Open(const char* path, const char* mode);
    static std::size_t Read(void* buffer, std::size_t size, std::size_t count, std::FILE* file);
    static std::size_t Write(const void* buffer, std::size_t size, std::size_t count, std::FILE* file);
    static int Seek(std::FILE* file, long offset, int origin);
    static long Tell(std::FILE* file);
    static int Flush(std::FILE* file);
    static int Close(std::FILE* file);
    static int Remove(const char* path);
    static int Rename(const char* from, const char* to);

    void Fail(std::FILE* file, bool writing, int errorNumber);
    void FailOnPath(const std::string& path, bool writing, int errorNumber);

    struct OpenFile {
        std::string path;
        bool writing;
    };

    platform::FileSystem saved_;
    std::map<std::FILE*, OpenFile> files_;
    FileFailure failure_;
    std::uint64_t bytesRead_ = 0;
    std::function<void(std::uint64_t)> onRead_;
};

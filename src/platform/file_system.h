// The file operations of the export and the database writer, behind one
// table, so that tests can make any single call fail and check that nothing
// half-written is ever reported as done.
#pragma once

#include <cstddef>
#include <cstdio>

namespace platform {

struct FileSystem {
    std::FILE* (*open)(const char* path, const char* mode);
    std::size_t (*read)(void* buffer, std::size_t size, std::size_t count, std::FILE* file);
    std::size_t (*write)(const void* buffer, std::size_t size, std::size_t count, std::FILE* file);
    int (*seek)(std::FILE* file, long offset, int origin);
    long (*tell)(std::FILE* file);
    int (*flush)(std::FILE* file);
    int (*close)(std::FILE* file);
    int (*remove)(const char* path);
    int (*rename)(const char* from, const char* to);
};

// The C library's functions.
extern const FileSystem StandardFiles;
// What the code calls: StandardFiles unless a test has swapped it.
extern FileSystem Files;

}  // namespace platform

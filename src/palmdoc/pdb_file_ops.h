// The file operations the database writer uses. Production code passes
// StandardPdbFileOps(); tests pass operations that fail on demand, so that
// every failure path of the writer can be reached.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

struct PdbFileOps {
    std::FILE* (*open)(const char* path, const char* mode);
    std::size_t (*read)(void* buffer, std::size_t size, std::size_t count, std::FILE* file);
    std::size_t (*write)(const void* buffer, std::size_t size, std::size_t count, std::FILE* file);
    int (*seek)(std::FILE* file, long offset, int origin);
    long (*tell)(std::FILE* file);
    int (*flush)(std::FILE* file);
    int (*close)(std::FILE* file);
};

// The platform's file table, as the export's tests may have swapped it.
const PdbFileOps& StandardPdbFileOps();

// Write one value big-endian at the file's position, as one item of 2 or 4
// bytes. Return 1 when it was written, else 0.
int WriteBigEndian16(uint16_t value, std::FILE* file, const PdbFileOps& ops = StandardPdbFileOps());
int WriteBigEndian32(uint32_t value, std::FILE* file, const PdbFileOps& ops = StandardPdbFileOps());

// The file operations the database writer uses. Production code passes
// StandardPdbFileOps(); tests pass operations that fail on demand, so that
// every failure path of the writer can be reached.
#pragma once

#include <cstdint>
#include <cstdio>

#include "platform/file_system.h"

using PdbFileOps = platform::FileSystem;

// The platform's file table, read at each call, as the export's tests may
// have swapped it.
const PdbFileOps& StandardPdbFileOps();

// Write one value big-endian at the file's position, as one item of 2 or 4
// bytes. Return 1 when it was written, else 0.
int WriteBigEndian16(uint16_t value, std::FILE* file, const PdbFileOps& ops = StandardPdbFileOps());
int WriteBigEndian32(uint32_t value, std::FILE* file, const PdbFileOps& ops = StandardPdbFileOps());

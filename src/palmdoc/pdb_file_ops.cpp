#include "palmdoc/pdb_file_ops.h"

#include "palmdoc/byte_order.h"

namespace {

std::FILE* StandardOpen(const char* path, const char* mode) { return std::fopen(path, mode); }
std::size_t StandardRead(void* buffer, std::size_t size, std::size_t count, std::FILE* file) {
    return std::fread(buffer, size, count, file);
}
std::size_t StandardWrite(const void* buffer, std::size_t size, std::size_t count, std::FILE* file) {
    return std::fwrite(buffer, size, count, file);
}
int StandardSeek(std::FILE* file, long offset, int origin) { return std::fseek(file, offset, origin); }
long StandardTell(std::FILE* file) { return std::ftell(file); }
int StandardFlush(std::FILE* file) { return std::fflush(file); }
int StandardClose(std::FILE* file) { return std::fclose(file); }

}  // namespace

const PdbFileOps& StandardPdbFileOps() {
    static const PdbFileOps ops = {StandardOpen, StandardRead,  StandardWrite, StandardSeek,
                                   StandardTell, StandardFlush, StandardClose};
    return ops;
}

int WriteBigEndian16(uint16_t value, std::FILE* file, const PdbFileOps& ops) {
    const uint16_t converted = ToFileOrder16(value);
    return ops.write(&converted, sizeof converted, 1, file) == 1 ? 1 : 0;
}

int WriteBigEndian32(uint32_t value, std::FILE* file, const PdbFileOps& ops) {
    const uint32_t converted = ToFileOrder32(value);
    return ops.write(&converted, sizeof converted, 1, file) == 1 ? 1 : 0;
}

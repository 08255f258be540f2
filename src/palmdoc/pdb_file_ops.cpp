#include "palmdoc/pdb_file_ops.h"

#include "palmdoc/byte_order.h"
#include "platform/file_system.h"

// The table the export swaps in tests, read at each call.
const PdbFileOps& StandardPdbFileOps() {
    static const PdbFileOps ops = {
        [](const char* path, const char* mode) { return platform::Files.open(path, mode); },
        [](void* buffer, std::size_t size, std::size_t count, std::FILE* file) {
            return platform::Files.read(buffer, size, count, file);
        },
        [](const void* buffer, std::size_t size, std::size_t count, std::FILE* file) {
            return platform::Files.write(buffer, size, count, file);
        },
        [](std::FILE* file, long offset, int origin) { return platform::Files.seek(file, offset, origin); },
        [](std::FILE* file) { return platform::Files.tell(file); },
        [](std::FILE* file) { return platform::Files.flush(file); },
        [](std::FILE* file) { return platform::Files.close(file); },
    };
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

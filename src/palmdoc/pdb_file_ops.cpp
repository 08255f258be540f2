#include "palmdoc/pdb_file_ops.h"

#include "palmdoc/byte_order.h"
#include "platform/file_system.h"

const PdbFileOps& StandardPdbFileOps() { return platform::Files; }

int WriteBigEndian16(uint16_t value, std::FILE* file, const PdbFileOps& ops) {
    const uint16_t converted = ToFileOrder16(value);
    return ops.write(&converted, sizeof converted, 1, file) == 1 ? 1 : 0;
}

int WriteBigEndian32(uint32_t value, std::FILE* file, const PdbFileOps& ops) {
    const uint32_t converted = ToFileOrder32(value);
    return ops.write(&converted, sizeof converted, 1, file) == 1 ? 1 : 0;
}

// coraxtopalm info: the header fields and records of a Palm DOC database.
#include <cstdio>
#include <string>
#include <vector>

#include "commands.h"
#include "pdb_load.h"

namespace {


}  // namespace

int RunInfo(const std::vector<std::string>& arguments) {
    if (arguments.size() != 1) {
        std::fprintf(stderr, "usage: coraxtopalm info PDB\n");
        return kExitUsage;
    }
    PalmDocDatabase database;
    std::string error;
    if (!LoadPalmDoc(arguments[0], database, error)) {
        std::fprintf(stderr, "coraxtopalm info: %s\n", error.c_str());
        return kExitFailure;
    }
    std::printf("name: %s\n", database.name.c_str());
    std::printf("type: %s\n", database.type.c_str());
    std::printf("creator: %s\n", database.creator.c_str());
    std::printf("records: %u\n", static_cast<unsigned>(database.numberOfRecords));
    std::printf("compression: %u\n", static_cast<unsigned>(database.compression));
    std::printf("text length: %lu\n", static_cast<unsigned long>(database.textLength));
    std::printf("record count: %u\n", static_cast<unsigned>(database.recordCount));
    std::printf("record size: %u\n", static_cast<unsigned>(database.recordSize));
    for (std::size_t k = 0; k < database.records.size(); ++k) {
        const PalmDocRecord& record = database.records[k];
        std::printf("record %lu: offset %lu, stored %lu, text %lu\n", static_cast<unsigned long>(k + 1),
                    static_cast<unsigned long>(record.offset), static_cast<unsigned long>(record.storedLength),
                    static_cast<unsigned long>(record.textLength));
    }
    return std::fflush(stdout) == 0 ? 0 : kExitFailure;
}

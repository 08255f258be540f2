// The in-memory Palm DOC reader and the record decoder on any bytes: a
// database is accepted with text no longer than its records allow, or
// refused with a message; nothing is read outside the input.
#include <vector>

#include "fuzz_support.h"
#include "palmdoc/decompressor.h"
#include "palmdoc/pdb_reader.h"

namespace {

constexpr std::size_t kRecordSize = 4096;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    PalmDocDatabase database;
    std::string error;
    if (ReadPalmDocDatabase(data, size, database, error)) {
        Require(database.text.size() <= std::size_t{database.recordSize} * database.records.size());
    } else {
        Require(!error.empty());
    }
    // The same bytes as one compressed record.
    std::vector<unsigned char> text;
    if (DecompressRecord(data, size, kRecordSize, text, error)) Require(text.size() <= kRecordSize);
    return 0;
}

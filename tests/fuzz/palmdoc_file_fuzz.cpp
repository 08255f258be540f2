// The tool's Palm DOC reader and the record decoder on any bytes: a database
// is accepted with no record's text longer than its record size and every
// bookmark inside the text, or refused with a message; nothing is read
// outside the input.
#include <vector>

#include "fuzz_support.h"
#include "palmdoc/decompressor.h"
#include "tools/coraxtopalm/palmdoc_file.h"

using palmdoc::DecompressRecord;

namespace {

constexpr std::size_t kRecordSize = 4096;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    PalmDocFile file;
    std::string error;
    bool read = file.Open(WriteScratchFile(data, size), "input", error);
    for (std::size_t b = 0; read && b < file.Database().bookmarks.size(); ++b) {
        Require(file.Database().bookmarks[b].offset <= file.Database().textLength);
    }
    std::vector<unsigned char> text;
    for (std::size_t k = 0; read && k < file.Database().records.size(); ++k) {
        read = file.ReadRecord(k, text, error);
        if (read) Require(text.size() <= file.Database().recordSize);
    }
    Require(read || !error.empty());
    // The same bytes as one compressed record.
    std::vector<unsigned char> record;
    if (DecompressRecord(data, size, kRecordSize, record, error)) Require(record.size() <= kRecordSize);
    return 0;
}

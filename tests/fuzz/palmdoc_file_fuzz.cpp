// The tool's record-by-record reader against the library's in-memory reader
// on any bytes: both accept or both refuse, with the same records and text.
#include <vector>

#include "fuzz_support.h"
#include "palmdoc/pdb_reader.h"
#include "tools/coraxtopalm/palmdoc_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    PalmDocDatabase whole;
    std::string error;
    const bool accepted = ReadPalmDocDatabase(data, size, whole, error);

    PalmDocFile file;
    bool streamed = file.Open(WriteScratchFile(data, size), "input", error);
    std::vector<unsigned char> text;
    std::vector<unsigned char> record;
    std::vector<std::uint32_t> lengths;
    for (std::size_t k = 0; streamed && k < file.Database().records.size(); ++k) {
        streamed = file.ReadRecord(k, record, error);
        text.insert(text.end(), record.begin(), record.end());
        lengths.push_back(static_cast<std::uint32_t>(record.size()));
    }
    Require(streamed == accepted);
    if (!accepted) return 0;
    Require(text == whole.text);
    Require(lengths.size() == whole.records.size());
    for (std::size_t k = 0; k < lengths.size(); ++k) {
        Require(lengths[k] == whole.records[k].textLength);
        Require(file.Database().records[k].offset == whole.records[k].offset);
    }
    return 0;
}

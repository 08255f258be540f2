// The record decoder on any bytes, with a length limit taken from the input:
// a record decodes within the limit or is refused with a message, having
// overshot it by one code at most; and text already in the buffer changes
// nothing, since a back-reference reaches only into the record's own text.
#include <algorithm>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "palmdoc/compressed_stream.h"
#include "palmdoc/decompressor.h"

using palmdoc::DecompressRecord;

namespace {

// The first two input bytes give the limit, up to the record length of a
// database, so that the limit is hit both early and late.
constexpr std::size_t kLimitSize = 2;
constexpr std::size_t kLimitRange = palmdoc::kMaxRecordLength + 1;
// The most one code adds: a back-reference of the longest match.
constexpr std::size_t kLongestCode = palmdoc::kMaxMatch;
const std::vector<unsigned char> kEarlierText = {'e', 'a', 'r', 'l', 'i', 'e', 'r'};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < kLimitSize) return 0;
    const std::size_t limit = (std::size_t{data[0]} | std::size_t{data[1]} << 8) % kLimitRange;
    const unsigned char* record = data + kLimitSize;
    const std::size_t recordLength = size - kLimitSize;

    std::vector<unsigned char> text;
    std::string error;
    const bool decoded = DecompressRecord(record, recordLength, limit, text, error);
    Require(decoded ? text.size() <= limit : !error.empty() && text.size() <= limit + kLongestCode);

    std::vector<unsigned char> appended = kEarlierText;
    std::string appendedError;
    Require(DecompressRecord(record, recordLength, limit, appended, appendedError) == decoded);
    Require(appendedError == error);
    Require(std::equal(kEarlierText.begin(), kEarlierText.end(), appended.begin()));
    Require(std::equal(text.begin(), text.end(), appended.begin() + kEarlierText.size(), appended.end()));
    return 0;
}

// PalmDOC decompression of one record, for input that may be corrupt: it
// never reads or copies outside the buffers and says what was wrong.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace palmdoc {

// Appends the decompressed bytes of the compressed record to text. Fails, with
// a message in error, on a code cut off by the record's end, on a
// back-reference reaching before the record's start, and when the record would
// decompress to more than maxLength bytes.
bool DecompressRecord(const unsigned char* record, std::size_t recordLength, std::size_t maxLength,
                      std::vector<unsigned char>& text, std::string& error);

}  // namespace palmdoc

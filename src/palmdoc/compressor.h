// PalmDOC compression of one record (compression type 2).
#pragma once

#include <cstdint>
#include <memory>

#include "palmdoc/text_buffer.h"

namespace palmdoc {

// The room a record's buffer needs for the code of length bytes to be written
// in place: a smaller buffer is given a new array.
uint32_t CompressionCapacity(uint32_t length);

// Compresses one record after another, with work tables allocated once
// rather than for every record.
class RecordCompressor {
public:
    RecordCompressor();
    ~RecordCompressor();
    RecordCompressor(const RecordCompressor&) = delete;
    RecordCompressor& operator=(const RecordCompressor&) = delete;

    // Replaces the record's bytes (at most 4096) by their compressed form and
    // returns the new length. At each position the longest earlier
    // occurrence of 3 to 10 bytes within the last 2047 bytes is taken, the
    // lowest such position on a tie, and the record's last byte is always
    // coded as a literal; these choices fix the output bytes. compressError
    // is only ever set (to 1 or 2) on a consistency break; the caller resets
    // it.
    uint32_t Compress(tBuf& record, int& compressError);

private:
    struct Tables;
    std::unique_ptr<Tables> tables_;
};

}  // namespace palmdoc

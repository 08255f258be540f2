// PalmDOC compression of one record (compression type 2).
#pragma once

#include <cstdint>

#include "palmdoc/text_buffer.h"

// Replaces the record's bytes by their compressed form and returns the new
// length. At each position the longest earlier occurrence of 3 to 10 bytes
// within the last 2047 bytes is taken, the lowest such position on a tie, and
// the record's last byte is always coded as a literal; these choices fix the
// output bytes. compressError is only ever set (to 1 or 2) on a consistency
// break; the caller resets it.
uint32_t CompressRecord(tBuf& record, int& compressError);

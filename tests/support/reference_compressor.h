// The plain PalmDOC record compressor: a forward scan of the window that tries
// every position, written to follow the encoder's rules step by step rather
// than to be fast. The tests and the benchmark hold RecordCompressor::Compress
// to its bytes; the product does not link it.
#pragma once

#include <cstdint>

#include "palmdoc/text_buffer.h"

// Same contract and same bytes as RecordCompressor::Compress.
uint32_t CompressRecordReference(palmdoc::tBuf& record, int& compressError);

// The plain forward-scan compressor, kept as the oracle that the fast one in
// compress_record.cpp must match byte for byte. Too slow for production use.
#pragma once

#include <cstdint>

#include "palmdoc/text_buffer.h"

// Tries the positions searchStart, searchStart + 1, ... in order, up to the
// one at which the candidate of candidateLength bytes would end at
// searchStart + span; returns the first at which the candidate's bytes occur,
// or nullptr. An occurrence may run on into the candidate itself.
const unsigned char* FindFirstOccurrence(const unsigned char* searchStart, uint32_t span,
                                         const unsigned char* candidate, uint32_t candidateLength);

// Same contract and same bytes as CompressRecord.
uint32_t CompressRecordReference(tBuf& record, int& compressError);

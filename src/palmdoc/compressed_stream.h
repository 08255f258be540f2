// The code bytes of a PalmDOC-compressed record and the pieces that every
// encoder of this library shares, so that the fast compressor and the plain
// one differ only in how they search.
#pragma once

#include <cstdint>

#include "palmdoc/text_buffer.h"

namespace palmdoc {

constexpr unsigned char kSpace = 0x20;
// 0x01..0x08: that many bytes follow verbatim.
constexpr unsigned char kVerbatimRunMin = 0x01;
constexpr unsigned char kVerbatimRunMax = 0x08;
// 0x80..0xBF: first byte of a two-byte back-reference.
constexpr unsigned char kBackReferenceMin = 0x80;
constexpr unsigned char kBackReferenceMax = 0xBF;
// 0xC0..0xFF: a space and the byte XOR 0x80.
constexpr unsigned char kSpacePairMin = 0xC0;
constexpr unsigned char kSpacePairXor = 0x80;
// Bytes that a space pair can carry.
constexpr unsigned char kPairableMin = 0x40;
constexpr unsigned char kPairableMax = 0x7F;
// Bytes from here up cannot stand for themselves.
constexpr unsigned char kHighByteMin = 0x80;

constexpr uint16_t kBackReferenceTag = 0x8000;
constexpr unsigned kDistanceShift = 3;
constexpr uint32_t kMaxDistance = 2047;
constexpr uint32_t kMinMatch = 3;
constexpr uint32_t kMaxMatch = 10;

// compressError values.
constexpr int kNoOccurrenceFound = 1;
constexpr int kBackReferenceOutOfRange = 2;

// Pass 1 codes a byte as at most two bytes (an escaped byte); nothing else
// codes more bytes than it consumes twice over.
constexpr uint32_t CompressedSizeBound(uint32_t inputLength) { return 2 * inputLength + 1; }

// Appends the back-reference code for distance and matchLength, writing a
// pending space first. Sets compressError when the fields do not fit.
void AppendBackReference(tBuf& output, uint32_t distance, uint32_t matchLength, int& pendingSpace,
                         int& compressError);

// Pass 2: merges the 0x01-escapes of pass 1 into runs of up to 8 bytes, in
// place. Returns the new length.
uint32_t MergeEscapeRuns(unsigned char* bytes, uint32_t length);

}  // namespace palmdoc

// Appends the code of one byte that no back-reference covers. A space is held
// back in pendingSpace so that it can pair with the next byte.
void EncodeLiteral(tBuf& output, unsigned char c, int& pendingSpace);

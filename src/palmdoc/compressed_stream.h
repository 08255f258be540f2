// The code bytes of a PalmDOC-compressed record (compression type 2), as the
// compressor writes them and the decompressor reads them.
#pragma once

#include <cstdint>

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

// The compressor works on one text record of the database at a time.
constexpr uint32_t kMaxRecordLength = 4096;

// compressError values.
constexpr int kNoOccurrenceFound = 1;
constexpr int kBackReferenceOutOfRange = 2;

// A byte that must be escaped costs two code bytes only when it opens a run,
// and the byte before it then cost at most one; a space held back costs one
// when it is written. So the code never exceeds three bytes for every two
// input bytes, rounded up.
constexpr uint32_t CompressedSizeBound(uint32_t inputLength) { return inputLength + inputLength / 2 + 1; }

}  // namespace palmdoc

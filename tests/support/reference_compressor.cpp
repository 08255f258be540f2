#include "support/reference_compressor.h"

#include <cstring>

#include "palmdoc/compressed_stream.h"

using namespace palmdoc;

namespace {

void Append(tBuf& output, unsigned char c) { output.data[output.length++] = c; }

bool NeedsEscape(unsigned char c) { return (c >= kVerbatimRunMin && c <= kVerbatimRunMax) || c >= kHighByteMin; }

// Appends the code of one byte that no back-reference covers. A space is held
// back in pendingSpace so that it can pair with the next byte.
void EncodeLiteral(tBuf& output, unsigned char c, int& pendingSpace) {
    if (pendingSpace == 0) {
        if (c == kSpace) {
            pendingSpace = 1;
            return;
        }
    } else {
        pendingSpace = 0;
        if (c >= kPairableMin && c <= kPairableMax) {
            Append(output, static_cast<unsigned char>(c ^ kSpacePairXor));
            return;
        }
        // A second space is written plainly too: pairing it would need a
        // third state.
        Append(output, kSpace);
    }
    if (NeedsEscape(c)) Append(output, kVerbatimRunMin);
    Append(output, c);
}

// Appends the back-reference code, writing a pending space first. Sets
// compressError when the fields do not fit.
void AppendBackReference(tBuf& output, uint32_t distance, uint32_t matchLength, int& pendingSpace,
                         int& compressError) {
    if (pendingSpace != 0) {
        Append(output, kSpace);
        pendingSpace = 0;
    }
    if (distance == 0 || distance > kMaxDistance || matchLength < kMinMatch || matchLength > kMaxMatch) {
        compressError = kBackReferenceOutOfRange;
    }
    const uint32_t code = kBackReferenceTag + (distance << kDistanceShift) + (matchLength - kMinMatch);
    Append(output, static_cast<unsigned char>(code >> 8));
    Append(output, static_cast<unsigned char>(code & 0xFF));
}

// Tries the positions searchStart, searchStart + 1, ... in order, up to the
// one at which the candidate of candidateLength bytes would end at
// searchStart + span; returns the first at which the candidate's bytes occur,
// or nullptr. An occurrence may run on into the candidate itself.
const unsigned char* FindFirstOccurrence(const unsigned char* searchStart, uint32_t span,
                                         const unsigned char* candidate, uint32_t candidateLength) {
    for (uint32_t i = 0; i + candidateLength <= span; ++i) {
        const unsigned char* at = searchStart + i;
        if (at[0] == candidate[0] && std::memcmp(at, candidate, candidateLength) == 0) return at;
    }
    return nullptr;
}

// Pass 2: merges the 0x01-escapes of pass 1 into runs of up to 8 bytes, in
// place. The write position never passes the read position, and a run's bytes
// are written no further than where they were read, so one array serves.
uint32_t MergeEscapeRuns(unsigned char* bytes, uint32_t length) {
    uint32_t in = 0;
    uint32_t out = 0;
    while (in < length) {
        const unsigned char c = bytes[in];
        if (c >= kBackReferenceMin && c <= kBackReferenceMax) {
            bytes[out++] = c;
            bytes[out++] = bytes[in + 1];
            in += 2;
        } else if (c == kVerbatimRunMin) {
            const uint32_t countAt = out;
            uint32_t count = 1;
            bytes[countAt + count] = bytes[in + 1];
            while (in + 2 < length && bytes[in + 2] == kVerbatimRunMin && count < kVerbatimRunMax) {
                ++count;
                bytes[countAt + count] = bytes[in + 3];
                in += 2;
            }
            bytes[countAt] = static_cast<unsigned char>(count);
            out += count + 1;
            in += 2;
        } else {
            bytes[out++] = c;
            ++in;
        }
    }
    return out;
}

// Pass 1 codes a byte as at most two bytes (an escaped byte); nothing else
// codes more bytes than it consumes twice over.
uint32_t PassOneSizeBound(uint32_t inputLength) { return 2 * inputLength + 1; }

}  // namespace

uint32_t CompressRecordReference(tBuf& record, int& compressError) {
    const unsigned char* const in = record.data;
    const uint32_t end = record.length;
    tBuf coded;
    coded.Adopt(new unsigned char[PassOneSizeBound(end)], 0);

    // The candidate is in[p, q); it grows by one byte for as long as it also
    // occurs earlier in the window, and w follows its first such occurrence.
    uint32_t p = 0;
    uint32_t q = 1;
    uint32_t w = 0;
    int pendingSpace = 0;
    while (p < end) {
        if (p - w > kMaxDistance) w = p - kMaxDistance;
        const uint32_t candidateLength = q - p;
        const unsigned char* found = FindFirstOccurrence(in + w, q - w, in + p, candidateLength);
        if (found == nullptr) compressError = kNoOccurrenceFound;
        const bool earlier = found != nullptr && found < in + p;
        if (earlier && candidateLength <= kMaxMatch && q < end) {
            w = static_cast<uint32_t>(found - in);
        } else {
            // What matched is the candidate without its newest byte.
            if (candidateLength <= kMinMatch) {
                EncodeLiteral(coded, in[p], pendingSpace);
                ++p;
            } else {
                AppendBackReference(coded, p - w, candidateLength - 1, pendingSpace, compressError);
                p = q - 1;
            }
            w = 0;
        }
        if (q < end) ++q;
    }
    if (pendingSpace != 0) coded.data[coded.length++] = kSpace;

    const uint32_t merged = MergeEscapeRuns(coded.data, coded.length);
    record.Adopt(coded.Release(), merged);
    return merged;
}

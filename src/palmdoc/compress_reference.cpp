#include "palmdoc/compress_reference.h"

#include <cstring>

#include "palmdoc/compressed_stream.h"

using namespace palmdoc;

const unsigned char* FindFirstOccurrence(const unsigned char* searchStart, uint32_t span,
                                         const unsigned char* candidate, uint32_t candidateLength) {
    for (uint32_t i = 0; i + candidateLength <= span; ++i) {
        const unsigned char* at = searchStart + i;
        if (at[0] == candidate[0] && std::memcmp(at, candidate, candidateLength) == 0) return at;
    }
    return nullptr;
}

uint32_t CompressRecordReference(tBuf& record, int& compressError) {
    const unsigned char* const in = record.data;
    const uint32_t end = record.length;
    tBuf coded;
    coded.Adopt(new unsigned char[CompressedSizeBound(end)], 0);

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

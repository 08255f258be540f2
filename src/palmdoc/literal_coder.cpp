#include "palmdoc/compressed_stream.h"

namespace {

bool NeedsEscape(unsigned char c) {
    return (c >= palmdoc::kVerbatimRunMin && c <= palmdoc::kVerbatimRunMax) || c >= palmdoc::kHighByteMin;
}

void Append(tBuf& output, unsigned char c) { output.data[output.length++] = c; }

}  // namespace

void EncodeLiteral(tBuf& output, unsigned char c, int& pendingSpace) {
    using namespace palmdoc;
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

namespace palmdoc {

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

}  // namespace palmdoc

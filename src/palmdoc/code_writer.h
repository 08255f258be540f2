// Writes the code bytes of one record in their final form, in one pass: a
// space is held back to pair with the byte after it, and escaped bytes join
// the open run of up to 8 as they come, so no second pass merges them.
#pragma once

#include <cstdint>

#include "palmdoc/compressed_stream.h"

namespace palmdoc {

class CodeWriter {
public:
    // out has room for CodeCapacity of the record's length. A writer is
    // small enough to copy into a coding loop's own registers, and holds no
    // pointer to itself, which would keep it in memory.
    explicit CodeWriter(unsigned char* out) : start_(out), out_(out), runCount_(out) {}

    // The code's bytes and one more, which the count of a run that is not
    // open may take.
    static constexpr uint32_t CodeCapacity(uint32_t inputLength) { return CompressedSizeBound(inputLength) + 1; }

    // The code of one byte that no back-reference covers. Which of its cases
    // applies changes from byte to byte in text and at random in binary data,
    // so each is chosen by arithmetic rather than by a branch: every step
    // writes at the current end, and only the bytes that belong to the code
    // are kept by moving the end past them.
    void Literal(unsigned char c) {
        const uint32_t pending = pendingSpace_;
        const uint32_t pairs = pending & IsPairable(c);
        // A held-back space that does not pair is written plainly first.
        *out_ = kSpace;
        out_ += pending & ~pairs & 1u;
        // A space is held back unless one already was: pairing a second one
        // would need a third state.
        const uint32_t holds = ~pending & (c == kSpace) & 1u;
        // A byte that pairs with a space never needs an escape.
        const uint32_t escapes = NeedsEscape(c);
        // An escaped byte joins the open run while it has fewer than 8 bytes,
        // else opens a new run with a count byte before it. The run's length
        // carries from byte to byte, so it is worked out in a step or two:
        // multiplications there made every literal of a run wait for the
        // last one's.
        uint32_t grown = runLength_ + 1;
        grown = grown > kVerbatimRunMax ? 1 : grown;
        const uint32_t opens = escapes & (grown == 1);
        if (opens) runCount_ = out_;
        out_ += opens;
        *out_ = static_cast<unsigned char>(c ^ (pairs * kSpacePairXor));
        out_ += ~holds & 1u;
        runLength_ = grown & (0u - escapes);
        // The count of a run that is not open goes to the end of the code,
        // where the next code overwrites it.
        if (!escapes) runCount_ = out_;
        *runCount_ = static_cast<unsigned char>(runLength_);
        pendingSpace_ = holds;
    }

    // A back-reference to the matchLength bytes distance bytes back. Returns
    // false, writing it all the same, when the fields do not fit its code.
    bool BackReference(uint32_t distance, uint32_t matchLength) {
        *out_ = kSpace;
        out_ += pendingSpace_;
        pendingSpace_ = 0;
        const uint32_t code = kBackReferenceTag + (distance << kDistanceShift) + (matchLength - kMinMatch);
        out_[0] = static_cast<unsigned char>(code >> 8);
        out_[1] = static_cast<unsigned char>(code);
        out_ += 2;
        runLength_ = 0;
        runCount_ = out_;
        return distance >= 1 && distance <= kMaxDistance && matchLength >= kMinMatch && matchLength <= kMaxMatch;
    }

    // Writes a space still held back; returns the length of the code.
    uint32_t Finish() {
        if (pendingSpace_) *out_++ = kSpace;
        pendingSpace_ = 0;
        return static_cast<uint32_t>(out_ - start_);
    }

private:
    static uint32_t NeedsEscape(unsigned char c) {
        return static_cast<uint32_t>(c - kVerbatimRunMin) < kVerbatimRunMax || c >= kHighByteMin;
    }

    static uint32_t IsPairable(unsigned char c) {
        return static_cast<uint32_t>(c - kPairableMin) <= static_cast<uint32_t>(kPairableMax - kPairableMin);
    }

    unsigned char* start_;
    unsigned char* out_;
    // The count byte of the open run of escaped bytes, or the end of the code
    // when none is open; runLength_ is its count, 0 when none is open.
    unsigned char* runCount_;
    uint32_t runLength_ = 0;
    uint32_t pendingSpace_ = 0;
};

}  // namespace palmdoc

// Writes the code bytes of one record in their final form, in one pass: a
// space is held back to pair with the byte after it, and escaped bytes join
// the open run of up to 8 as they come, so no second pass merges them.
#pragma once

#include <cstdint>

#include "palmdoc/compressed_stream.h"

namespace palmdoc {

class CodeWriter {
public:
    // out has room for CompressedSizeBound of the record's length.
    explicit CodeWriter(unsigned char* out) : start_(out), out_(out) {}

    // The code of one byte that no back-reference covers.
    void Literal(unsigned char c) {
        if (!pendingSpace_) {
            if (c == kSpace) {
                pendingSpace_ = true;
                run_ = nullptr;
            } else if (NeedsEscape(c)) {
                Escape(c);
            } else {
                *out_++ = c;
                run_ = nullptr;
            }
            return;
        }
        pendingSpace_ = false;
        if (c >= kPairableMin && c <= kPairableMax) {
            *out_++ = static_cast<unsigned char>(c ^ kSpacePairXor);
            return;
        }
        // A second space is written plainly too: pairing it would need a
        // third state.
        *out_++ = kSpace;
        if (NeedsEscape(c)) {
            Escape(c);
        } else {
            *out_++ = c;
        }
    }

    // A back-reference to the matchLength bytes distance bytes back. Returns
    // false, writing it all the same, when the fields do not fit its code.
    bool BackReference(uint32_t distance, uint32_t matchLength) {
        if (pendingSpace_) {
            *out_++ = kSpace;
            pendingSpace_ = false;
        }
        const uint32_t code = kBackReferenceTag + (distance << kDistanceShift) + (matchLength - kMinMatch);
        out_[0] = static_cast<unsigned char>(code >> 8);
        out_[1] = static_cast<unsigned char>(code);
        out_ += 2;
        run_ = nullptr;
        return distance >= 1 && distance <= kMaxDistance && matchLength >= kMinMatch && matchLength <= kMaxMatch;
    }

    // Writes a space still held back; returns the length of the code.
    uint32_t Finish() {
        if (pendingSpace_) *out_++ = kSpace;
        pendingSpace_ = false;
        return static_cast<uint32_t>(out_ - start_);
    }

private:
    static bool NeedsEscape(unsigned char c) {
        return (c >= kVerbatimRunMin && c <= kVerbatimRunMax) || c >= kHighByteMin;
    }

    void Escape(unsigned char c) {
        if (run_ != nullptr && *run_ < kVerbatimRunMax) {
            ++*run_;
        } else {
            run_ = out_++;
            *run_ = kVerbatimRunMin;
        }
        *out_++ = c;
    }

    unsigned char* const start_;
    unsigned char* out_;
    // The count byte of the run that the next escaped byte joins, or null
    // when anything else was written since.
    unsigned char* run_ = nullptr;
    bool pendingSpace_ = false;
};

}  // namespace palmdoc

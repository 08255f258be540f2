// The match finder's index of one record: the positions whose first few
// bytes hash alike, chained in ascending order, and for every position the
// first entry of its chain inside its window. Walking a chain from there
// visits the window's candidates from the farthest back, the one that wins a
// tie, onward.
//
// Building it takes a good part of the compressor's time, and its stores
// bound it more than its arithmetic: so each position's link and the first
// entry in a later position's window go out as one store, and the positions
// whose window starts at the record's start take their first entry from the
// heads when asked rather than from a copy of them.
#pragma once

#include <cstdint>
#include <cstring>

#include "palmdoc/compressed_stream.h"

namespace palmdoc {

// Bytes readable after a record's end in the compressor's copy, so that
// prefixes and matches are read eight bytes at a time without bounds checks.
constexpr uint32_t kLoadSlack = 16;

// Every match is at least kMinMatch bytes, so the chains of prefixes this
// long hold every candidate; every record is chained by them.
constexpr uint32_t kBasePrefixLength = kMinMatch;

inline uint64_t Load64(const unsigned char* at) {
    uint64_t value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

inline uint32_t Load32(const unsigned char* at) {
    uint32_t value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

inline uint16_t Load16(const unsigned char* at) {
    uint16_t value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

class PrefixChains {
public:
    // Past the last entry of every chain; greater than any position.
    static constexpr uint32_t kEnd = 0xFFFF;
    // Chains the positions 0 to count - 1 of bytes by their first prefixLength
    // bytes, kBasePrefixLength to kMaxMatch. bytes has kLoadSlack readable
    // bytes after the record.
    void Build(const unsigned char* bytes, uint32_t count, uint32_t prefixLength);

    // For a chained position p: the first position at or after p - 2047
    // whose prefix hashes as p's, at least p itself.
    uint32_t FirstInWindow(uint32_t p) const {
        return p < kMaxDistance ? head_[hashes_[p]] : links_[p - kMaxDistance].firstInLaterWindow;
    }
    // The next position of the same chain, or kEnd.
    uint32_t Next(uint32_t position) const { return links_[position].next; }

private:
    // Fewer bits let unrelated prefixes share chains, which random bytes and
    // Japanese text pay for in walks; more leave the heads beyond the first
    // level cache.
    static constexpr unsigned kHashBits = 14;

    struct Link {
        uint16_t next;
        // FirstInWindow of the position kMaxDistance further on.
        uint16_t firstInLaterWindow;
    };

    void ChainHashed(uint32_t count);

    uint16_t head_[1u << kHashBits];
    uint16_t hashes_[kMaxRecordLength];
    Link links_[kMaxRecordLength];
};

}  // namespace palmdoc

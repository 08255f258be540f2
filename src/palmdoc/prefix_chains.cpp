#include "palmdoc/prefix_chains.h"

#include <cassert>
#include <cstddef>

namespace palmdoc {

namespace {

constexpr unsigned kBitsPerByte = 8;
constexpr unsigned kShortBits = 16;
// Odd 16-bit constants with well-mixed bits.
constexpr uint16_t kPairMultiplier = 0x9E37;
constexpr uint16_t kOddByteMultiplier = 0x6F4B;
constexpr uint16_t kMixMultiplier = 0x1A5D;

// A prefix is hashed in 16-bit steps, a pair of bytes at a time, each mixed
// in by a multiplication, and an odd last byte by one of its own: the
// compiler runs such steps on many positions at once, where a 64-bit
// multiplication runs on one. Every record is chained by its 3-byte
// prefixes, and a record that needs the longer ones needs several. The hash
// is the top kBits bits of the last product.
template <uint32_t kLength, unsigned kBits>
void Hash(const unsigned char* __restrict in, uint16_t* __restrict out, std::size_t count) {
    // A wider index than the count's lets the compiler see that in[i + k]
    // cannot wrap around, which it must know to vectorise the loop.
    for (std::size_t i = 0; i < count; ++i) {
        uint16_t mixed = 0;
        for (uint32_t k = 0; k + 1 < kLength; k += 2) {
            const uint16_t pair = static_cast<uint16_t>(in[i + k] | in[i + k + 1] << kBitsPerByte);
            mixed = static_cast<uint16_t>(static_cast<uint16_t>(mixed ^ pair) * kPairMultiplier);
        }
        if (kLength % 2 != 0) {
            mixed = static_cast<uint16_t>(mixed ^ static_cast<uint16_t>(in[i + kLength - 1] * kOddByteMultiplier));
        }
        out[i] = static_cast<uint16_t>(static_cast<uint16_t>(mixed * kMixMultiplier) >> (kShortBits - kBits));
    }
}

}  // namespace

void PrefixChains::Build(const unsigned char* bytes, uint32_t count, uint32_t prefixLength) {
    static_assert(kBasePrefixLength == 3 && kMaxMatch == 10, "one hash for every prefix length from 3 to 10");
    assert(prefixLength >= kBasePrefixLength && prefixLength <= kMaxMatch);
    switch (prefixLength) {
        case kBasePrefixLength: Hash<kBasePrefixLength, kHashBits>(bytes, hashes_, count); break;
        case 4: Hash<4, kHashBits>(bytes, hashes_, count); break;
        case 5: Hash<5, kHashBits>(bytes, hashes_, count); break;
        case 6: Hash<6, kHashBits>(bytes, hashes_, count); break;
        case 7: Hash<7, kHashBits>(bytes, hashes_, count); break;
        case 8: Hash<8, kHashBits>(bytes, hashes_, count); break;
        case 9: Hash<9, kHashBits>(bytes, hashes_, count); break;
        default: Hash<kMaxMatch, kHashBits>(bytes, hashes_, count); break;
    }
    ChainHashed(count);
}

void PrefixChains::ChainHashed(uint32_t count) {
    std::memset(head_, 0xFF, sizeof head_);
    static_assert(static_cast<uint16_t>(~0u) == kEnd, "an empty head reads as the end of its chain");

    // Inserting from the back leaves every chain in ascending order, and
    // once position i is in, every head is its chain's first position from i
    // on: the first in the window of position i + 2047. The positions whose
    // window starts at 0 look at the heads left at the end.
    const uint32_t unseen = count > kMaxDistance ? count - kMaxDistance : 0;
    uint32_t i = count;
    while (i > unseen) {
        --i;
        const uint32_t h = hashes_[i];
        links_[i] = {head_[h], kEnd};
        head_[h] = static_cast<uint16_t>(i);
    }
    while (i > 0) {
        --i;
        const uint32_t h = hashes_[i];
        const uint16_t next = head_[h];
        head_[h] = static_cast<uint16_t>(i);
        links_[i] = {next, head_[hashes_[i + kMaxDistance]]};
    }
}

}  // namespace palmdoc

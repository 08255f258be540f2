#include "palmdoc/prefix_chains.h"

#include <cstddef>

namespace palmdoc {

namespace {

constexpr unsigned kBitsPerByte = 8;
constexpr unsigned kLoadBits = 64;
constexpr unsigned kShortBits = 16;
constexpr uint32_t kWideLoad = 8;
constexpr uint64_t kGoldenRatio64 = 0x9E3779B97F4A7C15ull;
// An odd constant with well-mixed bits, for the bytes after the first eight.
constexpr uint64_t kTailMultiplier = 0xC2B2AE3D27D4EB4Full;
// Odd 16-bit constants with well-mixed bits, for the 3-byte prefixes.
constexpr uint16_t kFirstPairMultiplier = 0x9E37;
constexpr uint16_t kThirdByteMultiplier = 0x6F4B;
constexpr uint16_t kMixMultiplier = 0x1A5D;
static_assert(kBasePrefixLength == 3, "the base hash reads a pair of bytes and a third");

}  // namespace

void PrefixChains::Build(const unsigned char* bytes, uint32_t count, uint32_t prefixLength) {
    if (prefixLength == kBasePrefixLength) {
        HashBase(bytes, count);
    } else if (prefixLength <= kWideLoad) {
        // Shifting the other bytes out leaves the prefix in the top bits,
        // where a multiplication mixes it into the bits that are kept.
        const unsigned dropped = kLoadBits - kBitsPerByte * prefixLength;
        for (uint32_t i = 0; i < count; ++i) {
            hashes_[i] =
                static_cast<uint16_t>(((Load64(bytes + i) << dropped) * kGoldenRatio64) >> (kLoadBits - kHashBits));
        }
    } else {
        const uint32_t tailMask = (1u << (kBitsPerByte * (prefixLength - kWideLoad))) - 1;
        for (uint32_t i = 0; i < count; ++i) {
            const uint64_t tail = Load16(bytes + i + kWideLoad) & tailMask;
            hashes_[i] = static_cast<uint16_t>((Load64(bytes + i) * kGoldenRatio64 + tail * kTailMultiplier) >>
                                               (kLoadBits - kHashBits));
        }
    }
    ChainHashed(count);
}

// Every record is chained by its 3-byte prefixes, so their hash is made of
// 16-bit steps, which the compiler runs on many positions at once, where the
// 64-bit multiplication of the longer prefixes runs on one.
void PrefixChains::HashBase(const unsigned char* bytes, uint32_t count) {
    const unsigned char* __restrict in = bytes;
    uint16_t* __restrict out = hashes_;
    // A wider index than the count's lets the compiler see that in[i + 2]
    // cannot wrap around, which it must know to vectorise the loop.
    for (std::size_t i = 0; i < count; ++i) {
        const uint16_t pair = static_cast<uint16_t>(in[i] | in[i + 1] << kBitsPerByte);
        uint16_t mixed = static_cast<uint16_t>(pair * kFirstPairMultiplier);
        mixed = static_cast<uint16_t>(mixed ^ static_cast<uint16_t>(in[i + 2] * kThirdByteMultiplier));
        out[i] = static_cast<uint16_t>(static_cast<uint16_t>(mixed * kMixMultiplier) >> (kShortBits - kHashBits));
    }
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

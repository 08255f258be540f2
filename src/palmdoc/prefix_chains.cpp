#include "palmdoc/prefix_chains.h"

namespace palmdoc {

namespace {

constexpr unsigned kBitsPerByte = 8;
constexpr unsigned kLoadBits = 64;
constexpr uint32_t kWideLoad = 8;
constexpr uint64_t kGoldenRatio64 = 0x9E3779B97F4A7C15ull;
// An odd constant with well-mixed bits, for the bytes after the first eight.
constexpr uint64_t kTailMultiplier = 0xC2B2AE3D27D4EB4Full;

}  // namespace

void PrefixChains::Build(const unsigned char* bytes, uint32_t count, uint32_t prefixLength) {
    const unsigned kept = kLoadBits - kHashBits;
    if (prefixLength <= kWideLoad) {
        // Shifting the other bytes out leaves the prefix in the top bits,
        // where a multiplication mixes it into the bits that are kept.
        const unsigned dropped = kLoadBits - kBitsPerByte * prefixLength;
        BuildWith(count, [=](uint32_t i) {
            return static_cast<uint32_t>(((Load64(bytes + i) << dropped) * kGoldenRatio64) >> kept);
        });
    } else {
        const uint32_t tailMask = (1u << (kBitsPerByte * (prefixLength - kWideLoad))) - 1;
        BuildWith(count, [=](uint32_t i) {
            const uint64_t tail = Load16(bytes + i + kWideLoad) & tailMask;
            return static_cast<uint32_t>((Load64(bytes + i) * kGoldenRatio64 + tail * kTailMultiplier) >> kept);
        });
    }
}

template <typename Hash>
void PrefixChains::BuildWith(uint32_t count, Hash hash) {
    std::memset(head_, 0xFF, sizeof head_);
    static_assert(static_cast<uint16_t>(~0u) == kEnd, "an empty head reads as the end of its chain");

    // Inserting from the back leaves every chain in ascending order, and
    // once position i is in, every head is its chain's first position from i
    // on: the first in the window of position i + 2047. The positions whose
    // window starts at 0 take the heads left at the end. Hashing a position
    // again costs less than storing and loading its hash.
    const auto insert = [&](uint32_t i) {
        const uint32_t h = hash(i);
        next_[i] = head_[h];
        head_[h] = static_cast<uint16_t>(i);
    };
    const uint32_t unseen = count > kMaxDistance ? count - kMaxDistance : 0;
    uint32_t i = count;
    while (i > unseen) insert(--i);
    while (i > 0) {
        insert(--i);
        first_[i + kMaxDistance] = head_[hash(i + kMaxDistance)];
    }
    const uint32_t windowAtZero = count < kMaxDistance ? count : kMaxDistance;
    for (i = 0; i < windowAtZero; ++i) first_[i] = head_[hash(i)];
}

}  // namespace palmdoc

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

    // Inserting from the back leaves every chain in ascending order and every
    // head at the chain's first position.
    for (uint32_t i = count; i-- > 0;) {
        const uint32_t h = hash(i);
        hash_[i] = static_cast<uint16_t>(h);
        next_[i] = head_[h];
        head_[h] = static_cast<uint16_t>(i);
    }

    // Then the heads follow the window's start: before position i is looked
    // at, the one position that left its window is taken off its chain, which
    // it heads, since every earlier position of that chain left before it.
    const uint32_t windowed = count < kMaxDistance + 1 ? count : kMaxDistance + 1;
    uint32_t i = 0;
    for (; i < windowed; ++i) first_[i] = head_[hash_[i]];
    for (; i < count; ++i) {
        const uint32_t left = i - kMaxDistance - 1;
        head_[hash_[left]] = next_[left];
        first_[i] = head_[hash_[i]];
    }
}

}  // namespace palmdoc

#include "palmdoc/compressor.h"

#include <cstddef>
#include <vector>

#include "palmdoc/compressed_stream.h"

using namespace palmdoc;

namespace {

constexpr int32_t kNoPosition = -1;
constexpr uint32_t kPrefixLength = 3;
constexpr unsigned kMinHashBits = 4;
constexpr unsigned kMaxHashBits = 12;
constexpr uint32_t kFibonacciMultiplier = 2654435761u;

// Every position of the record whose three bytes hash alike, in ascending
// order, so that walking a chain visits the window's candidates from the
// farthest back, the one that wins a tie, onward.
class PrefixChains {
public:
    PrefixChains(const unsigned char* bytes, uint32_t length) : bytes_(bytes), next_(length, kNoPosition) {
        while (hashBits_ < kMaxHashBits && (1u << hashBits_) < length) ++hashBits_;
        head_.assign(std::size_t{1} << hashBits_, kNoPosition);
        for (uint32_t i = length >= kPrefixLength ? length - kPrefixLength + 1 : 0; i-- > 0;) {
            int32_t& head = head_[Hash(i)];
            next_[i] = head;
            head = static_cast<int32_t>(i);
        }
    }

    // The first chain entry of position p at or after windowStart. Window
    // starts only grow, so entries left behind are dropped for good.
    int32_t FirstInWindow(uint32_t p, uint32_t windowStart) {
        int32_t& head = head_[Hash(p)];
        while (head != kNoPosition && static_cast<uint32_t>(head) < windowStart) head = next_[head];
        return head;
    }

    int32_t Next(int32_t position) const { return next_[position]; }

private:
    uint32_t Hash(uint32_t i) const {
        const uint32_t prefix = (uint32_t{bytes_[i]} << 16) | (uint32_t{bytes_[i + 1]} << 8) | bytes_[i + 2];
        return (prefix * kFibonacciMultiplier) >> (32 - hashBits_);
    }

    const unsigned char* bytes_;
    unsigned hashBits_ = kMinHashBits;
    std::vector<int32_t> head_;
    std::vector<int32_t> next_;
};

struct Match {
    uint32_t position = 0;
    uint32_t length = 0;
};

// The longest earlier occurrence of the bytes at p (up to limit bytes), the
// lowest position among equals. Positions are visited in ascending order and
// only a strictly longer match replaces the best, so the first position to
// reach the final length wins, as the forward scan would have it.
Match LongestMatch(PrefixChains& chains, const unsigned char* in, uint32_t p, uint32_t limit) {
    Match best;
    const uint32_t windowStart = p > kMaxDistance ? p - kMaxDistance : 0;
    for (int32_t j = chains.FirstInWindow(p, windowStart); j != kNoPosition && static_cast<uint32_t>(j) < p;
         j = chains.Next(j)) {
        const unsigned char* candidate = in + j;
        if (candidate[best.length] != in[p + best.length]) continue;
        uint32_t length = 0;
        while (length < limit && candidate[length] == in[p + length]) ++length;
        if (length > best.length) {
            best.position = static_cast<uint32_t>(j);
            best.length = length;
            if (length == limit) break;
        }
    }
    return best;
}

}  // namespace

uint32_t CompressRecord(tBuf& record, int& compressError) {
    const unsigned char* const in = record.data;
    const uint32_t end = record.length;
    tBuf coded;
    coded.Adopt(new unsigned char[CompressedSizeBound(end)], 0);
    PrefixChains chains(in, end);

    uint32_t p = 0;
    int pendingSpace = 0;
    while (p < end) {
        // The last byte is never covered, so a match ends before end - 1.
        const uint32_t room = end - p - 1;
        const uint32_t limit = room < kMaxMatch ? room : kMaxMatch;
        Match match;
        if (limit >= kMinMatch) match = LongestMatch(chains, in, p, limit);
        if (match.length >= kMinMatch) {
            AppendBackReference(coded, p - match.position, match.length, pendingSpace, compressError);
            p += match.length;
        } else {
            EncodeLiteral(coded, in[p], pendingSpace);
            ++p;
        }
    }
    if (pendingSpace != 0) coded.data[coded.length++] = kSpace;

    const uint32_t merged = MergeEscapeRuns(coded.data, coded.length);
    record.Adopt(coded.Release(), merged);
    return merged;
}

#include <cassert>
#include <cstring>

#include "palmdoc/code_writer.h"
#include "palmdoc/compressed_stream.h"
#include "palmdoc/compressor.h"
#include "palmdoc/prefix_chains.h"

#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ != __ORDER_LITTLE_ENDIAN__
#error "the match length is read from the lowest differing byte of a little-endian load"
#endif

using namespace palmdoc;

namespace {

constexpr unsigned kBitsPerByte = 8;
constexpr uint32_t kWideCompare = 8;
constexpr uint32_t kTailCompareGuard = 1u << (kBitsPerByte * (kMaxMatch - kWideCompare));

// Every match is at least kMinMatch bytes, so the chains of 3-byte prefixes
// hold every candidate.
constexpr uint32_t kBasePrefixLength = kMinMatch;
// In a record made of few different 3-byte prefixes (a handful of letters in
// random order) those chains run through much of the window, and proving
// that no longer match exists visits all of them. Chains of longer prefixes
// then narrow the search, each looked at only when the longer ones found
// nothing. Building them costs about as much as walking a few entries for
// every position, so they are built only once the walks of a record have
// visited more entries than this for each position coded so far (text
// visits fewer than one), give or take the slack.
constexpr uint32_t kLongerPrefixLengths[] = {5, 7};
constexpr uint32_t kLongerLevels = sizeof kLongerPrefixLengths / sizeof *kLongerPrefixLengths;
constexpr uint32_t kVisitsPerPosition = 4;
constexpr uint32_t kVisitSlack = 256;

unsigned FirstDifferingByte(uint64_t differ) {
#if defined(__GNUC__)
    return static_cast<unsigned>(__builtin_ctzll(differ)) / kBitsPerByte;
#else
    unsigned byte = 0;
    while ((differ & 0xFF) == 0) {
        differ >>= kBitsPerByte;
        ++byte;
    }
    return byte;
#endif
}

// The bytes at the position being coded, compared with a candidate eight
// bytes at a time.
class Target {
public:
    explicit Target(const unsigned char* at) : head_(Load64(at)), tail_(Load16(at + kWideCompare)) {}

    // How many of the first kMaxMatch bytes the candidate shares.
    uint32_t CommonLength(const unsigned char* candidate) const {
        const uint64_t differ = Load64(candidate) ^ head_;
        if (differ != 0) return FirstDifferingByte(differ);
        // The guard bit stops the count after the tenth byte.
        const uint32_t tailDiffer = (Load16(candidate + kWideCompare) ^ tail_) | kTailCompareGuard;
        return kWideCompare + FirstDifferingByte(tailDiffer);
    }

private:
    uint64_t head_;
    uint16_t tail_;
};

struct Match {
    uint32_t position = 0;
    uint32_t length = 0;
};

// The longest match among the window's entries of one chain, the first to
// reach its length, when one of at least minLength bytes exists; the search
// stops at cap bytes, beyond which no entry can reach.
Match LongestInChain(const PrefixChains& chains, const unsigned char* bytes, uint32_t p, const Target& target,
                     uint32_t limit, uint32_t minLength, uint32_t cap) {
    Match best;
    uint32_t c = chains.FirstInWindow(p);
    // Entries whose prefix only hashes alike come first to be passed over.
    for (; c < p; c = chains.Next(c)) {
        const uint32_t common = target.CommonLength(bytes + c);
        if (common >= minLength) {
            best = {c, common < limit ? common : limit};
            break;
        }
    }
    if (best.length == 0) return best;
    for (c = chains.Next(c); c < p && best.length < cap; c = chains.Next(c)) {
        uint32_t common = target.CommonLength(bytes + c);
        if (common > limit) common = limit;
        if (common > best.length) best = {c, common};
    }
    return best;
}

// Codes the positions from 0 on, up to end or until the walks have visited
// too many entries, and returns where it stopped. The chain of p's 3-byte
// prefix is walked from the window's start until a match of the full 10
// bytes, or to its end.
uint32_t CodeWithBaseChains(const unsigned char* bytes, const PrefixChains& chains, uint32_t end, CodeWriter& out,
                            int& compressError) {
    uint32_t p = 0;
    uint32_t visits = 0;
    while (p < end && visits <= kVisitsPerPosition * p + kVisitSlack) {
        uint32_t c = chains.FirstInWindow(p);
        if (c >= p) {
            // p heads its own chain within the window: nothing earlier shares
            // its prefix.
            if (c != p) compressError = kNoOccurrenceFound;
            out.Literal(bytes[p++]);
            continue;
        }
        const Target target(bytes + p);
        Match best;
        do {
            ++visits;
            const uint32_t common = target.CommonLength(bytes + c);
            if (common > best.length) {
                best = {c, common};
                if (common == kMaxMatch) break;
            }
            c = chains.Next(c);
        } while (c < p);
        if (best.length >= kMinMatch) {
            if (!out.BackReference(p - best.position, best.length)) compressError = kBackReferenceOutOfRange;
            p += best.length;
        } else {
            out.Literal(bytes[p++]);
        }
    }
    return p;
}

// Codes the positions from p on with the chains of every level: the longest
// prefix that occurs in the window decides which chain is walked, and the
// next longer one bounds the match.
void CodeWithLevels(const unsigned char* bytes, uint32_t length, uint32_t p, const PrefixChains* const* levels,
                    const uint32_t* prefixLengths, uint32_t levelCount, CodeWriter& out, int& compressError) {
    const uint32_t chained = length > kMinMatch ? length - kMinMatch : 0;
    while (p < chained) {
        const uint32_t room = length - p - 1;
        const uint32_t limit = room < kMaxMatch ? room : kMaxMatch;
        const Target target(bytes + p);
        Match best;
        for (uint32_t level = levelCount; level-- > 0 && best.length == 0;) {
            if (prefixLengths[level] > limit) continue;
            const bool longerLevel = level + 1 < levelCount && prefixLengths[level + 1] - 1 < limit;
            const uint32_t cap = longerLevel ? prefixLengths[level + 1] - 1 : limit;
            best = LongestInChain(*levels[level], bytes, p, target, limit, prefixLengths[level], cap);
        }
        if (best.length >= kMinMatch) {
            if (!out.BackReference(p - best.position, best.length)) compressError = kBackReferenceOutOfRange;
            p += best.length;
        } else {
            out.Literal(bytes[p++]);
        }
    }
    for (; p < length; ++p) out.Literal(bytes[p]);
}

}  // namespace

struct RecordCompressor::Tables {
    unsigned char bytes[kMaxRecordLength + kLoadSlack];
    PrefixChains base;
    std::unique_ptr<PrefixChains[]> longer;
};

RecordCompressor::RecordCompressor() : tables_(new Tables) {}

RecordCompressor::~RecordCompressor() = default;

uint32_t RecordCompressor::Compress(tBuf& record, int& compressError) {
    const uint32_t length = record.length;
    assert(length <= kMaxRecordLength);
    unsigned char* const bytes = tables_->bytes;
    if (length > 0) std::memcpy(bytes, record.data, length);
    std::memset(bytes + length, 0, kLoadSlack);

    unsigned char* const coded = new unsigned char[CompressedSizeBound(length)];
    CodeWriter out(coded);
    // A match never covers the record's last byte, so a position needs
    // kMinMatch bytes after it besides that one to start a match; only such
    // positions are chained.
    const uint32_t chained = length > kMinMatch ? length - kMinMatch : 0;
    tables_->base.Build(bytes, chained, kBasePrefixLength);

    // Up to here every position has room for a match of the full length.
    const uint32_t roomy = length > kMaxMatch ? length - kMaxMatch : 0;
    const uint32_t p = CodeWithBaseChains(bytes, tables_->base, roomy, out, compressError);

    const PrefixChains* levels[1 + kLongerLevels] = {&tables_->base};
    uint32_t prefixLengths[1 + kLongerLevels] = {kBasePrefixLength};
    uint32_t levelCount = 1;
    if (p < roomy) {
        if (!tables_->longer) tables_->longer.reset(new PrefixChains[kLongerLevels]);
        for (uint32_t k = 0; k < kLongerLevels; ++k) {
            tables_->longer[k].Build(bytes, chained, kLongerPrefixLengths[k]);
            levels[levelCount] = &tables_->longer[k];
            prefixLengths[levelCount] = kLongerPrefixLengths[k];
            ++levelCount;
        }
    }
    CodeWithLevels(bytes, length, p, levels, prefixLengths, levelCount, out, compressError);

    const uint32_t codedLength = out.Finish();
    record.Adopt(coded, codedLength);
    return codedLength;
}

uint32_t CompressRecord(tBuf& record, int& compressError) {
    RecordCompressor compressor;
    return compressor.Compress(record, compressError);
}

#include <cassert>
#include <cstdint>
#include <cstring>

#include "palmdoc/code_writer.h"
#include "palmdoc/compressed_stream.h"
#include "palmdoc/compressor.h"
#include "palmdoc/prefix_chains.h"

#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ != __ORDER_LITTLE_ENDIAN__
#error "the match length is read from the lowest differing byte of a little-endian load"
#endif

namespace palmdoc {

namespace {

constexpr unsigned kBitsPerByte = 8;
constexpr uint32_t kWideCompare = 8;
constexpr uint32_t kTailCompareGuard = 1u << (kBitsPerByte * (kMaxMatch - kWideCompare));

// In a record made of few different 3-byte prefixes (a handful of letters in
// random order) their chains run through much of the window, and proving that
// no longer match exists visits all of them. Chains of longer prefixes then
// narrow the search: looked at from the longest down, the first that has an
// entry in the window is walked, up to the length of the next longer one,
// which has none. A record is first searched with chains of 5 and 7 bytes
// besides, and if its walks stay long even so (a byte over and over with now
// and then another, say), with chains of every length, which leave nothing
// to walk. Building chains costs about as much as walking a few entries for
// every position, so each step is taken only once the walks have visited more
// entries than this for every position coded since the last, give or take the
// slack.
constexpr uint32_t kSpacedPrefixLengths[] = {kBasePrefixLength, 5, 7};
constexpr uint32_t kVisitsPerPosition = 2;
constexpr uint32_t kVisitSlack = 256;

// A 32-bit processor compares eight bytes as two words; the first four
// settle most comparisons, and then one word is all it loads.
constexpr bool kWordHoldsEightBytes = sizeof(std::uintptr_t) >= sizeof(uint64_t);
constexpr uint32_t kHalfCompare = kWideCompare / 2;

template <typename Word>
unsigned FirstDifferingByte(Word differ) {
#if defined(__GNUC__)
    if constexpr (sizeof(Word) > sizeof(unsigned)) {
        return static_cast<unsigned>(__builtin_ctzll(differ)) / kBitsPerByte;
    } else {
        return static_cast<unsigned>(__builtin_ctz(differ)) / kBitsPerByte;
    }
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
        if constexpr (kWordHoldsEightBytes) {
            const uint64_t differ = Load64(candidate) ^ head_;
            if (differ != 0) return FirstDifferingByte(differ);
        } else {
            const uint32_t low = Load32(candidate) ^ static_cast<uint32_t>(head_);
            if (low != 0) return FirstDifferingByte(low);
            const uint32_t high = Load32(candidate + kHalfCompare) ^ static_cast<uint32_t>(head_ >> 32);
            if (high != 0) return kHalfCompare + FirstDifferingByte(high);
        }
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
// stops at cap bytes, beyond which no entry can reach. Adds the entries it
// looked at to visits.
Match LongestInChain(const PrefixChains& chains, const unsigned char* bytes, uint32_t p, const Target& target,
                     uint32_t limit, uint32_t minLength, uint32_t cap, uint32_t& visits) {
    Match best;
    uint32_t c = chains.FirstInWindow(p);
    // Entries whose prefix only hashes alike come first to be passed over.
    for (; c < p; c = chains.Next(c)) {
        ++visits;
        const uint32_t common = target.CommonLength(bytes + c);
        if (common >= minLength) {
            best = {c, common < limit ? common : limit};
            break;
        }
    }
    if (best.length == 0) return best;
    for (c = chains.Next(c); c < p && best.length < cap; c = chains.Next(c)) {
        ++visits;
        uint32_t common = target.CommonLength(bytes + c);
        if (common > limit) common = limit;
        if (common > best.length) best = {c, common};
    }
    return best;
}

// The chains a record is searched with, shortest prefix first.
struct Levels {
    const PrefixChains* chains[kMaxMatch + 1];
    uint32_t prefixLength[kMaxMatch + 1];
    uint32_t count = 0;

    void Add(const PrefixChains& levelChains, uint32_t length) {
        chains[count] = &levelChains;
        prefixLength[count] = length;
        ++count;
    }
};

// Codes the positions from 0 on, up to end or until the walks have visited
// too many entries, and returns where it stopped. The chain of p's 3-byte
// prefix is walked from the window's start until a match of the full 10
// bytes, or to its end.
uint32_t CodeWithBaseChains(const unsigned char* bytes, const PrefixChains& chains, uint32_t end, CodeWriter& writer,
                            int& compressError) {
    // A copy of its own lets the loop keep the writer in registers.
    CodeWriter out = writer;
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
    writer = out;
    return p;
}

// Codes the positions from p on with the chains of every level, and the
// record's last bytes as literals; when budgeted, stops once the walks have
// visited too many entries. Returns where it stopped.
uint32_t CodeWithLevels(const unsigned char* bytes, uint32_t length, uint32_t p, const Levels& levels, bool budgeted,
                        CodeWriter& writer, int& compressError) {
    CodeWriter out = writer;
    const uint32_t chained = length > kMinMatch ? length - kMinMatch : 0;
    const uint32_t start = p;
    uint32_t visits = 0;
    while (p < chained && (!budgeted || visits <= kVisitsPerPosition * (p - start) + kVisitSlack)) {
        const uint32_t room = length - p - 1;
        const uint32_t limit = room < kMaxMatch ? room : kMaxMatch;
        const Target target(bytes + p);
        Match best;
        for (uint32_t level = levels.count; level-- > 0 && best.length == 0;) {
            const uint32_t prefixLength = levels.prefixLength[level];
            if (prefixLength > limit) continue;
            const bool longerLevel = level + 1 < levels.count && levels.prefixLength[level + 1] - 1 < limit;
            const uint32_t cap = longerLevel ? levels.prefixLength[level + 1] - 1 : limit;
            best = LongestInChain(*levels.chains[level], bytes, p, target, limit, prefixLength, cap, visits);
        }
        if (best.length >= kMinMatch) {
            if (!out.BackReference(p - best.position, best.length)) compressError = kBackReferenceOutOfRange;
            p += best.length;
        } else {
            out.Literal(bytes[p++]);
        }
    }
    if (p >= chained) {
        for (; p < length; ++p) out.Literal(bytes[p]);
    }
    writer = out;
    return p;
}

}  // namespace

struct RecordCompressor::Tables {
    unsigned char bytes[kMaxRecordLength + kLoadSlack];
    PrefixChains base;
    // The chains of the prefixes longer than the base's, by length, made the
    // first time a record needs them; built marks those made for this record.
    std::unique_ptr<PrefixChains[]> longer;
    uint32_t built = 0;

    const PrefixChains& Longer(uint32_t prefixLength, uint32_t chained) {
        if (!longer) longer.reset(new PrefixChains[kMaxMatch - kBasePrefixLength]);
        PrefixChains& chains = longer[prefixLength - kBasePrefixLength - 1];
        if ((built & (1u << prefixLength)) == 0) {
            chains.Build(bytes, chained, prefixLength);
            built |= 1u << prefixLength;
        }
        return chains;
    }
};

RecordCompressor::RecordCompressor() : tables_(new Tables) {}

RecordCompressor::~RecordCompressor() = default;

uint32_t RecordCompressor::Compress(tBuf& record, int& compressError) {
    const uint32_t length = record.length;
    assert(length <= kMaxRecordLength);
    Tables& tables = *tables_;
    unsigned char* const bytes = tables.bytes;
    if (length > 0) std::memcpy(bytes, record.data, length);
    std::memset(bytes + length, 0, kLoadSlack);

    // The record's bytes are copied, so its own array can take the code.
    const bool inPlace = record.capacity >= CodeWriter::CodeCapacity(length);
    unsigned char* const coded = inPlace ? record.data : new unsigned char[CodeWriter::CodeCapacity(length)];
    CodeWriter out(coded);
    // A match never covers the record's last byte, so a position needs
    // kMinMatch bytes after it besides that one to start a match; only such
    // positions are chained.
    const uint32_t chained = length > kMinMatch ? length - kMinMatch : 0;
    tables.base.Build(bytes, chained, kBasePrefixLength);
    tables.built = 0;

    // Up to here every position has room for a match of the full length.
    const uint32_t roomy = length > kMaxMatch ? length - kMaxMatch : 0;
    uint32_t p = CodeWithBaseChains(bytes, tables.base, roomy, out, compressError);
    Levels levels;
    levels.Add(tables.base, kBasePrefixLength);
    if (p < roomy) {
        Levels spaced;
        for (uint32_t prefixLength : kSpacedPrefixLengths) {
            spaced.Add(prefixLength == kBasePrefixLength ? tables.base : tables.Longer(prefixLength, chained),
                       prefixLength);
        }
        p = CodeWithLevels(bytes, length, p, spaced, true, out, compressError);
        if (p < length) {
            for (uint32_t prefixLength = kBasePrefixLength + 1; prefixLength <= kMaxMatch; ++prefixLength) {
                levels.Add(tables.Longer(prefixLength, chained), prefixLength);
            }
        }
    }
    CodeWithLevels(bytes, length, p, levels, false, out, compressError);

    const uint32_t codedLength = out.Finish();
    if (inPlace) {
        record.length = codedLength;
    } else {
        record.Adopt(coded, codedLength);
    }
    return codedLength;
}

uint32_t CompressionCapacity(uint32_t length) { return CodeWriter::CodeCapacity(length); }

}  // namespace palmdoc

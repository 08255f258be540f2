#include "palmdoc/control_filter.h"

#include <cstring>

namespace palmdoc {

namespace {

constexpr unsigned char kLineFeed = 0x0A;
constexpr unsigned char kCarriageReturn = 0x0D;
constexpr uint32_t kWordBytes = 8;
constexpr uint64_t kEveryByte = 0x0101010101010101ull;
constexpr uint64_t kEveryHighBit = 0x8080808080808080ull;
constexpr uint64_t kEveryLowSeven = ~kEveryHighBit;
constexpr unsigned char kHighBit = 0x80;

// The high bit of every byte of word below 0x20. The sums of the low seven
// bits stay inside their bytes, so each byte is judged on its own.
uint64_t ControlBytes(uint64_t word) {
    const uint64_t printableLow = (word & kEveryLowSeven) + kEveryByte * (kHighBit - kFirstPrintable);
    return ~(printableLow | word) & kEveryHighBit;
}

// The high bit of every byte of word that equals c.
uint64_t BytesEqualTo(uint64_t word, unsigned char c) {
    const uint64_t differ = word ^ (kEveryByte * c);
    return ~(((differ & kEveryLowSeven) + kEveryLowSeven) | differ) & kEveryHighBit;
}

uint32_t IsKept(unsigned char c, unsigned char lineEnd) { return (c >= kFirstPrintable) | (c == lineEnd); }

// Appends c unless it is a control byte other than the terminator; the store
// is made either way, so that the choice costs no branch.
uint32_t Keep(unsigned char* kept, uint32_t keptLength, unsigned char c, unsigned char lineEnd) {
    kept[keptLength] = c;
    return keptLength + IsKept(c, lineEnd);
}

// A CR LF pair counts as LF; a CR alone, also at the record's end (the byte
// after the record is never looked at), counts as CR.
unsigned char FirstLineTerminator(const unsigned char* bytes, uint32_t length) {
    for (uint32_t i = 0; i < length; ++i) {
        if (bytes[i] == kLineFeed) return kLineFeed;
        if (bytes[i] == kCarriageReturn) {
            return i + 1 < length && bytes[i + 1] == kLineFeed ? kLineFeed : kCarriageReturn;
        }
    }
    return 0;
}

void DecideLineEnd(tBuf& record) {
    if (record.lineEnd == 0) record.lineEnd = FirstLineTerminator(record.data, record.length);
}

}  // namespace

uint32_t FilterControlChars(tBuf& record) {
    DecideLineEnd(record);
    // Kept bytes are written over the record's own, never ahead of the byte
    // being read.
    const unsigned char* const bytes = record.data;
    const uint32_t length = record.length;
    const unsigned char lineEnd = record.lineEnd;
    unsigned char* const kept = record.data;
    uint32_t keptLength = 0;
    uint32_t i = 0;
    // Text has a control byte, its line end, only every few dozen bytes:
    // eight bytes without another are copied as they are.
    for (; i + kWordBytes <= length; i += kWordBytes) {
        uint64_t word;
        std::memcpy(&word, bytes + i, kWordBytes);
        if ((ControlBytes(word) & ~BytesEqualTo(word, lineEnd)) == 0) {
            std::memcpy(kept + keptLength, &word, kWordBytes);
            keptLength += kWordBytes;
            continue;
        }
        for (uint32_t k = i; k < i + kWordBytes; ++k) keptLength = Keep(kept, keptLength, bytes[k], lineEnd);
    }
    for (; i < length; ++i) keptLength = Keep(kept, keptLength, bytes[i], lineEnd);
    record.length = keptLength;
    return keptLength;
}

uint32_t FilteredPosition(tBuf& record, uint32_t position) {
    DecideLineEnd(record);
    uint32_t kept = 0;
    for (uint32_t i = 0; i < position; ++i) kept += IsKept(record.data[i], record.lineEnd);
    return kept;
}

}  // namespace palmdoc

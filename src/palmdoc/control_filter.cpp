#include "palmdoc/control_filter.h"

namespace {

constexpr unsigned char kLineFeed = 0x0A;
constexpr unsigned char kCarriageReturn = 0x0D;
constexpr unsigned char kFirstPrintable = 0x20;

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

}  // namespace

uint32_t FilterControlChars(tBuf& record) {
    if (record.lineEnd == 0) record.lineEnd = FirstLineTerminator(record.data, record.length);
    unsigned char* kept = new unsigned char[record.length];
    uint32_t keptLength = 0;
    for (uint32_t i = 0; i < record.length; ++i) {
        const unsigned char c = record.data[i];
        if (c >= kFirstPrintable || c == record.lineEnd) kept[keptLength++] = c;
    }
    record.Adopt(kept, keptLength);
    return keptLength;
}

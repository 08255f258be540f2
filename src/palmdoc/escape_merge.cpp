#include "palmdoc/compressed_stream.h"

namespace palmdoc {

uint32_t MergeEscapeRuns(unsigned char* bytes, uint32_t length) {
    // The write position never passes the read position, and a run's bytes
    // are written no further than where they were read, so one array serves.
    uint32_t in = 0;
    uint32_t out = 0;
    while (in < length) {
        const unsigned char c = bytes[in];
        if (c >= kBackReferenceMin && c <= kBackReferenceMax) {
            bytes[out++] = c;
            bytes[out++] = bytes[in + 1];
            in += 2;
        } else if (c == kVerbatimRunMin) {
            const uint32_t countAt = out;
            uint32_t count = 1;
            bytes[countAt + count] = bytes[in + 1];
            while (in + 2 < length && bytes[in + 2] == kVerbatimRunMin && count < kVerbatimRunMax) {
                ++count;
                bytes[countAt + count] = bytes[in + 3];
                in += 2;
            }
            bytes[countAt] = static_cast<unsigned char>(count);
            out += count + 1;
            in += 2;
        } else {
            bytes[out++] = c;
            ++in;
        }
    }
    return out;
}

}  // namespace palmdoc

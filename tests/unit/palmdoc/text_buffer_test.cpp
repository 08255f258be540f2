// A record buffer kept from record to record allocates only when a record
// needs more room than it has, and never carries one record's length or line
// terminator into the next.
#include <gtest/gtest.h>

#include "palmdoc/text_buffer.h"

using palmdoc::tBuf;

namespace {

struct RearmCase {
    const char* name;
    uint32_t capacityBefore;  // 0: a buffer that has no array yet
    uint32_t asked;
    bool keepsArray;
    uint32_t capacityAfter;
};

const RearmCase kRearmCases[] = {
    {"a new buffer gets an array", 0, 4096, false, 4096},
    {"room to spare keeps the array", 6146, 4096, true, 6146},
    {"exactly enough room keeps the array", 4096, 4096, true, 4096},
    {"too little room gets a larger array", 100, 4096, false, 4096},
};

TEST(TextBuffer, RearmKeepsTheArrayWhileItIsLargeEnough) {
    for (const RearmCase& c : kRearmCases) {
        SCOPED_TRACE(c.name);
        tBuf buffer;
        if (c.capacityBefore > 0) buffer.Rearm(c.capacityBefore);
        buffer.length = c.capacityBefore / 2;
        buffer.lineEnd = '\n';
        const unsigned char* const before = buffer.data;

        buffer.Rearm(c.asked);

        EXPECT_EQ(buffer.data == before, c.keepsArray);
        EXPECT_EQ(buffer.capacity, c.capacityAfter);
        EXPECT_EQ(buffer.length, 0u);
        EXPECT_EQ(buffer.lineEnd, 0);
    }
}

TEST(TextBuffer, AnAdoptedArrayHasRoomForItsBytesOnly) {
    tBuf buffer;
    buffer.Rearm(6146);
    buffer.Adopt(new unsigned char[10], 10);
    EXPECT_EQ(buffer.capacity, 10u);
    const unsigned char* const adopted = buffer.data;
    buffer.Rearm(11);
    EXPECT_NE(buffer.data, adopted);

    delete[] buffer.Release();
    EXPECT_EQ(buffer.data, nullptr);
    EXPECT_EQ(buffer.capacity, 0u);
}

}  // namespace

#include <gtest/gtest.h>

#include <random>

#include "palmdoc/control_filter.h"
#include "palmdoc_test_support.h"

using palmdoc::FilterControlChars;
using palmdoc::FilteredPosition;
using palmdoc::tBuf;

namespace {

struct FilterCase {
    const char* record;
    const char* kept;
    unsigned char lineEnd;
};

const FilterCase kFilterCases[] = {
    {"61 62 09 63 0D 0A 64 1B 65 00 66", "61 62 63 0A 64 65 66", 0x0A},
    {"61 62 09 63 0D 64 0A 65", "61 62 63 0D 64 65", 0x0D},
    {"61 0A 62 0D 0A", "61 0A 62 0A", 0x0A},
    {"61 62 00 63 09 64", "61 62 00 63 64", 0},
    {"61 62 0D", "61 62 0D", 0x0D},
    {"7F FF 1F 0A 20", "7F FF 0A 20", 0x0A},
    {"", "", 0},
};

TEST(FilterControlChars, DecidesTheTerminatorAndDropsControlBytes) {
    for (const FilterCase& c : kFilterCases) {
        SCOPED_TRACE(c.record);
        tBuf record;
        Fill(record, FromHex(c.record));
        tBuf unfiltered;
        Fill(unfiltered, FromHex(c.record));
        const uint32_t length = FilterControlChars(record);
        // The end of the record lands where the filter ends it.
        EXPECT_EQ(FilteredPosition(unfiltered, unfiltered.length), length);
        EXPECT_EQ(ToHex(Contents(record)), c.kept);
        EXPECT_EQ(length, record.length);
        EXPECT_EQ(record.lineEnd, c.lineEnd);
    }
}

TEST(FilterControlChars, KeepsATerminatorAlreadyDecided) {
    tBuf record;
    Fill(record, FromHex("61 0A 62 0D 63"));
    record.lineEnd = 0x0D;
    FilterControlChars(record);
    EXPECT_EQ(ToHex(Contents(record)), "61 62 0D 63");
}

// The filter looks at eight bytes at a time; records of every length and
// control bytes anywhere among them, line ends often, high bytes too, must
// give what a byte by byte filter gives.
TEST(FilterControlChars, AgreesWithAByteByByteFilter) {
    std::mt19937 random(2026);
    std::uniform_int_distribution<int> length(0, 200);
    std::uniform_int_distribution<int> kind(0, 9);
    std::uniform_int_distribution<int> any(0, 255);
    for (int round = 0; round < 2000; ++round) {
        Bytes input(static_cast<std::size_t>(length(random)));
        for (unsigned char& b : input) {
            const int k = kind(random);
            const int lineEnd = any(random) % 2 == 0 ? 0x0A : 0x0D;
            b = static_cast<unsigned char>(k == 0   ? any(random) % 0x20
                                           : k == 1 ? 0x80 + any(random) % 0x80
                                           : k == 2 ? lineEnd
                                                    : 0x20 + any(random) % 0x60);
        }
        tBuf record;
        Fill(record, input);
        FilterControlChars(record);
        Bytes expected;
        for (unsigned char b : input) {
            if (b >= 0x20 || b == record.lineEnd) expected.push_back(b);
        }
        ASSERT_EQ(ToHex(Contents(record)), ToHex(expected)) << "input " << ToHex(input);
    }
}

}  // namespace

// The compressor's fixed choices, checked on both the fast compressor and the
// reference one, and decoded back to the input.
#include <gtest/gtest.h>

#include "palmdoc/compressed_stream.h"
#include "palmdoc_test_support.h"

namespace {

struct CompressionCase {
    const char* what;
    Bytes input;
    const char* expected;
};

std::vector<CompressionCase> CompressionCases() {
    const Bytes sentence = FromHex("54 68 69 73 20 69 73 20 61 20 74 65 73 74 2E");
    return {
        {"overlapping copy, then the farthest occurrence", Repeat(FromHex("61 62 63"), 6),
         "61 62 63 80 1F 80 61 63"},
        {"run of one byte: lengths 10, 10, 3", Repeat(FromHex("61"), 25), "61 80 0F 80 5F 80 A8 61"},
        {"last byte excluded leaves only 2", FromHex("61 62 63 61 62 63"), "61 62 63 61 62 63"},
        {"distance 3 length 3", FromHex("61 62 63 61 62 63 58"), "61 62 63 80 18 58"},
        {"no 3-byte match without the last byte", FromHex("61 61 61 61"), "61 61 61 61"},
        {"space before back-reference, space pair", Concat(Concat(sentence, FromHex("20")), sentence),
         "54 68 69 73 20 80 18 61 F4 65 73 74 2E 20 80 87 80 81 2E"},
        {"escapes merged, space + A", FromHex("93 FA 96 7B 20 41"), "03 93 FA 96 7B C1"},
        {"escape run of at most 8", FromHex("81 82 83 84 85 86 87 88 89"), "08 81 82 83 84 85 86 87 88 01 89"},
        {"space after pending space", FromHex("61 20 20 62"), "61 20 20 62"},
        {"third space pairs", FromHex("61 20 20 20 62"), "61 20 20 E2"},
        {"pending space at the end", FromHex("61 20"), "61 20"},
        {"space before a high byte", FromHex("20 82 A0"), "20 02 82 A0"},
        {"0x01 is escaped", FromHex("61 62 01 63 64"), "61 62 01 01 63 64"},
        {"0x40 without space is plain", FromHex("78 40 20 79 3F"), "78 40 F9 3F"},
        {"empty record", Bytes{}, ""},
    };
}

using Compressor = Bytes (*)(const Bytes&);

class CompressionTable : public ::testing::TestWithParam<Compressor> {};

TEST_P(CompressionTable, GivesTheFixedBytes) {
    for (const CompressionCase& c : CompressionCases()) {
        SCOPED_TRACE(c.what);
        const Bytes compressed = GetParam()(c.input);
        EXPECT_EQ(ToHex(compressed), c.expected);
        EXPECT_EQ(Decompress(compressed), c.input);
    }
}

// Four bytes that recur later, not at the record's end, with filler that
// cannot match anything in between.
Bytes RecurringAfter(std::size_t distance) {
    Bytes record = FromHex("F1 F2 F3 F4");
    for (std::size_t i = 4; i < distance; ++i) record.push_back(static_cast<unsigned char>(0x21 + (i % 2)));
    const Bytes tail = FromHex("F1 F2 F3 F4 5A");
    return Concat(record, tail);
}

TEST_P(CompressionTable, ReachesBackExactly2047Bytes) {
    const Bytes input = RecurringAfter(palmdoc::kMaxDistance);
    const Bytes compressed = GetParam()(input);
    // 0x8000 + 2047 * 8 + (4 - 3)
    EXPECT_EQ(ToHex(Bytes(compressed.end() - 3, compressed.end())), "BF F9 5A");
    EXPECT_EQ(Decompress(compressed), input);
}

TEST_P(CompressionTable, DoesNotReach2048Bytes) {
    const Bytes input = RecurringAfter(palmdoc::kMaxDistance + 1);
    const Bytes compressed = GetParam()(input);
    EXPECT_EQ(ToHex(Bytes(compressed.end() - 6, compressed.end())), "04 F1 F2 F3 F4 5A");
    EXPECT_EQ(Decompress(compressed), input);
}

// Escaped bytes alternating with plain ones need 3 bytes for every 2, more
// than a fixed 6000-byte array holds for a full record. Every (high, low) pair
// differs, so no 3 bytes recur and nothing is coded as a back-reference.
TEST_P(CompressionTable, HandlesTheLargestOutput) {
    Bytes input;
    for (int pair = 0; pair < 2048; ++pair) {
        input.push_back(static_cast<unsigned char>(0x80 + pair % 128));
        input.push_back(static_cast<unsigned char>(0x30 + pair / 128));
    }
    const Bytes compressed = GetParam()(input);
    EXPECT_EQ(compressed.size(), 6144u);
    EXPECT_EQ(Decompress(compressed), input);
}

INSTANTIATE_TEST_SUITE_P(Fast, CompressionTable, ::testing::Values(&CompressFast));
INSTANTIATE_TEST_SUITE_P(Reference, CompressionTable, ::testing::Values(&CompressReference));

}  // namespace

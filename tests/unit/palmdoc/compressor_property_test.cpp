// The compressor must give the reference compressor's bytes for every input,
// and both must decode back to the input.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>

#include "palmdoc/compressed_stream.h"
#include "palmdoc/compressor.h"
#include "palmdoc_test_support.h"
#include "support/compressor_shapes.h"

using palmdoc::CompressionCapacity;
using palmdoc::RecordCompressor;
using palmdoc::tBuf;

namespace {

// One compressor for every input of a test, as the writer keeps one for a
// whole conversion: what one record leaves in its tables must not change the
// next one's bytes.
class CompressorProperty : public ::testing::Test {
protected:
    void ExpectSameBytes(const Bytes& input) {
        const Bytes reference = CompressReference(input);
        ASSERT_EQ(CompressFast(input), reference) << "input " << ToHex(input);
        tBuf record;
        Fill(record, input);
        int compressError = 0;
        kept.Compress(record, compressError);
        ASSERT_EQ(compressError, 0);
        ASSERT_EQ(Contents(record), reference) << "input, after others " << ToHex(input);
        ASSERT_EQ(Decompress(reference), input);

        // The writer's buffers are kept from record to record with room for
        // any code, which the compressor then writes over the record itself.
        reused.Rearm(CompressionCapacity(palmdoc::kMaxRecordLength));
        std::copy(input.begin(), input.end(), reused.data);
        reused.length = static_cast<uint32_t>(input.size());
        const unsigned char* const array = reused.data;
        kept.Compress(reused, compressError);
        ASSERT_EQ(compressError, 0);
        ASSERT_EQ(reused.data, array);
        ASSERT_EQ(Contents(reused), reference) << "input, in place " << ToHex(input);
    }

    void ExpectSameBytesPerRecord(const Bytes& file) {
        for (std::size_t at = 0; at < file.size(); at += 4096) {
            const std::size_t end = std::min(file.size(), at + 4096);
            ExpectSameBytes(Bytes(file.begin() + static_cast<std::ptrdiff_t>(at),
                                  file.begin() + static_cast<std::ptrdiff_t>(end)));
        }
    }

    void ExpectSameBytesForFilesIn(const std::string& folder) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
            if (!entry.is_regular_file()) continue;
            SCOPED_TRACE(entry.path().string());
            ExpectSameBytesPerRecord(ReadFile(entry.path().string()));
            ++files;
        }
    }

    RecordCompressor kept;
    tBuf reused;
    std::size_t files = 0;
};

TEST_F(CompressorProperty, MatchesTheReferenceOnRandomRecords) {
    std::mt19937 random(kShapeSeed);
    for (std::size_t k = 0; k < kCompressorShapeCount; ++k) {
        const CompressorShape& shape = kCompressorShapes[k];
        SCOPED_TRACE(shape.name);
        for (int i = 0; i < kRecordsPerShape; ++i) {
            ExpectSameBytes(shape.generate(random, ShapeRecordLength(i, random)));
        }
    }
}

// The sources of this project (English, some Japanese in UTF-8) and its sample
// mail, cut into records as the writer would.
TEST_F(CompressorProperty, MatchesTheReferenceOnTheSources) {
    ExpectSameBytesForFilesIn(CTP_SOURCE_DIR "/src");
    ExpectSameBytesForFilesIn(CTP_SOURCE_DIR "/tools/samples");
    EXPECT_GT(files, 5u);
}

// Real prose: Debian's licences and Vim's tutor in English and in Japanese in
// its three encodings, Shift-JIS among them.
TEST_F(CompressorProperty, MatchesTheReferenceOnProse) {
    if (FileExists("/usr/share/common-licenses")) ExpectSameBytesForFilesIn("/usr/share/common-licenses");
    const char* tutors[] = {"tutor", "tutor.ja.sjis", "tutor.ja.euc", "tutor.ja.utf-8"};
    for (const char* tutor : tutors) {
        const std::string path = std::string("/usr/share/vim/vim90/tutor/") + tutor;
        if (!FileExists(path)) continue;
        SCOPED_TRACE(path);
        ExpectSameBytesPerRecord(ReadFile(path));
        ++files;
    }
    if (files == 0) GTEST_SKIP() << "no prose files on this system";
}

}  // namespace

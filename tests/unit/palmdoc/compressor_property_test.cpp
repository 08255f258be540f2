// The compressor must give the reference compressor's bytes for every input,
// and both must decode back to the input.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>

#include "palmdoc/compressed_stream.h"
#include "palmdoc/compressor.h"
#include "palmdoc_test_support.h"

namespace {

constexpr uint32_t kSeed = 20261208;
constexpr int kRecordsPerShape = 200;

using Generator = Bytes (*)(std::mt19937& random, std::size_t length);

Bytes FromAlphabet(std::mt19937& random, std::size_t length, const Bytes& alphabet) {
    Bytes bytes(length);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    for (unsigned char& b : bytes) b = alphabet[pick(random)];
    return bytes;
}

Bytes AnyBytes(std::mt19937& random, std::size_t length) {
    Bytes alphabet;
    for (int b = 0; b < 256; ++b) alphabet.push_back(static_cast<unsigned char>(b));
    return FromAlphabet(random, length, alphabet);
}

Bytes TwoLetters(std::mt19937& random, std::size_t length) { return FromAlphabet(random, length, FromHex("61 62")); }

Bytes ThreeLetters(std::mt19937& random, std::size_t length) {
    return FromAlphabet(random, length, FromHex("61 62 63"));
}

Bytes FiveLetters(std::mt19937& random, std::size_t length) {
    return FromAlphabet(random, length, FromHex("61 62 63 64 65"));
}

Bytes SpacesAndLetters(std::mt19937& random, std::size_t length) {
    return FromAlphabet(random, length, FromHex("20 20 41 61 7F 40 3F"));
}

Bytes HighBytes(std::mt19937& random, std::size_t length) {
    return FromAlphabet(random, length, FromHex("80 81 82 A0 BF C0 FF 01 08 20 41"));
}

Bytes LongRuns(std::mt19937& random, std::size_t length) {
    Bytes bytes;
    std::uniform_int_distribution<int> runLength(1, 40);
    std::uniform_int_distribution<int> byte(0, 3);
    while (bytes.size() < length) bytes.insert(bytes.end(), runLength(random), static_cast<unsigned char>(0x61 + byte(random)));
    bytes.resize(length);
    return bytes;
}

// One byte over and over, now and then another: matches of the full length
// at distance 1, cut short near the odd bytes.
Bytes OneByteWithFlips(std::mt19937& random, std::size_t length) {
    Bytes bytes(length, 0x61);
    std::uniform_int_distribution<std::size_t> at(0, length - 1);
    for (std::size_t flips = length / 300; flips-- > 0;) bytes[at(random)] = 0x62;
    return bytes;
}

// Runs of seven equal bytes, each ended by a random one: every 7-byte prefix
// recurs all over the window while longer matches stay rare, which makes the
// compressor search with chains of every prefix length.
Bytes BrokenRuns(std::mt19937& random, std::size_t length) {
    Bytes bytes(length, 0x61);
    std::uniform_int_distribution<int> byte(0, 255);
    for (std::size_t at = 7; at < length; at += 8) bytes[at] = static_cast<unsigned char>(byte(random));
    return bytes;
}

// Short phrases that recur at random distances, some near the window's edge.
Bytes RepeatedPhrases(std::mt19937& random, std::size_t length) {
    Bytes bytes = FromAlphabet(random, 16, FromHex("61 62 63 64 20 82 A0"));
    std::uniform_int_distribution<int> phraseLength(1, 14);
    std::uniform_int_distribution<int> distance(2040, 2055);
    std::uniform_int_distribution<int> coin(0, 2);
    while (bytes.size() < length) {
        const std::size_t take = static_cast<std::size_t>(phraseLength(random));
        std::size_t back = coin(random) == 0 ? static_cast<std::size_t>(distance(random))
                                             : std::uniform_int_distribution<std::size_t>(1, bytes.size())(random);
        if (back > bytes.size()) back = bytes.size();
        const std::size_t from = bytes.size() - back;
        for (std::size_t k = 0; k < take; ++k) bytes.push_back(bytes[from + k]);
    }
    bytes.resize(length);
    return bytes;
}

// Words from a small vocabulary: long chains of few prefixes, and matches of
// every length.
Bytes FewWords(std::mt19937& random, std::size_t length) {
    const char* words[] = {"the ", "then ", "them ", "there ", "these ", "other ", "\r\n"};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof words / sizeof *words - 1);
    std::string text;
    while (text.size() < length) text += words[pick(random)];
    return Bytes(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(length));
}

// Shift-JIS without ASCII: first bytes from both lead ranges, second bytes
// above and below 0x80.
Bytes DoubleByteRun(std::mt19937& random, std::size_t length) {
    const Bytes characters = FromHex("93 FA 96 7B 8C EA 95 5C 8D 95 82 A0 82 A2 83 41 E0 40 FC FC 81 40 88 9F");
    std::uniform_int_distribution<std::size_t> pick(0, characters.size() / 2 - 1);
    Bytes bytes;
    while (bytes.size() < length) {
        const std::size_t at = 2 * pick(random);
        bytes.push_back(characters[at]);
        bytes.push_back(characters[at + 1]);
    }
    bytes.resize(length);
    return bytes;
}

// Varied text, then two letters: the record changes shape on the way, which
// makes the compressor change how it searches halfway through.
Bytes TextThenTwoLetters(std::mt19937& random, std::size_t length) {
    Bytes bytes = RepeatedPhrases(random, length / 2);
    const Bytes letters = TwoLetters(random, length - bytes.size());
    return Concat(bytes, letters);
}

// Runs of bytes that must be escaped, of every length around the 8 that one
// run holds, between spaces, double spaces and bytes a space pairs with: the
// code writer's cases meet in every order.
Bytes EscapeRunsAndSpaces(std::mt19937& random, std::size_t length) {
    const Bytes escaped = FromHex("01 05 08 80 9F A0 C0 FF");
    const Bytes between[] = {FromHex("20"), FromHex("20 20"), FromHex("20 41"), FromHex("61"),
                             FromHex("20 7F 20"), FromHex("20 20 20 40")};
    std::uniform_int_distribution<std::size_t> runLength(1, 10);
    std::uniform_int_distribution<std::size_t> pickBetween(0, sizeof between / sizeof *between - 1);
    Bytes bytes;
    while (bytes.size() < length) {
        bytes = Concat(bytes, FromAlphabet(random, runLength(random), escaped));
        bytes = Concat(bytes, between[pickBetween(random)]);
    }
    bytes.resize(length);
    return bytes;
}

struct Shape {
    const char* name;
    Generator generate;
};

const Shape kShapes[] = {
    {"any bytes", AnyBytes},
    {"two letters", TwoLetters},
    {"three letters", ThreeLetters},
    {"five letters", FiveLetters},
    {"spaces and letters", SpacesAndLetters},
    {"high bytes", HighBytes},
    {"long runs", LongRuns},
    {"one byte with flips", OneByteWithFlips},
    {"broken runs", BrokenRuns},
    {"repeated phrases", RepeatedPhrases},
    {"few words", FewWords},
    {"double-byte run", DoubleByteRun},
    {"text then two letters", TextThenTwoLetters},
    {"escape runs and spaces", EscapeRunsAndSpaces},
};

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
    std::mt19937 random(kSeed);
    std::uniform_int_distribution<std::size_t> length(1, 4096);
    for (const Shape& shape : kShapes) {
        SCOPED_TRACE(shape.name);
        for (int i = 0; i < kRecordsPerShape; ++i) {
            const std::size_t size = i < 16 ? static_cast<std::size_t>(i + 1) : (i < 24 ? 4096 : length(random));
            ExpectSameBytes(shape.generate(random, size));
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

// The fast compressor must give the reference compressor's bytes for every
// input, and both must decode back to the input.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "palmdoc_test_support.h"

namespace {

constexpr uint32_t kSeed = 20261208;
constexpr int kRecordsPerShape = 150;

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

struct Shape {
    const char* name;
    Generator generate;
};

const Shape kShapes[] = {
    {"any bytes", AnyBytes},         {"two letters", TwoLetters}, {"spaces and letters", SpacesAndLetters},
    {"high bytes", HighBytes},       {"long runs", LongRuns},     {"repeated phrases", RepeatedPhrases},
};

void ExpectSameBytes(const Bytes& input) {
    const Bytes reference = CompressReference(input);
    ASSERT_EQ(CompressFast(input), reference) << "input " << ToHex(input);
    ASSERT_EQ(Decompress(reference), input);
}

TEST(FastCompressor, MatchesTheReferenceOnRandomRecords) {
    std::mt19937 random(kSeed);
    std::uniform_int_distribution<std::size_t> length(1, 4096);
    for (const Shape& shape : kShapes) {
        SCOPED_TRACE(shape.name);
        for (int i = 0; i < kRecordsPerShape; ++i) {
            const std::size_t size = i < 16 ? static_cast<std::size_t>(i + 1) : (i < 20 ? 4096 : length(random));
            ExpectSameBytes(shape.generate(random, size));
        }
    }
}

void ExpectSameBytesPerRecord(const Bytes& file) {
    for (std::size_t at = 0; at < file.size(); at += 4096) {
        const std::size_t end = std::min(file.size(), at + 4096);
        ExpectSameBytes(Bytes(file.begin() + static_cast<std::ptrdiff_t>(at), file.begin() + static_cast<std::ptrdiff_t>(end)));
    }
}

// The sources of this project (English, some Japanese in UTF-8), cut into
// records as the writer would.
TEST(FastCompressor, MatchesTheReferenceOnTheSources) {
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(CTP_SOURCE_DIR "/src")) {
        if (!entry.is_regular_file()) continue;
        ExpectSameBytesPerRecord(ReadFile(entry.path().string()));
        ++files;
    }
    EXPECT_GT(files, 5u);
}

// Real prose: Debian's GPL text and Vim's Japanese tutor in Shift-JIS.
TEST(FastCompressor, MatchesTheReferenceOnProse) {
    const char* paths[] = {"/usr/share/common-licenses/GPL-3", "/usr/share/vim/vim90/tutor/tutor.ja.sjis"};
    int found = 0;
    for (const char* path : paths) {
        if (!FileExists(path)) continue;
        SCOPED_TRACE(path);
        ExpectSameBytesPerRecord(ReadFile(path));
        ++found;
    }
    if (found == 0) GTEST_SKIP() << "no prose files on this system";
}

}  // namespace

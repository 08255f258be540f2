#include "support/compressor_shapes.h"

#include <string>

namespace {

void Append(Bytes& bytes, const Bytes& more) { bytes.insert(bytes.end(), more.begin(), more.end()); }

Bytes Joined(Bytes bytes, const Bytes& more) {
    Append(bytes, more);
    return bytes;
}

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

Bytes TwoLetters(std::mt19937& random, std::size_t length) { return FromAlphabet(random, length, Bytes{0x61, 0x62}); }

Bytes ThreeLetters(std::mt19937& random, std::size_t length) {
    return FromAlphabet(random, length, Bytes{0x61, 0x62, 0x63});
}

Bytes FiveLetters(std::mt19937& random, std::size_t length) {
    return FromAlphabet(random, length, Bytes{0x61, 0x62, 0x63, 0x64, 0x65});
}

Bytes SpacesAndLetters(std::mt19937& random, std::size_t length) {
    return FromAlphabet(random, length, Bytes{0x20, 0x20, 0x41, 0x61, 0x7F, 0x40, 0x3F});
}

Bytes HighBytes(std::mt19937& random, std::size_t length) {
    return FromAlphabet(random, length, Bytes{0x80, 0x81, 0x82, 0xA0, 0xBF, 0xC0, 0xFF, 0x01, 0x08, 0x20, 0x41});
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
    Bytes bytes = FromAlphabet(random, 16, Bytes{0x61, 0x62, 0x63, 0x64, 0x20, 0x82, 0xA0});
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
    const Bytes characters = Bytes{0x93, 0xFA, 0x96, 0x7B, 0x8C, 0xEA, 0x95, 0x5C, 0x8D, 0x95, 0x82, 0xA0, 0x82, 0xA2, 0x83, 0x41, 0xE0, 0x40, 0xFC, 0xFC, 0x81, 0x40, 0x88, 0x9F};
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
    return Joined(bytes, letters);
}

// Runs of bytes that must be escaped, of every length around the 8 that one
// run holds, between spaces, double spaces and bytes a space pairs with: the
// code writer's cases meet in every order.
Bytes EscapeRunsAndSpaces(std::mt19937& random, std::size_t length) {
    const Bytes escaped = Bytes{0x01, 0x05, 0x08, 0x80, 0x9F, 0xA0, 0xC0, 0xFF};
    const Bytes between[] = {Bytes{0x20}, Bytes{0x20, 0x20}, Bytes{0x20, 0x41}, Bytes{0x61},
                             Bytes{0x20, 0x7F, 0x20}, Bytes{0x20, 0x20, 0x20, 0x40}};
    std::uniform_int_distribution<std::size_t> runLength(1, 10);
    std::uniform_int_distribution<std::size_t> pickBetween(0, sizeof between / sizeof *between - 1);
    Bytes bytes;
    while (bytes.size() < length) {
        Append(bytes, FromAlphabet(random, runLength(random), escaped));
        Append(bytes, between[pickBetween(random)]);
    }
    bytes.resize(length);
    return bytes;
}

}  // namespace

const CompressorShape kCompressorShapes[] = {
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

const std::size_t kCompressorShapeCount = sizeof kCompressorShapes / sizeof *kCompressorShapes;

std::size_t ShapeRecordLength(int i, std::mt19937& random) {
    if (i < kShortRecords) return static_cast<std::size_t>(i + 1);
    if (i < kShortRecords + kFullRecords) return kFullRecordLength;
    return std::uniform_int_distribution<std::size_t>(1, kFullRecordLength)(random);
}

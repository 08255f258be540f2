// Throughput of the record compressor against the plain reference one, side
// by side on the same record-sized pieces of English text, Japanese
// Shift-JIS text and the shapes hardest for a match finder. Names read
// compress/<shape>/<compressor>; bench/palmdoc_ratios.py turns them into
// ratios.
#include <benchmark/benchmark.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "palmdoc/compressor.h"
#include "support/reference_compressor.h"

using palmdoc::CompressionCapacity;
using palmdoc::RecordCompressor;
using palmdoc::tBuf;

namespace {

using Bytes = std::vector<unsigned char>;

constexpr std::size_t kCorpusSize = 256 * 1024;
constexpr std::size_t kRecordSize = 4096;

Bytes RepeatTo(const std::string& text) {
    Bytes bytes;
    while (bytes.size() < kCorpusSize) bytes.insert(bytes.end(), text.begin(), text.end());
    bytes.resize(kCorpusSize);
    return bytes;
}

std::string FileText(const char* path) {
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

// Real texts when the system has them (Debian's licences, Vim's Japanese
// tutor in Shift-JIS), else generated ones.
Bytes EnglishText() {
    std::string text = FileText("/usr/share/common-licenses/GPL-3");
    if (text.empty()) {
        text = "The quick brown fox jumps over the lazy dog. Subject: Re: meeting on Monday\n"
               "From: someone at example dot com. Please find the minutes of the last meeting below.\n";
    }
    return RepeatTo(text);
}

// Mail-like Japanese sentences otherwise; the compiler turns them into
// Shift-JIS.
Bytes JapaneseText() {
    const std::string tutor = FileText("/usr/share/vim/vim90/tutor/tutor.ja.sjis");
    if (!tutor.empty()) return RepeatTo(tutor);
    const char* sentences[] = {
        "件名: 来週の打ち合わせについて\n", "お世話になっております。山田です。\n",
        "先日の会議の議事録を添付いたしますので、ご確認ください。\n", "日程の候補は以下の通りです。\n",
        "ご都合のよい日時をお知らせいただければ幸いです。\n", "よろしくお願いいたします。\n",
        "未読メッセージを変換しました。Palm で読めます。\n", "東京都千代田区丸の内一丁目\n",
    };
    std::mt19937 random(932);
    std::string text;
    while (text.size() < kCorpusSize) text += sentences[random() % (sizeof sentences / sizeof *sentences)];
    return RepeatTo(text);
}

Bytes RandomFrom(const Bytes& alphabet, uint32_t seed) {
    std::mt19937 random(seed);
    Bytes bytes(kCorpusSize);
    for (unsigned char& b : bytes) b = alphabet[random() % alphabet.size()];
    return bytes;
}

Bytes AnyBytes() {
    Bytes alphabet;
    for (int b = 0; b < 256; ++b) alphabet.push_back(static_cast<unsigned char>(b));
    return RandomFrom(alphabet, 1);
}

Bytes TwoLetters() { return RandomFrom(Bytes{'a', 'b'}, 2); }

Bytes ThreeLetters() { return RandomFrom(Bytes{'a', 'b', 'c'}, 3); }

Bytes OneByteRun() { return Bytes(kCorpusSize, 'a'); }

// Runs of seven equal bytes, each ended by a random one: the worst shape
// found for the compressor's search.
Bytes BrokenRuns() {
    std::mt19937 random(5);
    Bytes bytes(kCorpusSize, 'a');
    for (std::size_t at = 7; at < bytes.size(); at += 8) bytes[at] = static_cast<unsigned char>(random());
    return bytes;
}

// Japanese without a single ASCII byte: kanji and kana in random order. Every
// first byte and many second bytes must be escaped, and kanji whose second
// byte is below 0x80 break the escape runs.
Bytes DoubleByteRun() {
    const std::string characters = "日本語文字列変換未読議事録会議添付確認候補都合東京千代田区丸内一丁目"
                                   "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめも";
    std::mt19937 random(4);
    Bytes bytes;
    while (bytes.size() < kCorpusSize) {
        const std::size_t at = 2 * (random() % (characters.size() / 2));
        bytes.insert(bytes.end(), characters.begin() + static_cast<std::ptrdiff_t>(at),
                     characters.begin() + static_cast<std::ptrdiff_t>(at + 2));
    }
    bytes.resize(kCorpusSize);
    return bytes;
}

struct Shape {
    const char* name;
    Bytes (*make)();
};

const Shape kShapes[] = {
    {"english", EnglishText},
    {"japanese_sjis", JapaneseText},
    {"worst_random_bytes", AnyBytes},
    {"worst_two_letters", TwoLetters},
    {"worst_three_letters", ThreeLetters},
    {"worst_one_byte_run", OneByteRun},
    {"worst_double_byte_run", DoubleByteRun},
    {"worst_broken_runs", BrokenRuns},
};

// Each record arrives in a buffer kept from record to record, as the database
// writer hands it over.
template <typename Compress>
void CompressCorpus(benchmark::State& state, const Bytes& corpus, Compress compress) {
    tBuf record;
    for (auto _ : state) {
        for (std::size_t at = 0; at < corpus.size(); at += kRecordSize) {
            record.Rearm(CompressionCapacity(kRecordSize));
            std::memcpy(record.data, corpus.data() + at, kRecordSize);
            record.length = kRecordSize;
            int compressError = 0;
            benchmark::DoNotOptimize(compress(record, compressError));
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(corpus.size()));
}

// The writer's way: one compressor, its tables kept from record to record.
void Fast(benchmark::State& state, const Bytes* corpus) {
    RecordCompressor compressor;
    CompressCorpus(state, *corpus, [&](tBuf& record, int& error) { return compressor.Compress(record, error); });
}

void Oracle(benchmark::State& state, const Bytes* corpus) { CompressCorpus(state, *corpus, CompressRecordReference); }

const bool kRegistered = [] {
    static std::vector<Bytes> corpora;
    corpora.reserve(sizeof kShapes / sizeof *kShapes);
    for (const Shape& shape : kShapes) {
        corpora.push_back(shape.make());
        const Bytes* corpus = &corpora.back();
        const std::string prefix = std::string("compress/") + shape.name;
        benchmark::RegisterBenchmark((prefix + "/fast").c_str(), Fast, corpus)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((prefix + "/oracle").c_str(), Oracle, corpus)->Unit(benchmark::kMillisecond);
    }
    return true;
}();

}  // namespace

BENCHMARK_MAIN();

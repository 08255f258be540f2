// Throughput of the fast record compressor against the reference one, on
// record-sized pieces of English text, Japanese Shift-JIS text and the shapes
// hardest for each search.
#include <benchmark/benchmark.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "palmdoc/compress_reference.h"
#include "palmdoc/compressor.h"

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

Bytes OneByteRun() { return Bytes(kCorpusSize, 'a'); }

const Bytes& Corpus(int which) {
    static const Bytes corpora[] = {EnglishText(), JapaneseText(), AnyBytes(), TwoLetters(), OneByteRun()};
    return corpora[which];
}

const char* const kCorpusNames[] = {"english", "japanese_sjis", "worst_random_bytes", "worst_two_letters",
                                    "worst_one_byte_run"};

template <uint32_t (*Compress)(tBuf&, int&)>
void CompressCorpus(benchmark::State& state) {
    const Bytes& corpus = Corpus(static_cast<int>(state.range(0)));
    state.SetLabel(kCorpusNames[state.range(0)]);
    for (auto _ : state) {
        for (std::size_t at = 0; at < corpus.size(); at += kRecordSize) {
            tBuf record;
            record.Adopt(new unsigned char[kRecordSize], kRecordSize);
            std::memcpy(record.data, corpus.data() + at, kRecordSize);
            int compressError = 0;
            benchmark::DoNotOptimize(Compress(record, compressError));
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(corpus.size()));
}

}  // namespace

BENCHMARK_TEMPLATE(CompressCorpus, CompressRecord)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(CompressCorpus, CompressRecordReference)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();

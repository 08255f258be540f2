// The record compressor of the 32-bit Windows build against the reference
// one: that build hashes and compares by paths of its own, which the native
// tests never take. Runs every shape of the native property test, and the
// files named on the command line record by record, through one compressor
// kept for all of them, as the writer keeps one. Prints "ok NAME RECORDS" or
// "FAIL NAME record K (N bytes)" for each, then "N failed".
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "palmdoc/compressor.h"
#include "support/compressor_shapes.h"
#include "support/reference_compressor.h"

namespace {

Bytes Coded(const Bytes& input, RecordCompressor* kept) {
    tBuf record;
    record.Rearm(CompressionCapacity(static_cast<uint32_t>(input.size())));
    if (!input.empty()) std::memcpy(record.data, input.data(), input.size());
    record.length = static_cast<uint32_t>(input.size());
    int compressError = 0;
    if (kept != nullptr) {
        kept->Compress(record, compressError);
    } else {
        CompressRecordReference(record, compressError);
    }
    if (compressError != 0) return Bytes();
    return Bytes(record.data, record.data + record.length);
}

class Agreement {
public:
    // True when the input codes as the reference codes it.
    bool Check(const Bytes& input) {
        const Bytes reference = Coded(input, nullptr);
        return !reference.empty() && Coded(input, &kept_) == reference;
    }

    void Report(const std::string& name, int records, int firstFailure, std::size_t failedLength) {
        if (firstFailure < 0) {
            std::printf("ok %s %d\n", name.c_str(), records);
        } else {
            std::printf("FAIL %s record %d (%u bytes)\n", name.c_str(), firstFailure,
                        static_cast<unsigned>(failedLength));
            ++failures_;
        }
    }

    int Failures() const { return failures_; }

private:
    RecordCompressor kept_;
    int failures_ = 0;
};

void CheckShapes(Agreement& agreement) {
    std::mt19937 random(kShapeSeed);
    for (std::size_t k = 0; k < kCompressorShapeCount; ++k) {
        int firstFailure = -1;
        std::size_t failedLength = 0;
        for (int i = 0; i < kRecordsPerShape; ++i) {
            const Bytes input = kCompressorShapes[k].generate(random, ShapeRecordLength(i, random));
            if (firstFailure < 0 && !agreement.Check(input)) {
                firstFailure = i;
                failedLength = input.size();
            }
        }
        agreement.Report(kCompressorShapes[k].name, kRecordsPerShape, firstFailure, failedLength);
    }
}

bool ReadText(const char* path, Bytes& text) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    text.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return !file.bad();
}

void CheckText(Agreement& agreement, const char* name, const Bytes& text) {
    int records = 0;
    int firstFailure = -1;
    std::size_t failedLength = 0;
    for (std::size_t at = 0; at < text.size(); at += kFullRecordLength, ++records) {
        const std::size_t end = at + kFullRecordLength < text.size() ? at + kFullRecordLength : text.size();
        const Bytes input(text.begin() + static_cast<std::ptrdiff_t>(at), text.begin() + static_cast<std::ptrdiff_t>(end));
        if (firstFailure < 0 && !agreement.Check(input)) {
            firstFailure = records;
            failedLength = input.size();
        }
    }
    agreement.Report(name, records, firstFailure, failedLength);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--help") == 0) {
        std::printf("usage: compressor-agreement [TEXT...]\n"
                    "Compresses the test shapes and each TEXT, a record at a time, with the record\n"
                    "compressor and the reference one, and reports any record where they differ.\n");
        return 0;
    }
    std::vector<Bytes> texts(static_cast<std::size_t>(argc > 1 ? argc - 1 : 0));
    for (int k = 1; k < argc; ++k) {
        if (!ReadText(argv[k], texts[static_cast<std::size_t>(k - 1)])) {
            std::fprintf(stderr, "compressor-agreement: cannot read %s\n", argv[k]);
            return 2;
        }
    }
    Agreement agreement;
    CheckShapes(agreement);
    for (int k = 1; k < argc; ++k) CheckText(agreement, argv[k], texts[static_cast<std::size_t>(k - 1)]);
    std::printf("%d failed\n", agreement.Failures());
    return agreement.Failures() == 0 ? 0 : 1;
}

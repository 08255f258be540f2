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

using palmdoc::CompressionCapacity;
using palmdoc::RecordCompressor;
using palmdoc::tBuf;

namespace {

// A record buffer holding input, with room for its code in place.
void Fill(tBuf& record, const Bytes& input) {
    record.Rearm(CompressionCapacity(static_cast<uint32_t>(input.size())));
    if (!input.empty()) std::memcpy(record.data, input.data(), input.size());
    record.length = static_cast<uint32_t>(input.size());
}

bool SameCode(const tBuf& a, const tBuf& b) {
    return a.length == b.length && (a.length == 0 || std::memcmp(a.data, b.data, a.length) == 0);
}

// The records of one shape or text are checked as they come; the first that
// codes otherwise than the reference is reported with its number.
class Agreement {
public:
    void Start(const std::string& name) {
        name_ = name;
        records_ = 0;
        firstFailure_ = -1;
        failedLength_ = 0;
    }

    void Check(const Bytes& input) {
        tBuf fast;
        tBuf reference;
        Fill(fast, input);
        Fill(reference, input);
        int fastError = 0;
        int referenceError = 0;
        kept_.Compress(fast, fastError);
        CompressRecordReference(reference, referenceError);
        const bool agrees = fastError == 0 && referenceError == 0 && SameCode(fast, reference);
        if (!agrees && firstFailure_ < 0) {
            firstFailure_ = records_;
            failedLength_ = input.size();
        }
        ++records_;
    }

    void Report() {
        if (firstFailure_ < 0) {
            std::printf("ok %s %d\n", name_.c_str(), records_);
        } else {
            std::printf("FAIL %s record %d (%u bytes)\n", name_.c_str(), firstFailure_,
                        static_cast<unsigned>(failedLength_));
            ++failures_;
        }
    }

    int Failures() const { return failures_; }

private:
    RecordCompressor kept_;
    std::string name_;
    int records_ = 0;
    int firstFailure_ = -1;
    std::size_t failedLength_ = 0;
    int failures_ = 0;
};

void CheckShapes(Agreement& agreement) {
    std::mt19937 random(kShapeSeed);
    for (std::size_t k = 0; k < kCompressorShapeCount; ++k) {
        agreement.Start(kCompressorShapes[k].name);
        for (int i = 0; i < kRecordsPerShape; ++i) {
            agreement.Check(kCompressorShapes[k].generate(random, ShapeRecordLength(i, random)));
        }
        agreement.Report();
    }
}

bool ReadText(const char* path, Bytes& text) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    text.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return !file.bad();
}

void CheckText(Agreement& agreement, const char* name, const Bytes& text) {
    agreement.Start(name);
    for (std::size_t at = 0; at < text.size(); at += kFullRecordLength) {
        const std::size_t end = at + kFullRecordLength < text.size() ? at + kFullRecordLength : text.size();
        agreement.Check(Bytes(text.begin() + static_cast<std::ptrdiff_t>(at),
                              text.begin() + static_cast<std::ptrdiff_t>(end)));
    }
    agreement.Report();
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

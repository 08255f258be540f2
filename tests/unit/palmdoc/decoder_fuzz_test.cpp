// A bounded random fuzz of the database reader and the record decoder: random
// and mutated files must be accepted or refused, never read out of bounds
// (the sanitizers watch). Fixed seed, so a failure repeats.
#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "palmdoc/decompressor.h"
#include "palmdoc/pdb_reader.h"
#include "palmdoc/pdb_writer.h"
#include "palmdoc_test_support.h"

namespace {

constexpr uint32_t kSeed = 4096;
constexpr int kRounds = 20000;

TEST(DecoderFuzz, RandomRecordsNeverOverrun) {
    std::mt19937 random(kSeed);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> length(0, 64);
    for (int round = 0; round < kRounds; ++round) {
        // Exactly sized copies, so that a read past the end is caught.
        std::vector<unsigned char> record(static_cast<std::size_t>(length(random)));
        for (unsigned char& b : record) b = static_cast<unsigned char>(byte(random));
        std::vector<unsigned char> text;
        std::string error;
        if (!DecompressRecord(record.data(), record.size(), 4096, text, error)) {
            EXPECT_FALSE(error.empty());
        }
        EXPECT_LE(text.size(), 4096u + 10u);
    }
}

TEST(DecoderFuzz, MutatedDatabasesNeverOverrun) {
    ScratchFolder folder;
    Bytes text;
    for (int i = 0; i < 9000; ++i) text.push_back(static_cast<unsigned char>(i % 97 == 0 ? '\n' : 'a' + (i * i) % 23));
    WriteFile(folder.Path("t.txt"), text);
    ASSERT_EQ(WritePalmDoc(folder.Path("t.txt").c_str(), folder.Path("t.pdb").c_str(), "fuzz", nullptr), 0);
    const Bytes good = ReadFile(folder.Path("t.pdb"));

    std::mt19937 random(kSeed);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> mutations(1, 8);
    std::uniform_int_distribution<std::size_t> headerPosition(0, 140);
    std::uniform_int_distribution<std::size_t> anyPosition(0, good.size() - 1);
    int accepted = 0;
    for (int round = 0; round < kRounds / 10; ++round) {
        Bytes bad = good;
        const int count = mutations(random);
        for (int m = 0; m < count; ++m) {
            const std::size_t at = round % 2 == 0 ? headerPosition(random) : anyPosition(random);
            bad[at] = static_cast<unsigned char>(byte(random));
        }
        if (round % 5 == 0) bad.resize(anyPosition(random));
        // Exactly sized, so the sanitizer sees any read past the end.
        std::unique_ptr<unsigned char[]> exact(new unsigned char[bad.size() + (bad.empty() ? 1 : 0)]);
        std::copy(bad.begin(), bad.end(), exact.get());
        PalmDocDatabase database;
        std::string error;
        if (ReadPalmDocDatabase(exact.get(), bad.size(), database, error)) {
            ++accepted;
        } else {
            EXPECT_FALSE(error.empty());
        }
    }
    EXPECT_GT(accepted, 0);
}

}  // namespace

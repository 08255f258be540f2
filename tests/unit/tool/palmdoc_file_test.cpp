// The record-by-record reader against the in-memory reader of the library:
// on every database, whole or damaged, both accept or both refuse, and give
// the same fields and text; unpack and info keep their memory flat.
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "palmdoc/pdb_reader.h"
#include "tool_test_support.h"
#include "tools/coraxtopalm/palmdoc_file.h"

namespace {

constexpr unsigned kSeed = 1101;
constexpr int kMutations = 1500;

struct Outcome {
    bool accepted = false;
    PalmDocDatabase database;  // records' text lengths and, read whole, the text
};

Outcome ReadInMemory(const std::string& bytes) {
    Outcome outcome;
    std::string error;
    outcome.accepted = ReadPalmDocDatabase(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(),
                                           outcome.database, error);
    return outcome;
}

Outcome ReadRecordByRecord(const ScratchFolder& folder, const std::string& bytes) {
    folder.Write("d.pdb", bytes);
    Outcome outcome;
    PalmDocFile file;
    std::string error;
    if (!file.Open(folder.Path("d.pdb"), "d.pdb", error)) return outcome;
    std::vector<unsigned char> text;
    for (std::size_t k = 0; k < file.Database().records.size(); ++k) {
        if (!file.ReadRecord(k, text, error)) return outcome;
        outcome.database.text.insert(outcome.database.text.end(), text.begin(), text.end());
    }
    outcome.accepted = true;
    const std::vector<unsigned char> whole = outcome.database.text;
    outcome.database = file.Database();
    outcome.database.text = whole;
    return outcome;
}

void ExpectSame(const Outcome& memory, const Outcome& streamed) {
    ASSERT_EQ(memory.accepted, streamed.accepted);
    if (!memory.accepted) return;
    EXPECT_EQ(memory.database.name, streamed.database.name);
    EXPECT_EQ(memory.database.compression, streamed.database.compression);
    EXPECT_EQ(memory.database.textLength, streamed.database.textLength);
    ASSERT_EQ(memory.database.records.size(), streamed.database.records.size());
    for (std::size_t k = 0; k < memory.database.records.size(); ++k) {
        EXPECT_EQ(memory.database.records[k].offset, streamed.database.records[k].offset);
        EXPECT_EQ(memory.database.records[k].storedLength, streamed.database.records[k].storedLength);
        EXPECT_EQ(memory.database.records[k].textLength, streamed.database.records[k].textLength);
    }
    EXPECT_EQ(memory.database.text, streamed.database.text);
}

std::string SampleText() {
    std::string text;
    for (int i = 0; i < 300; ++i) text += i % 5 == 0 ? "予定表の件、了解です。\r\n" : "The quick brown fox\tjumps.\n";
    return text;
}

TEST(RecordByRecordReader, AgreesWithTheInMemoryReaderOnMutatedDatabases) {
    ScratchFolder folder;
    const std::string good = PackedDatabase(SampleText());
    ExpectSame(ReadInMemory(good), ReadRecordByRecord(folder, good));
    std::mt19937 random(kSeed);
    std::uniform_int_distribution<int> byte(0, 255);
    int accepted = 0;
    for (int round = 0; round < kMutations; ++round) {
        std::string bad = good;
        // Damage the header and record list more often than the records.
        const std::size_t reach = round % 2 == 0 ? 140 : bad.size();
        std::uniform_int_distribution<std::size_t> where(0, reach - 1);
        for (int k = 1 + round % 3; k > 0; --k) bad[where(random)] = static_cast<char>(byte(random));
        if (round % 7 == 0) bad.resize(where(random));
        const Outcome memory = ReadInMemory(bad);
        SCOPED_TRACE("round " + std::to_string(round));
        ExpectSame(memory, ReadRecordByRecord(folder, bad));
        accepted += memory.accepted ? 1 : 0;
    }
    // Both kinds of outcome were tried.
    EXPECT_GT(accepted, kMutations / 20);
    EXPECT_LT(accepted, kMutations - kMutations / 20);
}

TEST(RecordByRecordReader, RefusesALongLastRecordAsTheInMemoryReaderDoes) {
    ScratchFolder folder;
    // Trailing bytes make the last record far longer than any record that
    // holds 4096 bytes of text, compressed or not; the record-by-record
    // reader reads no more of it than can decode, and both readers refuse it.
    const std::string trailing(100000, 'z');
    for (const std::string& padded :
         {PackedDatabase("abc\n") + trailing, UncompressedDatabase(2, 4096) + trailing}) {
        const Outcome memory = ReadInMemory(padded);
        EXPECT_FALSE(memory.accepted);
        ExpectSame(memory, ReadRecordByRecord(folder, padded));
    }
}

// Peak memory of unpack and info on a document of 50 times the size: the
// in-memory reader held the file and its text, twice the document.
TEST(StreamedCommands, MemoryDoesNotGrowWithTheDocument) {
    constexpr std::size_t kRecordBytes = 4096;
    constexpr std::size_t kSmallRecords = 250;
    constexpr std::size_t kLargeRecords = 12500;  // 51 MB of text
    constexpr long kAllowedGrowthKilobytes = 8 * 1024;
    ScratchFolder folder;
    folder.Write("small.pdb", UncompressedDatabase(kSmallRecords, kRecordBytes));
    folder.Write("large.pdb", UncompressedDatabase(kLargeRecords, kRecordBytes));
    for (const char* command : {"unpack", "info"}) {
        const std::vector<std::string> small = {command, "small.pdb"};
        const std::vector<std::string> large = {command, "large.pdb"};
        ToolInput toNull;
        toNull.standardOutput = "/dev/null";
        const ToolRun smallRun = folder.Run(small, toNull);
        const ToolRun largeRun = folder.Run(large, toNull);
        ASSERT_EQ(smallRun.status, 0) << smallRun.err;
        ASSERT_EQ(largeRun.status, 0) << largeRun.err;
        EXPECT_LT(largeRun.peakKilobytes - smallRun.peakKilobytes, kAllowedGrowthKilobytes)
            << command << ": " << smallRun.peakKilobytes << " KB for 1 MB, " << largeRun.peakKilobytes
            << " KB for 51 MB";
    }
}

}  // namespace

// The database writer: layout, record cutting and every way it can fail.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "palmdoc/pdb_writer.h"
#include "palmdoc_test_support.h"
#include "support/database_text.h"

using palmdoc::PalmDocRecord;
using palmdoc::WriteCause;
using palmdoc::WriteFailure;
using palmdoc::WritePalmDoc;

namespace {

constexpr uint32_t kRecord = 4096;

Bytes Text(std::size_t length, unsigned char first = 'a') {
    Bytes bytes(length);
    for (std::size_t i = 0; i < length; ++i) bytes[i] = static_cast<unsigned char>(first + (i * 7 + i / 26) % 26);
    return bytes;
}

class WriterTest : public ::testing::Test {
protected:
    ScratchFolder folder;
    std::string text = folder.Path("text.txt");
    std::string pdbPath = folder.Path("out.pdb");

    int Write(const Bytes& fileBytes, const char* index = nullptr, const char* title = "title") {
        WriteFile(text, fileBytes);
        return WritePalmDoc(text.c_str(), pdbPath.c_str(), title, index);
    }

    DatabaseText Read() {
        DatabaseText database;
        std::string error;
        EXPECT_TRUE(ReadDatabaseText(ReadFile(pdbPath), database, error)) << error;
        return database;
    }

    // Record k's text, decompressed.
    Bytes RecordText(const DatabaseText& database, std::size_t k) {
        std::size_t start = 0;
        for (std::size_t i = 1; i < k; ++i) start += database.records[i - 1].textLength;
        const auto from = database.text.begin() + static_cast<std::ptrdiff_t>(start);
        return Bytes(from, from + database.records[k - 1].textLength);
    }
};

TEST_F(WriterTest, WritesTheWorkedExample) {
    ASSERT_EQ(Write(Repeat(FromHex("61 62 63"), 6), nullptr, "test"), 0);
    const std::string expected =
        "74 65 73 74 " + ToHex(Bytes(32, 0)) +
        " 06 D1 44 AE 06 D1 44 AE " + ToHex(Bytes(16, 0)) + " 54 45 58 74 52 45 41 64 " + ToHex(Bytes(8, 0)) +
        " 00 02 00 00 00 60 40 6F 80 00 00 00 00 70 40 6F 80 01 00 00"
        " 00 02 00 00 00 00 00 12 00 01 10 00 00 00 00 00 61 62 63 80 1F 80 61 63";
    EXPECT_EQ(ToHex(ReadFile(pdbPath)), expected);
}

TEST_F(WriterTest, EmptyTextGivesHeaderAndRecordZeroOnly) {
    ASSERT_EQ(Write({}), 0);
    const Bytes file = ReadFile(pdbPath);
    ASSERT_EQ(file.size(), 104u);
    EXPECT_EQ(Field16(file, 76), 1);
    EXPECT_EQ(ToHex(Bytes(file.begin() + 78, file.end())),
              "00 00 00 58 40 6F 80 00 00 00 00 02 00 00 00 00 00 00 00 00 10 00 00 00 00 00");
}

TEST_F(WriterTest, CutsTheStreamInto4096ByteRecords) {
    struct Case {
        std::size_t fileLength;
        std::vector<std::size_t> recordLengths;
    };
    const Case cases[] = {{1, {1}}, {4096, {4096}}, {4097, {4096, 1}}, {8192, {4096, 4096}}, {10000, {4096, 4096, 1808}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fileLength);
        const Bytes input = Text(c.fileLength);
        ASSERT_EQ(Write(input), 0);
        const DatabaseText database = Read();
        ASSERT_EQ(database.recordCount, c.recordLengths.size());
        EXPECT_EQ(database.numberOfRecords, c.recordLengths.size() + 1);
        for (std::size_t k = 0; k < c.recordLengths.size(); ++k) EXPECT_EQ(database.records[k].textLength, c.recordLengths[k]);
        EXPECT_EQ(database.text, input);
        EXPECT_EQ(database.textLength, c.fileLength);
    }
}

TEST_F(WriterTest, PutsTheIndexInFrontOfTheFile) {
    const Bytes index = Text(5000, 'A');
    const std::string indexText(index.begin(), index.end());
    const Bytes file = Text(100);
    ASSERT_EQ(Write(file, indexText.c_str()), 0);
    const DatabaseText database = Read();
    ASSERT_EQ(database.recordCount, 2);
    EXPECT_EQ(RecordText(database, 1), Bytes(index.begin(), index.begin() + kRecord));
    EXPECT_EQ(RecordText(database, 2), Concat(Bytes(index.begin() + kRecord, index.end()), file));
    EXPECT_EQ(database.textLength, 5100u);
}

TEST_F(WriterTest, StartsTheFileInTheRecordAfterAFullIndex) {
    const Bytes index = Text(kRecord, 'A');
    const std::string indexText(index.begin(), index.end());
    const Bytes file = Text(10);
    ASSERT_EQ(Write(file, indexText.c_str()), 0);
    const DatabaseText database = Read();
    ASSERT_EQ(database.recordCount, 2);
    EXPECT_EQ(RecordText(database, 1), index);
    EXPECT_EQ(RecordText(database, 2), file);
}

TEST_F(WriterTest, WritesAnIndexWithAnEmptyFile) {
    const Bytes index = Text(5000, 'A');
    const std::string indexText(index.begin(), index.end());
    ASSERT_EQ(Write({}, indexText.c_str()), 0);
    EXPECT_EQ(Read().text, index);
}

TEST_F(WriterTest, TreatsAnEmptyIndexAsNone) {
    ASSERT_EQ(Write(Text(300), nullptr), 0);
    const Bytes withoutIndex = ReadFile(pdbPath);
    ASSERT_EQ(Write(Text(300), ""), 0);
    EXPECT_EQ(ReadFile(pdbPath), withoutIndex);
}

TEST_F(WriterTest, NamesTheDatabaseWithoutHalfACharacter) {
    // 20 double-byte characters: the 16th would need byte 31, which must
    // stay 0, so 15 characters make the name.
    std::string title;
    for (int i = 0; i < 20; ++i) title += "\x93\xFA";
    ASSERT_EQ(Write(Text(10), nullptr, title.c_str()), 0);
    const Bytes file = ReadFile(pdbPath);
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 30), Bytes(title.begin(), title.begin() + 30));
    EXPECT_EQ(Bytes(file.begin() + 30, file.begin() + 32), Bytes(2, 0));
}

TEST_F(WriterTest, CountsDroppedBytesInTheTextLength) {
    const Bytes input = Repeat(FromHex("61 62 0D 0A"), 100);
    ASSERT_EQ(Write(input), 0);
    const DatabaseText database = Read();
    EXPECT_EQ(database.textLength, 400u);
    EXPECT_EQ(database.text, Repeat(FromHex("61 62 0A"), 100));
}

TEST_F(WriterTest, PointsEveryEntryAtItsRecord) {
    for (uint32_t records : {1u, 4u, 31u, 32u, 33u, 65u, 70u}) {
        SCOPED_TRACE(records);
        ASSERT_EQ(Write(Text((records - 1) * kRecord + 5)), 0);
        const Bytes file = ReadFile(pdbPath);
        const DatabaseText database = Read();
        ASSERT_EQ(database.records.size(), records);
        for (uint32_t k = 0; k <= records; ++k) {
            EXPECT_EQ(Field32(file, 78 + 8 * k + 4), 0x406F8000u + k);
        }
        uint32_t expected = 8 * records + 104;
        for (const PalmDocRecord& record : database.records) {
            EXPECT_EQ(record.offset, expected);
            expected += record.storedLength;
        }
        EXPECT_EQ(expected, file.size());
    }
}

// Lines of 10 bytes, of which the tab and the CR are dropped, across three
// records after a 6-byte index: a bookmark at line i lands on the line in
// the decompressed text, at 6 + 8i, in whichever record the line falls.
TEST_F(WriterTest, AppendsABookmarkRecordPerBookmarkAtItsPlaceInTheShownText) {
    std::string lines;
    for (int i = 0; i < 1000; ++i) lines += "L" + std::to_string(1000 + i) + "\tab\r\n";
    WriteFile(text, Bytes(lines.begin(), lines.end()));
    const std::vector<int> marked = {0, 1, 409, 410, 820, 999};
    palmdoc::Bookmarks bookmarks;
    for (int line : marked) bookmarks.push_back(palmdoc::MakeBookmark(("L" + std::to_string(1000 + line)).c_str(), 10 * line));
    ASSERT_EQ(WritePalmDoc(text.c_str(), pdbPath.c_str(), "t", "INDEX\n", bookmarks), 0);
    const Bytes file = ReadFile(pdbPath);
    const DatabaseText database = Read();
    const uint32_t records = 1 + 3 + marked.size();
    EXPECT_EQ(database.numberOfRecords, records);
    EXPECT_EQ(database.recordCount, 3);
    EXPECT_EQ(database.textLength, 6u + lines.size());
    ASSERT_EQ(database.bookmarks.size(), marked.size());
    uint32_t offset = Field32(file, 78 + 8 * 4);
    EXPECT_EQ(offset, file.size() - 20 * marked.size());
    for (uint32_t k = 0; k < records; ++k) EXPECT_EQ(Field32(file, 78 + 8 * k + 4), 0x406F8000u + k);
    for (std::size_t b = 0; b < marked.size(); ++b) {
        SCOPED_TRACE(marked[b]);
        const std::string name = "L" + std::to_string(1000 + marked[b]);
        EXPECT_EQ(Field32(file, 78 + 8 * (4 + b)), offset + 20 * b);
        EXPECT_EQ(ToHex(Bytes(file.begin() + offset + 20 * b, file.begin() + offset + 20 * b + 16)),
                  ToHex(Concat(Bytes(name.begin(), name.end()), Bytes(11, 0))));
        EXPECT_EQ(database.bookmarks[b].name, name);
        EXPECT_EQ(database.bookmarks[b].offset, 6u + 8 * marked[b]);
        const std::string shown = name + "ab\n";
        EXPECT_EQ(Bytes(database.text.begin() + database.bookmarks[b].offset,
                        database.text.begin() + database.bookmarks[b].offset + shown.size()),
                  Bytes(shown.begin(), shown.end()));
    }
}

TEST_F(WriterTest, KeepsOnlyTheBookmarksInsideTheFileThatFitIn65535Records) {
    const struct {
        std::vector<uint64_t> places;
        std::size_t kept;
    } cases[] = {{std::vector<uint64_t>(65534, 0), 65533}, {{0, 9, 10, 50}, 2}, {{}, 0}};
    for (const auto& test : cases) {
        SCOPED_TRACE(test.places.size());
        palmdoc::Bookmarks bookmarks;
        for (uint64_t place : test.places) bookmarks.push_back(palmdoc::MakeBookmark("m", place));
        WriteFile(text, Text(10));
        ASSERT_EQ(WritePalmDoc(text.c_str(), pdbPath.c_str(), "t", nullptr, bookmarks), 0);
        const DatabaseText database = Read();
        EXPECT_EQ(database.numberOfRecords, 2 + test.kept);
        EXPECT_EQ(database.bookmarks.size(), test.kept);
        EXPECT_EQ(database.text, Text(10));
    }
}

// The record is counted over the index and the file, as readers count it.
TEST_F(WriterTest, FailsOnARecordThatFiltersToNothingAndNamesIt) {
    const struct {
        uint32_t records;
        uint32_t controlRecord;
    } cases[] = {{2, 1}, {70, 36}, {70, 70}};
    for (const auto& test : cases) {
        SCOPED_TRACE(test.controlRecord);
        Bytes input = Text((test.records - 1) * kRecord + 10);
        std::fill(input.begin() + (test.controlRecord - 1) * kRecord,
                  input.begin() + std::min<std::size_t>(test.controlRecord * kRecord, input.size()), 0x09);
        WriteFailure failure;
        WriteFile(text, Bytes(input.begin() + kRecord, input.end()));
        const std::string index(input.begin(), input.begin() + kRecord);
        EXPECT_EQ(WritePalmDoc(text.c_str(), pdbPath.c_str(), "t", index.c_str(), {}, &failure), 1);
        EXPECT_EQ(failure.cause, WriteCause::kEmptyRecord);
        EXPECT_EQ(failure.record, test.controlRecord);
    }
}

std::vector<std::pair<uint64_t, uint64_t>> progressCalls;

void RecordProgress(uint64_t textDone, uint64_t textLength) { progressCalls.emplace_back(textDone, textLength); }

TEST_F(WriterTest, TellsItsProgressAfterEveryRecord) {
    progressCalls.clear();
    WriteFile(text, Text(2 * kRecord + 1));
    ASSERT_EQ(WritePalmDoc(text.c_str(), pdbPath.c_str(), "t", "ab", {}, nullptr, RecordProgress), 0);
    const uint64_t total = 2 * kRecord + 3;
    const std::vector<std::pair<uint64_t, uint64_t>> expected = {{kRecord, total}, {2 * kRecord, total}, {total, total}};
    EXPECT_EQ(progressCalls, expected);
}

// A sparse file stands for a text too long for 65534 records.
void MakeSparseFile(const std::string& path, uint64_t length) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(std::fseek(file, static_cast<long>(length - 1), SEEK_SET), 0);
    ASSERT_EQ(std::fputc('x', file), 'x');
    ASSERT_EQ(std::fclose(file), 0);
}

TEST_F(WriterTest, RefusesATextBeyond65534RecordsBeforeWritingAnything) {
    const uint64_t limit = uint64_t{65534} * kRecord;
    const struct {
        uint64_t fileLength;
        const char* index;
    } cases[] = {{limit + 1, nullptr}, {limit, "x"}};
    for (const auto& test : cases) {
        SCOPED_TRACE(test.fileLength);
        MakeSparseFile(text, test.fileLength);
        WriteFailure failure;
        EXPECT_EQ(WritePalmDoc(text.c_str(), pdbPath.c_str(), "t", test.index, {}, &failure), 1);
        EXPECT_EQ(failure.cause, WriteCause::kTooLong);
        EXPECT_EQ(failure.textLength, limit + 1);
        EXPECT_TRUE(ReadFile(pdbPath).empty());
    }
}

TEST_F(WriterTest, FailsWhenTheDiskIsFull) {
    if (!FileExists("/dev/full")) GTEST_SKIP() << "no /dev/full on this system";
    // What the stream holds reaches the device at the final flush, at the
    // seek to the record list, or at a write that fills the stream's buffer.
    const struct {
        std::size_t length;
        platform::FileOperation failing;
    } cases[] = {{0, platform::FileOperation::kFlush},
                 {10, platform::FileOperation::kSeek},
                 {200000, platform::FileOperation::kWrite}};
    for (const auto& test : cases) {
        SCOPED_TRACE(test.length);
        WriteFile(text, Text(test.length));
        WriteFailure failure;
        EXPECT_EQ(WritePalmDoc(text.c_str(), "/dev/full", "t", nullptr, {}, &failure), 1);
        EXPECT_EQ(failure.file.operation, test.failing);
        EXPECT_STREQ(failure.file.path, "/dev/full");
        EXPECT_EQ(failure.file.errorNumber, ENOSPC);
    }
}

}  // namespace

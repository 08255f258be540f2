// The databases pack and convert write and unpack and info read: round
// trips, independent readers, bookmarks, a record longer than any that holds
// a record of text, and memory that stays flat whatever the document's size.
#include <cstdint>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/cp932.h"
#include "support/tool_run.h"
#include "tools/coraxtopalm/palmdoc_file.h"

namespace {

using ::testing::HasSubstr;

constexpr std::uint32_t kHeaderSize = 78;
constexpr std::uint32_t kEntrySize = 8;
constexpr std::uint32_t kDocHeaderSize = 16;

void Put16(std::string& bytes, std::size_t at, std::uint32_t value) {
    bytes[at] = static_cast<char>(value >> 8);
    bytes[at + 1] = static_cast<char>(value);
}

void Put32(std::string& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(value >> (24 - 8 * i));
}

// An uncompressed database (compression 1) of records of recordBytes bytes
// each, made directly: large documents in no time.
std::string UncompressedDatabase(std::size_t records, std::size_t recordBytes) {
    const std::size_t listEnd = kHeaderSize + kEntrySize * (records + 1) + 2;
    std::string bytes(listEnd + kDocHeaderSize, '\0');
    bytes.replace(0, 4, "big\0", 4);
    bytes.replace(60, 8, "TEXtREAd");
    Put16(bytes, 76, static_cast<std::uint32_t>(records + 1));
    Put32(bytes, kHeaderSize, static_cast<std::uint32_t>(listEnd));
    for (std::size_t k = 1; k <= records; ++k) {
        Put32(bytes, kHeaderSize + kEntrySize * k,
              static_cast<std::uint32_t>(listEnd + kDocHeaderSize + recordBytes * (k - 1)));
    }
    Put16(bytes, listEnd, 1);
    Put32(bytes, listEnd + 4, static_cast<std::uint32_t>(records * recordBytes));
    Put16(bytes, listEnd + 8, static_cast<std::uint32_t>(records));
    Put16(bytes, listEnd + 10, static_cast<std::uint32_t>(recordBytes));
    std::string record(recordBytes, 'a');
    for (std::size_t k = 0; k < recordBytes; k += 64) record[k] = '\n';
    bytes.reserve(bytes.size() + records * recordBytes);
    for (std::size_t k = 0; k < records; ++k) bytes += record;
    return bytes;
}

// English and Shift-JIS lines, CR LF ends and a tab, across three records.
std::string SampleText() {
    std::string text;
    for (int i = 0; i < 300; ++i) text += i % 3 == 0 ? "\x93\xFA\x96\x7B\x8C\xEA\x82\xCC\x83\x65\x83\x4C\x83\x58\x83\x67\r\n" : "The quick\tfox\r\n";
    return text;
}

// What a reader shows of text: the writer drops control characters but for
// the line feed.
std::string Shown(const std::string& text) {
    std::string shown;
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x20 || c == '\n') shown += c;
    }
    return shown;
}

TEST(PackAndUnpack, GiveTheTextAsAReaderShowsIt) {
    ScratchFolder folder;
    folder.Write("mail.txt", SampleText());
    folder.Write("index.txt", "INDEX\n");
    ASSERT_EQ(RunTool(folder, {"pack", "mail.txt", "mail.pdb"}).status, 0);
    ASSERT_EQ(RunTool(folder, {"unpack", "mail.pdb", "out.txt"}).status, 0);
    EXPECT_EQ(folder.Read("out.txt"), Shown(SampleText()));
    EXPECT_EQ(RunTool(folder, {"unpack", "mail.pdb"}).out, Shown(SampleText()));

    ASSERT_EQ(RunTool(folder, {"pack", "--title", "Doc", "--index", "index.txt", "mail.txt", "doc.pdb"}).status, 0);
    EXPECT_EQ(folder.Read("doc.pdb").substr(0, 4), std::string("Doc\0", 4));
    EXPECT_EQ(RunTool(folder, {"unpack", "doc.pdb"}).out, "INDEX\n" + Shown(SampleText()));
}

TEST(Info, ListsTheFieldsAndTheRecords) {
    ScratchFolder folder;
    folder.Write("abc.txt", "abcabcabcabcabcabc");
    ASSERT_EQ(RunTool(folder, {"pack", "--title", "test", "abc.txt", "abc.pdb"}).status, 0);
    EXPECT_EQ(RunTool(folder, {"info", "abc.pdb"}).out,
              "name: test\ntype: TEXt\ncreator: REAd\nrecords: 2\ncompression: 2\ntext length: 18\n"
              "record count: 1\nrecord size: 4096\nrecord 1: offset 112, stored 8, text 18\n");
    // The second block starts at byte 42 of the text file, 40 once the
    // filter has dropped the body's CRs; the names are printed in UTF-8.
    folder.Write("two.mbox", "From a\nSubject: \x93\xFA\x96\x7B\n\nx\r\ny\r\n\nFrom b\n\nz\n");
    ASSERT_EQ(RunTool(folder, {"convert", "--bookmarks=1", "--medoc-index=0", "two.mbox", "two.pdb"}).status, 0);
    EXPECT_THAT(RunTool(folder, {"info", "two.pdb"}).out,
                ::testing::EndsWith("bookmark 1: offset 0, name \xE6\x97\xA5\xE6\x9C\xAC\n"
                                        "bookmark 2: offset 40, name (\xE4\xBB\xB6\xE5\x90\x8D\xE3\x81\xAA\xE3\x81\x97)\n"));
}

TEST(PackedDatabases, ReadByAnIndependentDecoder) {
    ScratchFolder folder;
    const std::string inputs[] = {SampleText(), std::string(9000, 'a'), "x", std::string("\x20\x82\xA0\x20\x41\x01\x02")};
    for (const std::string& input : inputs) {
        folder.Write("in.txt", input);
        ASSERT_EQ(RunTool(folder, {"pack", "in.txt", "in.pdb"}).status, 0);
        const ToolRun decoded = RunProgram("txt2pdbdoc", folder, {"-d", "in.pdb", "out.txt"});
        if (decoded.status == 127) GTEST_SKIP() << "txt2pdbdoc is not installed (Debian package txt2pdbdoc)";
        ASSERT_EQ(decoded.status, 0) << decoded.err;
        EXPECT_EQ(folder.Read("out.txt"), Shown(input));
    }
}

constexpr char kJapaneseMail[] = CTP_SOURCE_DIR "/tests/mime/japanese-mail.mbox";

// Every bookmark lands on its message's Subject line in text, named with the
// subject's first whole characters: the next one would not fit 15 bytes.
void ExpectOnTheirSubjectLines(const std::string& text, const std::vector<palmdoc::PalmDocBookmark>& bookmarks) {
    for (const palmdoc::PalmDocBookmark& bookmark : bookmarks) {
        SCOPED_TRACE(bookmark.offset);
        ASSERT_LT(bookmark.offset, text.size());
        EXPECT_EQ(text[bookmark.offset - 1], '\n');
        const std::string line = text.substr(bookmark.offset, text.find('\n', bookmark.offset) - bookmark.offset);
        EXPECT_EQ(line.compare(0, 9 + bookmark.name.size(), "Subject: " + bookmark.name), 0) << line;
        const char* end = line.c_str() + 9;
        while (end < line.c_str() + 9 + bookmark.name.size()) end = platform::cp932::NextCharacter(end);
        EXPECT_EQ(end, line.c_str() + 9 + bookmark.name.size());
        if (*end != '\0') {
            EXPECT_GT(platform::cp932::NextCharacter(end) - (line.c_str() + 9), 15);
        }
    }
}

// Japanese mail with the MeDoc index, with and without a bookmark at every
// message. Readers that know nothing of bookmarks: unpack and calibre show
// the same text either way; txt2pdbdoc decodes every record after record 0
// as text, the bookmark records too, so its text with them is the text
// without them followed by the bookmark records read as compressed text. In
// that text, which is ours byte for byte, the bookmarks are checked.
TEST(ConvertedBookmarks, LandOnTheSubjectLinesAndLeaveTheTextToReadersThatIgnoreThem) {
    ScratchFolder folder;
    for (const char* marks : {"0", "1"}) {
        ASSERT_EQ(RunTool(folder, {"convert", std::string("--bookmarks=") + marks, kJapaneseMail,
                                   std::string("m") + marks + ".pdb"}).status, 0);
    }
    EXPECT_EQ(RunTool(folder, {"unpack", "m1.pdb"}).out, RunTool(folder, {"unpack", "m0.pdb"}).out);
    PalmDocFile marked;
    std::string error;
    ASSERT_TRUE(marked.Open(folder.Path("m1.pdb"), "m1.pdb", error)) << error;
    ASSERT_EQ(marked.Database().bookmarks.size(), 12u);
    using Arguments = std::vector<std::string> (*)(const std::string& pdb, const std::string& text);
    const struct {
        const char* program;
        const char* package;
        Arguments arguments;
        bool decodesEveryRecordByteForByte;
    } readers[] = {
        {"txt2pdbdoc", "txt2pdbdoc",
         [](const std::string& pdb, const std::string& text) { return std::vector<std::string>{"-d", pdb, text}; }, true},
        {"ebook-convert", "calibre",
         [](const std::string& pdb, const std::string& text) {
             return std::vector<std::string>{pdb, text, "--input-encoding", "cp932"};
         },
         false},
    };
    for (const auto& reader : readers) {
        SCOPED_TRACE(reader.program);
        std::string texts[2];
        for (int marks = 0; marks < 2; ++marks) {
            const std::string name = "m" + std::to_string(marks);
            const ToolRun run = RunProgram(reader.program, folder, reader.arguments(name + ".pdb", name + ".txt"));
            if (run.status == 127) GTEST_SKIP() << reader.program << " is not installed (Debian package " << reader.package << ")";
            ASSERT_EQ(run.status, 0) << run.err;
            texts[marks] = folder.Read(name + ".txt");
        }
        ASSERT_GT(texts[0].size(), 2000u);
        if (reader.decodesEveryRecordByteForByte) {
            ASSERT_EQ(texts[1].compare(0, 14, "#!Medoc index "), 0);
            EXPECT_EQ(texts[1].substr(0, texts[0].size()), texts[0]);
            EXPECT_GT(texts[1].size(), texts[0].size());
            ExpectOnTheirSubjectLines(texts[1], marked.Database().bookmarks);
        } else {
            EXPECT_EQ(texts[1], texts[0]);
        }
    }
}

struct LongRecordCase {
    std::string database;
    const char* why;
};

// Trailing bytes make the last record far longer than any record that holds
// 4096 bytes of text, compressed or not.
TEST(PalmDocFile, RefusesARecordTooLongToHoldARecordOfText) {
    ScratchFolder folder;
    const std::string trailing(100000, 'z');
    const LongRecordCase cases[] = {
        {PackedDatabase("abc\n") + trailing, "d.pdb is not a Palm DOC database: record 1: "},
        {UncompressedDatabase(2, 4096) + trailing, "d.pdb is not a Palm DOC database: record 2 longer than the record size"},
    };
    for (const LongRecordCase& padded : cases) {
        folder.Write("d.pdb", padded.database);
        PalmDocFile file;
        std::string error;
        ASSERT_TRUE(file.Open(folder.Path("d.pdb"), "d.pdb", error)) << error;
        std::vector<unsigned char> text;
        bool read = true;
        for (std::size_t k = 0; read && k < file.Database().records.size(); ++k) read = file.ReadRecord(k, text, error);
        EXPECT_FALSE(read);
        EXPECT_THAT(error, HasSubstr(padded.why));
    }
}

// Peak memory of unpack and info on a document of 50 times the size: a
// reader that held the file and its text would take twice the document.
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
        const ToolRun smallRun = RunTool(folder, small, toNull);
        const ToolRun largeRun = RunTool(folder, large, toNull);
        ASSERT_EQ(smallRun.status, 0) << smallRun.err;
        ASSERT_EQ(largeRun.status, 0) << largeRun.err;
        EXPECT_LT(largeRun.peakKilobytes - smallRun.peakKilobytes, kAllowedGrowthKilobytes)
            << command << ": " << smallRun.peakKilobytes << " KB for 1 MB, " << largeRun.peakKilobytes
            << " KB for 51 MB";
    }
}

}  // namespace

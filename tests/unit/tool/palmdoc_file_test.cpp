// The tool's reader of database files: a record longer than any that holds
// a record of text is refused, and unpack and info keep their memory flat
// whatever the document's size.
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tool_test_support.h"
#include "tools/coraxtopalm/palmdoc_file.h"

namespace {

using ::testing::HasSubstr;

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

// Message blocks of the export text file and the index entries they gather.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "text_test_support.h"

using settings::PluginSettings;
using text::CountLineFeeds;
using text::FinishMeDocIndex;
using text::MeDocIndexBuffer;

namespace {

struct BlockCase {
    const char* name;
    std::string message;
    std::string block;
};

class Blocks : public TextTest, public ::testing::WithParamInterface<BlockCase> {};

TEST_P(Blocks, WritesHeaderLinesBodyAndEndMarker) {
    const WrittenBlock written = WriteBlock(GetParam().message);
    EXPECT_EQ(written.bytes, GetParam().block);
    EXPECT_EQ(written.lineCount, std::count(written.bytes.begin(), written.bytes.end(), '\n'));
}

INSTANTIATE_TEST_SUITE_P(
    WriteMessageBlock, Blocks,
    ::testing::Values(
        BlockCase{"Usual", "Subject: s\r\nFrom: f\r\nDate: d\r\nX: y\r\n\r\nline 1\r\nline 2\r\n",
                  "Subject: s\nFrom: f\nDate: d\nline 1\r\nline 2\r\n--EOM--\n"},
        BlockCase{"EmptyBody", "Subject: s\r\n\r\n", "Subject: s\nFrom: \nDate: \n--EOM--\n"},
        BlockCase{"BodyWithoutFinalLineEnd", "Subject: s\r\n\r\nlast", "Subject: s\nFrom: \nDate: \nlast--EOM--\n"},
        BlockCase{"MissingSubject", "From: f\r\n\r\nb\r\n", "Subject: \nFrom: f\nDate: \nb\r\n--EOM--\n"},
        BlockCase{"NoEmptyLineMeansEmptyBody", "Subject: s\r\nFrom: f\r\n", "Subject: s\nFrom: f\nDate: \n--EOM--\n"},
        BlockCase{"BodyStartsAfterFirstEmptyLine", "Subject: s\r\n\r\n\r\n\r\nx",
                  "Subject: s\nFrom: \nDate: \n\r\n\r\nx--EOM--\n"},
        BlockCase{"BareLfInBodyCounts", "Subject: s\r\n\r\na\nb\n", "Subject: s\nFrom: \nDate: \na\nb\n--EOM--\n"},
        BlockCase{"CleanedSubject", "Subject: [ml:7] s\r\n\r\n", "Subject: s\nFrom: \nDate: \n--EOM--\n"}),
    [](const ::testing::TestParamInfo<BlockCase>& info) { return info.param.name; });

TEST_F(TextTest, EmptyBodyCountsFourLines) {
    EXPECT_EQ(WriteBlock("Subject: s\r\n\r\n").lineCount, 4);
}

TEST_F(TextTest, BlockAddsAnIndexEntryOnlyForASubject) {
    WriteBlock("Subject: Hello\r\n\r\n", 7);
    WriteBlock("From: f\r\n\r\n", 11);
    FinishMeDocIndex();
    EXPECT_EQ(IndexText(), "#!Medoc index 1\n9:Hello                         \r\n");
}

TEST_F(TextTest, BlockAddsNoIndexEntryWithTheIndexOff) {
    PluginSettings.MeDocIndex = 0;
    const WrittenBlock written = WriteBlock("Subject: Hello\r\n\r\n", 7);
    EXPECT_EQ(MeDocIndexBuffer.entryCount, 0);
    PluginSettings.MeDocIndex = 1;
    EXPECT_EQ(WriteBlock("Subject: Hello\r\n\r\n", 7).bytes, written.bytes);
}

TEST_F(TextTest, BlockWithRefusedStorageStillWritesEmptyHeaderLines) {
    refusing_storage::Use(0);
    const WrittenBlock written = WriteBlock("Subject: s\r\nFrom: f\r\n\r\nb\r\n", 4);
    EXPECT_EQ(written.bytes, "Subject: \nFrom: \nDate: \nb\r\n--EOM--\n");
    EXPECT_EQ(written.lineCount, 5);
    EXPECT_EQ(MeDocIndexBuffer.entryCount, 0);
}

TEST(CountLineFeeds, CountsLfBytesOnly) {
    EXPECT_EQ(CountLineFeeds(""), 0);
    EXPECT_EQ(CountLineFeeds("\r\r"), 0);
    EXPECT_EQ(CountLineFeeds("a\r\nb\nc\n\n"), 4);
}

}  // namespace

// Message blocks of the export text file and the line numbering of the index.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "text_test_support.h"

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
    EXPECT_EQ(IndexText(), "7:Hello                         \r\n");
}

TEST_F(TextTest, BlockAddsNoIndexEntryWithTheIndexOff) {
    PluginSettings.MeDocIndex = 0;
    const WrittenBlock written = WriteBlock("Subject: Hello\r\n\r\n", 7);
    EXPECT_EQ(MeDocIndexBuffer.text, nullptr);
    PluginSettings.MeDocIndex = 1;
    EXPECT_EQ(WriteBlock("Subject: Hello\r\n\r\n", 7).bytes, written.bytes);
}

TEST_F(TextTest, BlockWithRefusedStorageStillWritesEmptyHeaderLines) {
    refusing_storage::Use(0);
    const WrittenBlock written = WriteBlock("Subject: s\r\nFrom: f\r\n\r\nb\r\n", 4);
    EXPECT_EQ(written.bytes, "Subject: \nFrom: \nDate: \nb\r\n--EOM--\n");
    EXPECT_EQ(written.lineCount, 5);
    EXPECT_EQ(MeDocIndexBuffer.text, nullptr);
}

TEST(CountLineFeeds, CountsLfBytesOnly) {
    EXPECT_EQ(CountLineFeeds(""), 0);
    EXPECT_EQ(CountLineFeeds("\r\r"), 0);
    EXPECT_EQ(CountLineFeeds("a\r\nb\nc\n\n"), 4);
}

std::string MessageWithBodyLines(const std::string& subject, int bodyLines) {
    std::string text = "Subject: " + subject + "\r\n\r\n";
    for (int line = 0; line < bodyLines; ++line) text += "body\r\n";
    return text;
}

// The folder export's loop, as the text pipeline sees it.
std::string ExportRun(const std::vector<std::string>& messages, int messageCount) {
    int lineNumber = messageCount + 1;
    if (PluginSettings.MeDocIndex != 0) StartMeDocIndex(messageCount);
    std::string text;
    for (const std::string& message : messages) {
        const WrittenBlock written = WriteBlock(message, lineNumber);
        text += written.bytes;
        lineNumber += written.lineCount;
    }
    return text;
}

TEST_F(TextTest, NumbersCountTheLinesBeforeEachSubjectLineInTheDocument) {
    // Blocks of 10, 7 and 12 lines.
    const std::string text =
        ExportRun({MessageWithBodyLines("one", 6), MessageWithBodyLines("two", 3), MessageWithBodyLines("three", 8)}, 3);
    const std::string index = IndexText();
    EXPECT_EQ(index,
              "#!Medoc index 3\n"
              "4:one                           \r\n"
              "14:two                           \r\n"
              "21:three                         \r\n");

    std::string document = index + text;
    document.erase(std::remove(document.begin(), document.end(), '\r'), document.end());
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < document.size();) {
        const std::size_t end = document.find('\n', start);
        lines.push_back(document.substr(start, end - start));
        start = end + 1;
    }
    ASSERT_GT(lines.size(), 21u);
    EXPECT_EQ(lines[4], "Subject: one");
    EXPECT_EQ(lines[14], "Subject: two");
    EXPECT_EQ(lines[21], "Subject: three");
}

TEST_F(TextTest, NumbersAreNotAdjustedForMissingSubjectsOrMessages) {
    // Three messages counted, two delivered, the first without a Subject.
    ExportRun({"From: f\r\n\r\n", MessageWithBodyLines("two", 0)}, 3);
    EXPECT_EQ(IndexText(),
              "#!Medoc index 3\n"
              "8:two                           \r\n");
}

TEST_F(TextTest, RunWithoutDeliveredMessagesStillHasTheHeadLine) {
    ExportRun({}, 5);
    EXPECT_EQ(IndexText(), "#!Medoc index 5\n");
}

TEST_F(TextTest, TextFileIsTheSameWithTheIndexOnOrOff) {
    const std::vector<std::string> messages = {MessageWithBodyLines("a", 2), "From: f\r\n\r\nx"};
    const std::string withIndex = ExportRun(messages, 2);
    ReleaseMeDocIndex();
    PluginSettings.MeDocIndex = 0;
    EXPECT_EQ(ExportRun(messages, 2), withIndex);
    EXPECT_EQ(MeDocIndexBuffer.text, nullptr);
}

}  // namespace

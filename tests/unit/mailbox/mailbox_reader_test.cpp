// Reading mbox files: separators, unquoting, line ends and read marks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/scratch_folder.h"
#include "tools/mailbox/mailbox.h"

namespace {

class MailboxReading : public ::testing::Test {
protected:
    ScratchFolder folder;
};

struct ReadCase {
    const char* name;
    std::string file;
    std::vector<std::string> texts;
    std::vector<bool> read;
};

class Reading : public ::testing::TestWithParam<ReadCase> {
protected:
    ScratchFolder folder;
};

TEST_P(Reading, HandsOverEachMessageAsTheHostWould) {
    const ReadCase& test = GetParam();
    Mailbox mailbox;
    std::string error;
    ASSERT_TRUE(mailbox.Open(folder.Write("box.mbox", test.file), error)) << error;
    ASSERT_EQ(mailbox.Count(), test.texts.size());
    for (std::size_t index = 0; index < mailbox.Count(); ++index) {
        std::string text;
        ASSERT_TRUE(mailbox.ReadText(index, text, error)) << error;
        EXPECT_EQ(text, test.texts[index]) << "message " << index;
        EXPECT_EQ(mailbox.IsRead(index), test.read[index]) << "message " << index;
    }
}

const std::string kSeparator = "From sender@example.jp Mon Jan  6 21:31:56 2025\n";

INSTANTIATE_TEST_SUITE_P(
    Mailbox, Reading,
    ::testing::Values(
        ReadCase{"EmptyFile", "", {}, {}},
        ReadCase{"OneMessage", kSeparator + "Subject: a\n\nbody\n", {"Subject: a\r\n\r\nbody\r\n"}, {false}},
        ReadCase{"EmptyLineBeforeSeparatorDropped",
                 kSeparator + "Subject: a\n\nbody\n\n" + kSeparator + "Subject: b\n\nb2\n\n",
                 {"Subject: a\r\n\r\nbody\r\n", "Subject: b\r\n\r\nb2\r\n"},
                 {false, false}},
        ReadCase{"OnlyOneEmptyLineDropped", kSeparator + "S: a\n\nx\n\n\n" + kSeparator + "S: b\n",
                 {"S: a\r\n\r\nx\r\n\r\n", "S: b\r\n"},
                 {false, false}},
        ReadCase{"NoEmptyLineBeforeSeparator", kSeparator + "S: a\n\nx\n" + kSeparator + "S: b\n",
                 {"S: a\r\n\r\nx\r\n", "S: b\r\n"},
                 {false, false}},
        ReadCase{"EmptyMessages", kSeparator + kSeparator + "\n", {"", ""}, {false, false}},
        ReadCase{"CrLfKeptOnce", "From x\r\nS: a\r\n\r\nb\r\n\r\nFrom y\r\nS: b\r\n",
                 {"S: a\r\n\r\nb\r\n", "S: b\r\n"},
                 {false, false}},
        ReadCase{"OnlyOneCrRemovedBeforeLf", kSeparator + "S: a\n\nb\r\r\n", {"S: a\r\n\r\nb\r\r\n"}, {false}},
        ReadCase{"InnerCrStays", kSeparator + "S: a\n\nb\rc\n", {"S: a\r\n\r\nb\rc\r\n"}, {false}},
        ReadCase{"NulBytesGoTheRestStays", kSeparator + std::string("Subject: te\0st\n\n\0b\0\0ody\0\n", 25),
                 {"Subject: test\r\n\r\nbody\r\n"},
                 {false}},
        ReadCase{"LastLineWithoutLineEnd", kSeparator + "S: a\n\nlast", {"S: a\r\n\r\nlast\r\n"}, {false}},
        ReadCase{"FromUnquoted", kSeparator + "S: a\n\n>From here\n>>From there\n>>>From far\n",
                 {"S: a\r\n\r\nFrom here\r\n>From there\r\n>>From far\r\n"},
                 {false}},
        ReadCase{"OtherQuotesStay", kSeparator + "S: a\n\n>Fromage\n> From x\n>From\n>\n",
                 {"S: a\r\n\r\n>Fromage\r\n> From x\r\n>From\r\n>\r\n"},
                 {false}},
        ReadCase{"UnquotedFromSeparates", kSeparator + "S: a\n\nline\nFrom here on\nS: b\n",
                 {"S: a\r\n\r\nline\r\n", "S: b\r\n"},
                 {false, false}},
        ReadCase{"StatusRead", kSeparator + "S: a\nStatus: RO\n\nb\n", {"S: a\r\nStatus: RO\r\n\r\nb\r\n"}, {true}},
        ReadCase{"StatusUnread", kSeparator + "Status: O\n\n", {"Status: O\r\n"}, {false}},
        ReadCase{"OtherStatusHeadersIgnored", kSeparator + "X-Status: R\nstatus: R\nStatus-R: x\n\n",
                 {"X-Status: R\r\nstatus: R\r\nStatus-R: x\r\n"},
                 {false}},
        ReadCase{"StatusInBodyIgnored", kSeparator + "S: a\n\nStatus: R\n", {"S: a\r\n\r\nStatus: R\r\n"}, {false}},
        ReadCase{"StatusOfEachMessage", kSeparator + "Status: R\n\n" + kSeparator + "S: b\n\n",
                 {"Status: R\r\n", "S: b\r\n"},
                 {true, false}}),
    [](const ::testing::TestParamInfo<ReadCase>& info) { return info.param.name; });

struct RefusalCase {
    const char* name;
    std::string file;
};

class Refusing : public ::testing::TestWithParam<RefusalCase> {
protected:
    ScratchFolder folder;
};

TEST_P(Refusing, FilesThatAreNotMboxFiles) {
    Mailbox mailbox;
    std::string error;
    const std::string path = folder.Write("box.mbox", GetParam().file);
    EXPECT_FALSE(mailbox.Open(path, error));
    EXPECT_NE(error.find(path), std::string::npos) << error;
    EXPECT_NE(error.find("From "), std::string::npos) << error;
    EXPECT_EQ(mailbox.Count(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Mailbox, Refusing,
                         ::testing::Values(RefusalCase{"NoSeparatorAtAll", "Subject: a\n\nbody\n"},
                                           RefusalCase{"TextBeforeFirstSeparator", "\nFrom x\nS: a\n"},
                                           RefusalCase{"LowerCaseSeparator", "from x\nS: a\n"},
                                           RefusalCase{"SeparatorWithoutBlank", "From:x\nS: a\n"}),
                         [](const ::testing::TestParamInfo<RefusalCase>& info) { return info.param.name; });

TEST_F(MailboxReading, MissingFileIsRefusedByName) {
    Mailbox mailbox;
    std::string error;
    EXPECT_FALSE(mailbox.Open(folder.Path("missing.mbox"), error));
    EXPECT_NE(error.find("missing.mbox"), std::string::npos) << error;
}

TEST_F(MailboxReading, TextIsReadOnDemandInAnyOrder) {
    std::string file;
    for (int message = 0; message < 50; ++message) {
        file += "From x\nSubject: " + std::to_string(message) + "\n\nbody\n\n";
    }
    Mailbox mailbox;
    std::string error;
    ASSERT_TRUE(mailbox.Open(folder.Write("box.mbox", file), error));
    ASSERT_EQ(mailbox.Count(), 50u);
    std::string text;
    for (std::size_t index : {49u, 0u, 17u, 17u}) {
        ASSERT_TRUE(mailbox.ReadText(index, text, error));
        EXPECT_EQ(text, "Subject: " + std::to_string(index) + "\r\n\r\nbody\r\n");
    }
}

TEST_F(MailboxReading, IndexRecordsWhereTheHeaderEnds) {
    const std::string file = "From x\nS: a\nStatus: O\n\nbody\n";
    Mailbox mailbox;
    std::string error;
    ASSERT_TRUE(mailbox.Open(folder.Write("box.mbox", file), error));
    const MailboxMessage& message = mailbox.Message(0);
    EXPECT_EQ(message.start, file.find("S: a"));
    EXPECT_EQ(message.end, file.size());
    EXPECT_EQ(message.headerEnd, file.find("\n\n") + 1);
    EXPECT_EQ(message.statusEnd, file.find("O\n") + 1);
}

}  // namespace

// Writing read marks back into the mbox file.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/scratch_folder.h"
#include "tools/mailbox/mailbox.h"

namespace {

class MailboxWriteBack : public ::testing::Test {
protected:
    ScratchFolder folder;
};

struct WriteBackCase {
    const char* name;
    std::string before;
    std::vector<bool> read;
    std::string after;
};

class WritingBack : public ::testing::TestWithParam<WriteBackCase> {
protected:
    ScratchFolder folder;
};

TEST_P(WritingBack, MarksReadMessagesAndKeepsEveryOtherByte) {
    const WriteBackCase& test = GetParam();
    const std::string path = folder.Write("box.mbox", test.before);
    Mailbox mailbox;
    std::string error;
    ASSERT_TRUE(mailbox.Open(path, error)) << error;
    ASSERT_TRUE(mailbox.WriteReadFlags(test.read, error)) << error;
    EXPECT_EQ(folder.Read("box.mbox"), test.after);
    ASSERT_EQ(mailbox.Count(), test.read.size());
    for (std::size_t index = 0; index < test.read.size(); ++index) {
        if (test.read[index]) {
            EXPECT_TRUE(mailbox.IsRead(index)) << "message " << index;
        }
    }
    EXPECT_EQ(folder.Snapshot().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Mailbox, WritingBack,
    ::testing::Values(
        WriteBackCase{"StatusAddedAtHeaderEnd", "From x\nS: a\n\nbody\n", {true}, "From x\nS: a\nStatus: RO\n\nbody\n"},
        WriteBackCase{"CrLfHeader", "From x\r\nS: a\r\n\r\nb\r\n", {true}, "From x\r\nS: a\r\nStatus: RO\r\n\r\nb\r\n"},
        WriteBackCase{"RAddedToStatusLine", "From x\nStatus: O\nS: a\n\n", {true}, "From x\nStatus: OR\nS: a\n\n"},
        WriteBackCase{"RAddedBeforeCrLf", "From x\r\nStatus: O\r\n\r\n", {true}, "From x\r\nStatus: OR\r\n\r\n"},
        WriteBackCase{"AlreadyReadUnchanged", "From x\nStatus: RO\n\n", {true}, "From x\nStatus: RO\n\n"},
        WriteBackCase{"UnreadFlagChangesNothing", "From x\nStatus: RO\n\nFrom y\nS: b\n\n", {false, false},
                      "From x\nStatus: RO\n\nFrom y\nS: b\n\n"},
        WriteBackCase{"OnlyFlaggedMessages", "From x\nS: a\n\nb\n\nFrom y\nS: b\n\nc\n\nFrom z\nS: c\n\n",
                      {false, true, true},
                      "From x\nS: a\n\nb\n\nFrom y\nS: b\nStatus: RO\n\nc\n\nFrom z\nS: c\nStatus: RO\n\n"},
        WriteBackCase{"HeaderOnlyBeforeSeparator", "From x\nS: a\nFrom y\nS: b\n", {true, true},
                      "From x\nS: a\nStatus: RO\nFrom y\nS: b\nStatus: RO\n"},
        WriteBackCase{"HeaderOnlyWithoutFinalLineEnd", "From x\nS: a", {true}, "From x\nS: a\nStatus: RO"},
        WriteBackCase{"EmptyHeader", "From x\n\nbody\n", {true}, "From x\nStatus: RO\n\nbody\n"},
        WriteBackCase{"QuotedLinesKept", "From x\nS: a\n\n>From b\n", {true}, "From x\nS: a\nStatus: RO\n\n>From b\n"}),
    [](const ::testing::TestParamInfo<WriteBackCase>& info) { return info.param.name; });

TEST_F(MailboxWriteBack, WriteBackOfALargeFileCopiesEveryByte) {
    std::string before;
    std::string after;
    for (int message = 0; message < 400; ++message) {
        const std::string body(500, static_cast<char>('a' + message % 26));
        before += "From x\nS: " + std::to_string(message) + "\n\n" + body + "\n\n";
        after += "From x\nS: " + std::to_string(message) + (message % 3 == 0 ? "\nStatus: RO" : "") + "\n\n" + body +
                 "\n\n";
    }
    const std::string path = folder.Write("box.mbox", before);
    Mailbox mailbox;
    std::string error;
    ASSERT_TRUE(mailbox.Open(path, error));
    std::vector<bool> read(400);
    for (std::size_t index = 0; index < read.size(); index += 3) read[index] = true;
    ASSERT_TRUE(mailbox.WriteReadFlags(read, error)) << error;
    EXPECT_EQ(folder.Read("box.mbox"), after);
}

TEST_F(MailboxWriteBack, WriteBackRefusesAFlagCountThatDoesNotMatch) {
    const std::string path = folder.Write("box.mbox", "From x\nS: a\n\n");
    Mailbox mailbox;
    std::string error;
    ASSERT_TRUE(mailbox.Open(path, error));
    EXPECT_FALSE(mailbox.WriteReadFlags({true, true}, error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(folder.Read("box.mbox"), "From x\nS: a\n\n");
}

TEST_F(MailboxWriteBack, WriteBackThatCannotWriteLeavesTheFileAndTheMailboxUsable) {
    const std::string path = folder.Write("box.mbox", "From x\nS: a\n\nbody\n");
    // The temporary file's name is taken by a folder.
    std::filesystem::create_directory(path + ".new");
    Mailbox mailbox;
    std::string error;
    ASSERT_TRUE(mailbox.Open(path, error));
    EXPECT_FALSE(mailbox.WriteReadFlags({true}, error));
    EXPECT_NE(error.find("box.mbox"), std::string::npos) << error;
    EXPECT_EQ(folder.Read("box.mbox"), "From x\nS: a\n\nbody\n");
    std::string text;
    ASSERT_TRUE(mailbox.ReadText(0, text, error));
    EXPECT_EQ(text, "S: a\r\n\r\nbody\r\n");
}

TEST_F(MailboxWriteBack, WriteBackThatCannotReplaceRemovesItsFileAndSaysWhy) {
    const std::string path = folder.Write("box.mbox", "From x\nS: a\n\nbody\n");
    Mailbox mailbox;
    std::string error;
    ASSERT_TRUE(mailbox.Open(path, error));
    const FileReplacer refuse = [](const std::string&, const std::string&, std::string& reason) {
        reason = "Input/output error";
        return false;
    };
    EXPECT_FALSE(mailbox.WriteReadFlags({true}, error, refuse));
    EXPECT_EQ(error, "cannot replace the mailbox " + path + ": Input/output error");
    EXPECT_EQ(folder.Read("box.mbox"), "From x\nS: a\n\nbody\n");
    EXPECT_EQ(folder.Snapshot().size(), 1u);  // no .new left beside it
    std::string text;
    ASSERT_TRUE(mailbox.ReadText(0, text, error));
}

}  // namespace

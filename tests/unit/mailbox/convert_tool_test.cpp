// The convert command of the built tool on small mbox files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "mailbox_test_support.h"

namespace {

class ConvertTool : public ScratchFolderTest {
protected:
    // Exit status of the tool; its messages go to a file of the folder.
    int Run(const std::string& arguments) {
        const std::string command = std::string("\"") + CTP_TOOL_PATH + "\" convert " + arguments + " 2>\"" +
                                    PathOf("stderr.log") + "\"";
        const int status = std::system(command.c_str());
        errors_ = ReadFile(PathOf("stderr.log"));
        std::filesystem::remove(PathOf("stderr.log"));
        return status;
    }
    std::string Quoted(const std::string& name) const { return "\"" + PathOf(name) + "\""; }

    std::string errors_;
};

const std::string kMailbox =
    "From a@example.jp Mon Jan  6 21:31:56 2025\n"
    "Subject: [ml:1] Hello\n"
    "From: \"Taro\" <taro@example.jp>\n"
    "Date: Mon, 6 Dec 2026 21:31:56 +0900\n"
    "\n"
    "body\n"
    ">From the start\n"
    "\n"
    "From b@example.jp Tue Jan  7 09:00:00 2025\n"
    "From: Hanako <h@example.jp>\n"
    "\n"
    "no subject\n"
    "\n"
    "From c@example.jp Tue Jan  7 09:00:00 2025\n"
    "Subject: Third\n"
    "\n";

const std::string kDefaultText =
    "Subject: Hello\nFrom: \"Taro\" <taro@example.jp>\nDate: Mon, 6 Dec 2026 21:31:56 +0900\n"
    "body\r\nFrom the start\r\n--EOM--\n"
    "Subject: \nFrom: Hanako <h@example.jp>\nDate: \nno subject\r\n--EOM--\n"
    "Subject: Third\nFrom: \nDate: \n--EOM--\n";

TEST_F(ConvertTool, TextOutputHoldsTheExportTextFile) {
    WriteFile("in.mbox", kMailbox);
    ASSERT_EQ(Run(Quoted("in.mbox") + " " + Quoted("out.txt")), 0) << errors_;
    EXPECT_EQ(ReadFile(PathOf("out.txt")), kDefaultText);
    EXPECT_EQ(FileCount(), 2u);
}

TEST_F(ConvertTool, OptionsSwitchTheCleanUps) {
    WriteFile("in.mbox", kMailbox);
    ASSERT_EQ(Run("--trim-subject=0 --trim-from=1 --conv-date=1 " + Quoted("in.mbox") + " " + Quoted("out.txt")), 0)
        << errors_;
    EXPECT_EQ(ReadFile(PathOf("out.txt")).substr(0, 48), "Subject: [ml:1] Hello\nFrom: \"Taro\"\nDate: 12/6 21");
}

TEST_F(ConvertTool, IndexOutHoldsTheIndexText) {
    WriteFile("in.mbox", kMailbox);
    ASSERT_EQ(Run("--index-out " + Quoted("index.txt") + " " + Quoted("in.mbox") + " " + Quoted("out.txt")), 0)
        << errors_;
    // Two of the three messages have a subject: two entries, each numbered
    // with the line of its Subject line in the document (the first line is
    // 0): after the 3 index lines, and after the first two blocks' 11.
    EXPECT_EQ(ReadFile(PathOf("index.txt")),
              "#!Medoc index 2\n"
              "3:Hello                         \r\n"
              "14:Third                         \r\n");
    EXPECT_EQ(ReadFile(PathOf("out.txt")), kDefaultText);
}

TEST_F(ConvertTool, IndexOffGivesAnEmptyIndexAndTheSameText) {
    WriteFile("in.mbox", kMailbox);
    ASSERT_EQ(Run("--medoc-index=0 --index-out " + Quoted("index.txt") + " " + Quoted("in.mbox") + " " +
                  Quoted("out.txt")),
              0)
        << errors_;
    EXPECT_EQ(ReadFile(PathOf("index.txt")), "");
    EXPECT_EQ(ReadFile(PathOf("out.txt")), kDefaultText);
}

TEST_F(ConvertTool, EmptyMailboxGivesAnEmptyTextAndAHeadLine) {
    WriteFile("in.mbox", "");
    ASSERT_EQ(Run("--index-out " + Quoted("index.txt") + " " + Quoted("in.mbox") + " " + Quoted("out.txt")), 0)
        << errors_;
    EXPECT_EQ(ReadFile(PathOf("out.txt")), "");
    EXPECT_EQ(ReadFile(PathOf("index.txt")), "#!Medoc index 0\n");
}

TEST_F(ConvertTool, PdbOutputIsAPalmDocDatabase) {
    WriteFile("in.mbox", kMailbox);
    ASSERT_EQ(Run("--title Mail " + Quoted("in.mbox") + " " + Quoted("out.pdb")), 0) << errors_;
    const std::string database = ReadFile(PathOf("out.pdb"));
    ASSERT_GT(database.size(), 78u);
    EXPECT_EQ(database.substr(0, 5), std::string("Mail\0", 5));
    EXPECT_EQ(database.substr(60, 8), "TEXtREAd");
    EXPECT_EQ(FileCount(), 2u);  // no text file left beside it
}

struct FailureCase {
    const char* name;
    std::string mailbox;  // written as in.mbox unless empty
    std::string arguments;
    const char* message;  // part of what the tool says
};

class ConvertFailure : public ConvertTool, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(ConvertFailure, ExitsNonZeroAndLeavesNoOutput) {
    const FailureCase& test = GetParam();
    if (!test.mailbox.empty()) WriteFile("in.mbox", test.mailbox);
    std::string arguments = test.arguments;
    for (std::size_t at; (at = arguments.find('@')) != std::string::npos;) {
        const std::size_t end = arguments.find(' ', at);
        const std::string name = arguments.substr(at + 1, end == std::string::npos ? std::string::npos : end - at - 1);
        arguments.replace(at, name.size() + 1, Quoted(name));
    }
    const std::size_t filesBefore = FileCount();
    EXPECT_NE(Run(arguments), 0);
    EXPECT_NE(errors_.find(test.message), std::string::npos) << errors_;
    EXPECT_EQ(FileCount(), filesBefore);
}

INSTANTIATE_TEST_SUITE_P(
    Convert, ConvertFailure,
    ::testing::Values(FailureCase{"MissingMailbox", "", "@missing.mbox @out.txt", "missing.mbox"},
                      FailureCase{"NotAnMboxFile", "Subject: x\n\nbody\n", "@in.mbox @out.txt", "From "},
                      FailureCase{"UnknownOption", kMailbox, "--fast @in.mbox @out.txt", "--fast"},
                      FailureCase{"BadFlagValue", kMailbox, "--trim-from=2 @in.mbox @out.txt", "--trim-from=2"},
                      FailureCase{"MissingOptionValue", kMailbox, "@in.mbox @out.txt --title", "--title"},
                      FailureCase{"OneOperand", kMailbox, "@in.mbox", "usage"},
                      FailureCase{"UnknownOutputKind", kMailbox, "@in.mbox @out.doc", ".txt or .pdb"},
                      FailureCase{"UnwritableOutput", kMailbox, "@in.mbox @nowhere/out.txt", "out.txt"},
                      FailureCase{"UnwritableIndex", kMailbox, "--index-out @nowhere/i.txt @in.mbox @out.txt",
                                  "i.txt"},
                      FailureCase{"UnwritablePdb", kMailbox, "@in.mbox @nowhere/out.pdb", "out.pdb"}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return info.param.name; });

TEST_F(ConvertTool, FailedDatabaseWriteLeavesNoTextBehind) {
    // The second record of the text is nothing but tabs, which the writer
    // cannot store once the control characters are filtered out.
    WriteFile("in.mbox", "From x\nSubject: tabs\n\n" + std::string(8192, '\t') + "\n");
    EXPECT_NE(Run(Quoted("in.mbox") + " " + Quoted("out.pdb")), 0);
    EXPECT_NE(errors_.find("record 2 of the text"), std::string::npos) << errors_;
    EXPECT_FALSE(Exists(PathOf("out.pdb")));
    EXPECT_EQ(FileCount(), 1u);
}

TEST_F(ConvertTool, FailedRenameRemovesThePartialFiles) {
    WriteFile("in.mbox", kMailbox);
    std::filesystem::create_directory(PathOf("out.txt"));
    EXPECT_NE(Run("--index-out " + Quoted("index.txt") + " " + Quoted("in.mbox") + " " + Quoted("out.txt")), 0);
    EXPECT_NE(errors_.find("out.txt"), std::string::npos) << errors_;
    EXPECT_FALSE(Exists(PathOf("index.txt")));
    EXPECT_EQ(FileCount(), 2u);
}

TEST_F(ConvertTool, FailedRunLeavesAnEarlierOutputAlone) {
    WriteFile("out.txt", "earlier");
    WriteFile("in.mbox", "not a mailbox\n");
    EXPECT_NE(Run(Quoted("in.mbox") + " " + Quoted("out.txt")), 0);
    EXPECT_EQ(ReadFile(PathOf("out.txt")), "earlier");
    EXPECT_EQ(FileCount(), 2u);
}

}  // namespace

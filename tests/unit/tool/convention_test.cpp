// What a command-line user expects: help everywhere, a version, both option
// forms, "--", "-" for the standard streams, extensions in any case, a
// summary line that -q silences, progress on a terminal.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/tool_run.h"

namespace {

constexpr char kMailbox[] =
    "From a@example.jp Mon Jan  6 21:31:56 2025\n"
    "Subject: first\n"
    "\n"
    "body\n";

struct ConventionCase {
    const char* name;
    std::vector<std::string> arguments;
    int status;
    const char* output;  // part of standard output
    const char* errors;  // part of standard error
    const char* standardInput = "";  // a file of the folder, or ""
};

void PrintTo(const ConventionCase& test, std::ostream* out) { *out << test.name; }

class Conventions : public ::testing::TestWithParam<ConventionCase> {};

TEST_P(Conventions, StatusAndWhatIsSaid) {
    const ConventionCase& test = GetParam();
    ScratchFolder folder;
    folder.Write("a.txt", "hi\n");
    folder.Write("in.mbox", kMailbox);
    folder.Write("-a.txt", "dash\n");
    ToolInput input;
    if (*test.standardInput != '\0') input.standardInput = folder.Path(test.standardInput);
    const ToolRun run = RunTool(folder, test.arguments, input);
    EXPECT_EQ(run.status, test.status) << run.err;
    EXPECT_NE(run.out.find(test.output), std::string::npos) << "standard output: " << run.out;
    EXPECT_NE(run.err.find(test.errors), std::string::npos) << "standard error: " << run.err;
}

const ConventionCase kHelpCases[] = {
    {"ToolHelp", {"--help"}, 0, "usage: coraxtopalm COMMAND", ""},
    {"ToolShortHelp", {"-h"}, 0, "Commands:\n  convert", ""},
    {"HelpCommand", {"help", "pack"}, 0, "usage: coraxtopalm pack [OPTIONS] TEXT PDB", ""},
    {"NoCommand", {}, 2, "", "usage: coraxtopalm COMMAND"},
    {"UnknownCommand", {"squash"}, 2, "", "coraxtopalm: unknown command squash"},
    {"ConvertHelp", {"convert", "--help"}, 0, "--trim-from=0|1", ""},
    {"ConvertHelpGivesDefaults", {"convert", "-h"}, 0, "(default: 1)", ""},
    {"PackHelp", {"pack", "-h"}, 0, "Example:\n  coraxtopalm pack", ""},
    {"UnpackHelp", {"unpack", "--help"}, 0, "usage: coraxtopalm unpack [OPTIONS] PDB [TEXT]", ""},
    {"InfoHelpReadsNoFile", {"info", "--help"}, 0, "usage: coraxtopalm info", ""},
    {"UsersDatHelp", {"users-dat", "-h"}, 0, "usage: coraxtopalm users-dat [OPTIONS] read FILE", ""},
    {"HelpAfterOperands", {"pack", "a.txt", "--help"}, 0, "usage: coraxtopalm pack", ""},
    {"Version", {"--version"}, 0, "coraxtopalm ", ""},
};

const ConventionCase kOptionCases[] = {
    {"TitleWithEquals", {"pack", "--title=T", "a.txt", "x.pdb"}, 0, "", "wrote x.pdb"},
    {"TitleAsNextArgument", {"pack", "--title", "T", "a.txt", "x.pdb"}, 0, "", "wrote x.pdb"},
    {"ShortTitle", {"pack", "-tT", "a.txt", "x.pdb"}, 0, "", "wrote x.pdb"},
    {"FlagAsNextArgument", {"convert", "--trim-from", "1", "in.mbox", "x.txt"}, 0, "", "wrote x.txt"},
    {"OptionsAfterOperands", {"convert", "in.mbox", "x.txt", "--conv-date=1"}, 0, "", "wrote x.txt"},
    {"DoubleDashEndsOptions", {"pack", "--", "-a.txt", "x.pdb"}, 0, "", "wrote x.pdb: 5 bytes"},
    {"FlagOutOfRange", {"convert", "--trim-from=2", "in.mbox", "x.txt"}, 2, "",
     "option --trim-from=2: the value must be 0 or 1"},
    {"SwitchWithAValue", {"pack", "--quiet=1", "a.txt", "x.pdb"}, 2, "", "option --quiet takes no value"},
    {"MissingValue", {"pack", "a.txt", "x.pdb", "--title"}, 2, "", "option --title needs a value"},
    {"UnknownOption", {"unpack", "--fast", "a.pdb"}, 2, "", "unknown option --fast"},
    {"MissingOperand", {"pack", "a.txt"}, 2, "", "expected TEXT PDB, got 1"},
    {"ExtraOperand", {"info", "a.pdb", "b.pdb"}, 2, "", "too many operands from b.pdb on"},
    {"UpperCaseExtension", {"convert", "in.mbox", "OUT.PDB"}, 0, "", "wrote OUT.PDB: 1 message"},
    {"MixedCaseTextExtension", {"convert", "in.mbox", "Out.Txt"}, 0, "", "wrote Out.Txt: 1 message"},
    {"UnknownExtension", {"convert", "in.mbox", "out.doc"}, 2, "", "must be a file name ending in .txt or .pdb"},
    {"TextOutputTakesNoTitle", {"convert", u8"--title=\U0001F363", "in.mbox", "x.txt"}, 0, "", "wrote x.txt"},
};

const ConventionCase kStreamCases[] = {
    {"TextFromStandardInput", {"pack", "-", "x.pdb"}, 0, "", "wrote x.pdb: 3 bytes of text in 1 record", "a.txt"},
    {"DatabaseToStandardOutput", {"pack", "a.txt", "-"}, 0, "TEXtREAd", "", ""},
    {"MailboxFromStandardInput", {"convert", "-", "x.txt"}, 0, "", "wrote x.txt: 1 message", "in.mbox"},
    {"NoNameForTheTitle", {"pack", "-", "-"}, 2, "", "give one with --title", "a.txt"},
    {"SummaryNamesWhatWasWritten", {"convert", "in.mbox", "x.pdb"}, 0, "",
     "convert: wrote x.pdb: 1 message, 93 bytes of text in 1 record"},
};

std::string CaseName(const ::testing::TestParamInfo<ConventionCase>& info) { return info.param.name; }

INSTANTIATE_TEST_SUITE_P(Help, Conventions, ::testing::ValuesIn(kHelpCases), CaseName);
INSTANTIATE_TEST_SUITE_P(Options, Conventions, ::testing::ValuesIn(kOptionCases), CaseName);
INSTANTIATE_TEST_SUITE_P(Streams, Conventions, ::testing::ValuesIn(kStreamCases), CaseName);

TEST(QuietTool, SaysNothingOnSuccess) {
    ScratchFolder folder;
    folder.Write("in.mbox", kMailbox);
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"convert", "-q", "in.mbox", "x.pdb"},
          std::vector<std::string>{"pack", "--quiet", "x.pdb.txt", "y.pdb"},
          std::vector<std::string>{"unpack", "-q", "x.pdb", "z.txt"}}) {
        folder.Write("x.pdb.txt", "text\n");
        const ToolRun run = RunTool(folder, arguments);
        EXPECT_EQ(run.status, 0) << arguments[0] << ": " << run.err;
        EXPECT_EQ(run.err, "") << arguments[0];
    }
}

TEST(SummaryLine, NotWrittenWhenTheDataGoesToStandardOutput) {
    ScratchFolder folder;
    folder.Write("a.txt", "hi\n");
    const ToolRun packed = RunTool(folder, {"pack", "a.txt", "-"}, ToolInput{"", folder.Path("a.pdb"), false});
    EXPECT_EQ(packed.status, 0);
    EXPECT_EQ(packed.err, "");
    const ToolRun unpacked = RunTool(folder, {"unpack", "a.pdb"});
    EXPECT_EQ(unpacked.status, 0);
    EXPECT_EQ(unpacked.out, "hi\n");
    EXPECT_EQ(unpacked.err, "");
}

TEST(ProgressLine, ShownOnATerminalAndCleared) {
    ScratchFolder folder;
    folder.Write("in.mbox", kMailbox);
    ToolInput input;
    input.errorOnTerminal = true;
    const ToolRun run = RunTool(folder, {"convert", "in.mbox", "x.pdb"}, input);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("\rcoraxtopalm convert: message 1 of 1"), std::string::npos) << run.err;
    // The summary starts on a cleared line.
    EXPECT_NE(run.err.find("\rcoraxtopalm convert: wrote x.pdb"), std::string::npos) << run.err;
}

TEST(ProgressLine, NotShownWhenStandardErrorIsAFile) {
    ScratchFolder folder;
    folder.Write("in.mbox", kMailbox);
    const ToolRun run = RunTool(folder, {"convert", "in.mbox", "x.pdb"});
    EXPECT_EQ(run.err.find("message 1 of"), std::string::npos) << run.err;
}

}  // namespace

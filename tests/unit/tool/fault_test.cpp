// What the tool does to files, each as a case: the files before, the
// command, its exit status and message, and every file after. Whatever a
// case does not name must be exactly as it was; the faults found in the
// tool are cases here.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/tool_run.h"
#include "support/users_dat_builder.h"

namespace {

constexpr char kRemoved[] = "<removed>";
constexpr char kMailbox[] =
    "From a@example.jp Mon Jan  6 21:31:56 2025\n"
    "Subject: first\n"
    "\n"
    "body\n"
    "\n"
    "From b@example.jp Tue Jan  7 09:00:00 2025\n"
    "Subject: second\n"
    "\n"
    "more\n";
// One byte more than 65534 records of 4096.
constexpr off_t kOverLimitSize = 268427265;

const std::string& GoodDatabase() {
    static const std::string database = PackedDatabase("hello\n");
    return database;
}

const std::string& EmptyDatabase() {
    static const std::string database = PackedDatabase("");
    return database;
}

std::string UsersFile() {
    const users_dat::Bytes bytes = users_dat::UsersFile({{12345, "Smith", "SmithJ", {}, users_dat::kRecordEndTrailer}});
    return std::string(bytes.begin(), bytes.end());
}

// What a file holds, for messages: its length and a readable start.
std::string Describe(const std::string& bytes) {
    constexpr std::size_t kDescribedBytes = 24;
    std::string start = bytes.substr(0, kDescribedBytes);
    for (char& c : start) {
        if (static_cast<unsigned char>(c) < 0x20) c = '.';
    }
    return std::to_string(bytes.size()) + " bytes \"" + start + (bytes.size() > kDescribedBytes ? "...\"" : "\"");
}

// Returns false when the machine does not allow the setup (the case is
// skipped then).
using Setup = bool (*)(const ScratchFolder& folder);

struct FaultCase {
    const char* name;
    Setup setup;  // beyond the standard files; may be null
    std::vector<std::string> arguments;
    int status;
    const char* message;  // part of standard error
    std::map<std::string, std::string> changed;  // name -> bytes after, or kRemoved
    const char* standardOutput = "";  // a path for it, or "" to capture it
    long fileSizeLimit = 0;           // as on a nearly full disk; 0: none
};

// Test names say which case failed; the bytes of the case would not.
void PrintTo(const FaultCase& test, std::ostream* out) { *out << test.name; }

void MakeStandardFiles(const ScratchFolder& folder) {
    folder.Write("a.txt", "hi\n");
    folder.Write("good.pdb", GoodDatabase());
    folder.Write("keep.pdb", GoodDatabase());
    folder.Write("in.mbox", kMailbox);
}

bool Link(const ScratchFolder& folder, const char* target, const char* name) {
    return symlink(target, folder.Path(name).c_str()) == 0;
}

class Faults : public ::testing::TestWithParam<FaultCase> {};

TEST_P(Faults, ExitStatusMessageAndFilesAfter) {
    const FaultCase& test = GetParam();
    ScratchFolder folder;
    MakeStandardFiles(folder);
    if (test.setup != nullptr && !test.setup(folder)) GTEST_SKIP() << "this machine does not allow the setup";
    std::map<std::string, std::string> expected = folder.Snapshot();
    for (const auto& [name, bytes] : test.changed) {
        if (bytes == kRemoved) {
            expected.erase(name);
        } else {
            expected[name] = bytes;
        }
    }
    ToolInput input;
    input.standardOutput = test.standardOutput;
    input.fileSizeLimit = test.fileSizeLimit;
    const ToolRun run = RunTool(folder, test.arguments, input);
    EXPECT_EQ(run.status, test.status) << run.err;
    EXPECT_NE(run.err.find(test.message), std::string::npos) << "standard error: " << run.err;
    const std::map<std::string, std::string> after = folder.Snapshot();
    for (const auto& [name, bytes] : expected) {
        const auto found = after.find(name);
        if (found == after.end()) {
            ADD_FAILURE() << name << " is gone";
        } else {
            EXPECT_TRUE(found->second == bytes) << name << " holds " << Describe(found->second) << ", not "
                                                << Describe(bytes);
        }
    }
    for (const auto& entry : after) {
        EXPECT_TRUE(expected.count(entry.first)) << entry.first << " was left behind";
    }
}

const FaultCase kSameFileCases[] = {
    {"PackOntoItsInput", nullptr, {"pack", "a.txt", "a.txt"}, 1, "refusing to write a.txt: it is the input a.txt", {}},
    {"PackOntoItsInputSpelledAnotherWay", nullptr, {"pack", "a.txt", "./a.txt"}, 1,
     "refusing to write ./a.txt: it is the input a.txt", {}},
    {"PackThroughASymbolicLink", [](const ScratchFolder& f) { return Link(f, "a.txt", "l.txt"); },
     {"pack", "a.txt", "l.txt"}, 1, "refusing to write l.txt: it is the input a.txt", {}},
    {"PackThroughAHardLink",
     [](const ScratchFolder& f) { return link(f.Path("a.txt").c_str(), f.Path("h.txt").c_str()) == 0; },
     {"pack", "h.txt", "a.txt"}, 1, "refusing to write a.txt: it is the input h.txt", {}},
    {"PackOntoItsIndex", nullptr, {"pack", "--index", "a.txt", "in.mbox", "a.txt"}, 1,
     "refusing to write a.txt: it is the input a.txt", {}},
    {"ConvertIndexOntoTheMailbox", nullptr, {"convert", "--index-out", "in.mbox", "in.mbox", "x.txt"}, 1,
     "refusing to write in.mbox: it is the input in.mbox", {}},
    {"ConvertOntoTheMailbox", [](const ScratchFolder& f) { f.Write("m.txt", kMailbox); return true; },
     {"convert", "m.txt", "m.txt"}, 1, "refusing to write m.txt: it is the input m.txt", {}},
    {"ConvertIndexAndOutputOneFile", nullptr, {"convert", "--index-out", "s.pdb", "in.mbox", "s.pdb"}, 1,
     "refusing to write the index s.pdb: it is the output s.pdb", {}},
    {"UnpackOntoItsInput", nullptr, {"unpack", "good.pdb", "good.pdb"}, 1,
     "refusing to write good.pdb: it is the input good.pdb", {}},
};

const FaultCase kForeignFileCases[] = {
    {"UnpackIntoAFullDeviceKeepsTheLink", [](const ScratchFolder& f) { return Link(f, "/dev/full", "x"); },
     {"unpack", "good.pdb", "x"}, 1, "cannot write x: No space left on device", {}},
    {"UnpackIntoAFullDeviceNode",
     [](const ScratchFolder& f) { return mknod(f.Path("x").c_str(), S_IFCHR | 0666, makedev(1, 7)) == 0; },
     {"unpack", "good.pdb", "x"}, 1, "cannot write x: No space left on device", {}},
    {"UnpackIntoTheNullDevice", [](const ScratchFolder& f) { return Link(f, "/dev/null", "x"); },
     {"unpack", "good.pdb", "x"}, 0, "wrote x: 6 bytes of text from 1 record", {}},
    {"PackOfAMissingTextKeepsTheOutput", nullptr, {"pack", "missing.txt", "keep.pdb"}, 1,
     "cannot read missing.txt: No such file or directory", {}},
    {"PackOfAFolderKeepsTheOutput", [](const ScratchFolder& f) { return mkdir(f.Path("d").c_str(), 0755) == 0; },
     {"pack", "d", "keep.pdb"}, 1, "cannot read d: Is a directory", {}},
    {"PackOfTooLargeATextKeepsTheOutput",
     [](const ScratchFolder& f) {
         f.Write("big.txt", "");
         return truncate(f.Path("big.txt").c_str(), kOverLimitSize) == 0;
     },
     {"pack", "big.txt", "keep.pdb"}, 1,
     "the text of big.txt is 268,427,265 bytes and a Palm DOC holds at most 268,427,264 (65534 records of 4096)",
     {}},
    {"PackOfControlCharactersKeepsTheOutput",
     [](const ScratchFolder& f) { f.Write("tabs.txt", "line\n" + std::string(8192, '\t')); return true; },
     {"pack", "tabs.txt", "keep.pdb"}, 1,
     "tabs.txt: record 2 of the text (bytes 4,096 to 8,191) holds nothing but control characters", {}},
    {"PackIntoAMissingFolder", nullptr, {"pack", "a.txt", "nowhere/x.pdb"}, 1,
     "cannot write nowhere/x.pdb: No such file or directory", {}},
    {"PackIntoAFolder", [](const ScratchFolder& f) { return mkdir(f.Path("d").c_str(), 0755) == 0; },
     {"pack", "a.txt", "d"}, 1, "cannot write d: Is a directory", {}},
    {"ConvertOfANonMailboxKeepsTheOutput", [](const ScratchFolder& f) { f.Write("out.txt", "earlier"); return true; },
     {"convert", "a.txt", "out.txt"}, 1, "a.txt is not an mbox file", {}},
    {"UnpackOfADamagedDatabaseKeepsTheOutput",
     [](const ScratchFolder& f) { f.Write("bad.pdb", GoodDatabase().substr(0, 90)); f.Write("out.txt", "x"); return true; },
     {"unpack", "bad.pdb", "out.txt"}, 1, "bad.pdb is not a Palm DOC database: file truncated inside the record list", {}},
    {"InfoOfADamagedDatabase", [](const ScratchFolder& f) { f.Write("bad.pdb", GoodDatabase().substr(0, 90)); return true; },
     {"info", "bad.pdb"}, 1, "bad.pdb is not a Palm DOC database: file truncated inside the record list", {}},
    {"UnpackOfAMissingDatabase", nullptr, {"unpack", "missing.pdb", "out.txt"}, 1,
     "cannot read missing.pdb: No such file or directory", {}},
    {"InfoOfAMissingDatabase", nullptr, {"info", "missing.pdb"}, 1, "cannot read missing.pdb: No such file or directory",
     {}},
};

const FaultCase kEmptyDocumentCases[] = {
    {"EmptyTextPacks", [](const ScratchFolder& f) { f.Write("e.txt", ""); return true; },
     {"pack", "--title=test", "e.txt", "e.pdb"}, 0, "wrote e.pdb: 0 bytes of text in 0 records", {{"e.pdb", EmptyDatabase()}}},
    {"EmptyDocumentUnpacksToAFile", [](const ScratchFolder& f) { f.Write("e.pdb", EmptyDatabase()); return true; },
     {"unpack", "e.pdb", "e.txt"}, 0, "wrote e.txt: 0 bytes of text from 0 records", {{"e.txt", ""}}},
    {"EmptyDocumentUnpacksToStandardOutput",
     [](const ScratchFolder& f) { f.Write("e.pdb", EmptyDatabase()); return true; }, {"unpack", "e.pdb"}, 0, "", {}},
};

const FaultCase kStandardOutputCases[] = {
    {"UsersListToAFullDisk", [](const ScratchFolder& f) { f.Write("u.dat", UsersFile()); return true; },
     {"users-dat", "read", "u.dat"}, 1, "cannot write the standard output: No space left on device", {}, "/dev/full"},
    {"HelpToAFullDisk", nullptr, {"--help"}, 1, "cannot write the standard output: No space left on device", {},
     "/dev/full"},
    {"CommandHelpToAFullDisk", nullptr, {"pack", "--help"}, 1, "cannot write the standard output", {}, "/dev/full"},
    {"InfoToAFullDisk", nullptr, {"info", "good.pdb"}, 1, "cannot write the standard output", {}, "/dev/full"},
    {"UnpackToAFullDisk", nullptr, {"unpack", "good.pdb"}, 1,
     "cannot write the standard output: No space left on device", {}, "/dev/full"},
    {"UsersListOfAFolder", [](const ScratchFolder& f) { return mkdir(f.Path("d").c_str(), 0755) == 0; },
     {"users-dat", "read", "d"}, 1, "cannot read d: Is a directory", {}},
};

// Text that compresses little, so that its database outgrows the limit.
bool WriteNoisyText(const ScratchFolder& folder) {
    std::string text;
    unsigned state = 1;
    for (int k = 0; k < 200000; ++k) {
        state = state * 1103515245u + 12345u;
        text += static_cast<char>('!' + (state >> 16) % 90);
        if (k % 70 == 69) text += '\n';
    }
    folder.Write("noisy.txt", text);
    return true;
}

constexpr long kNearlyFullDisk = 100000;

const FaultCase kFullDiskCases[] = {
    {"PackOntoAFullDiskKeepsTheOutput", WriteNoisyText, {"pack", "noisy.txt", "keep.pdb"}, 1,
     "cannot write keep.pdb: File too large", {}, "", kNearlyFullDisk},
    {"ConvertOntoAFullDisk",
     [](const ScratchFolder& f) {
         WriteNoisyText(f);
         f.Write("big.mbox", "From x\nSubject: big\n\n" + f.Read("noisy.txt"));
         return true;
     },
     {"convert", "big.mbox", "big.pdb"}, 1, "cannot write big.pdb: File too large", {}, "", kNearlyFullDisk},
    {"ConvertTextOntoAFullDisk",
     [](const ScratchFolder& f) {
         WriteNoisyText(f);
         f.Write("big.mbox", "From x\nSubject: big\n\n" + f.Read("noisy.txt"));
         return true;
     },
     {"convert", "big.mbox", "big.txt"}, 1, "cannot write big.txt: File too large", {}, "", kNearlyFullDisk},
};

// Three messages: a tagged subject and a full header, no subject, no body.
constexpr char kThreeMessages[] =
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

constexpr char kThreeAsText[] =
    "Subject: Hello\nFrom: \"Taro\" <taro@example.jp>\nDate: Mon, 6 Dec 2026 21:31:56 +0900\n"
    "body\r\nFrom the start\r\n--EOM--\n"
    "Subject: \nFrom: Hanako <h@example.jp>\nDate: \nno subject\r\n--EOM--\n"
    "Subject: Third\nFrom: \nDate: \n--EOM--\n";

// Two of the three messages have a subject: each entry is numbered with the
// line of its Subject line in the document (the first line is 0), after
// the 3 index lines and after the first two blocks' 11.
constexpr char kThreeIndex[] =
    "#!Medoc index 2\n"
    "3:Hello                         \r\n"
    "14:Third                         \r\n";

bool WriteThreeMessages(const ScratchFolder& folder) {
    folder.Write("three.mbox", kThreeMessages);
    return true;
}

// convert's database is its text packed with its index.
const std::string& ThreeAsDatabase() {
    static const std::string database = [] {
        ScratchFolder folder;
        folder.Write("t.txt", kThreeAsText);
        folder.Write("i.txt", kThreeIndex);
        if (RunTool(folder, {"pack", "--title", "Mail", "--index", "i.txt", "t.txt", "t.pdb"}).status != 0) return std::string();
        return folder.Read("t.pdb");
    }();
    return database;
}

const FaultCase kConvertCases[] = {
    {"TextHoldsTheExportText", WriteThreeMessages, {"convert", "three.mbox", "out.txt"}, 0,
     "wrote out.txt: 3 messages, 215 bytes of text", {{"out.txt", kThreeAsText}}},
    {"OptionsSwitchTheCleanUps", WriteThreeMessages,
     {"convert", "--trim-subject=0", "--trim-from=1", "--conv-date=1", "three.mbox", "out.txt"}, 0, "wrote out.txt",
     {{"out.txt", "Subject: [ml:1] Hello\nFrom: \"Taro\"\nDate: 12/6 21:31 +0900\nbody\r\nFrom the start\r\n--EOM--\n"
                  "Subject: \nFrom: Hanako\nDate: \nno subject\r\n--EOM--\nSubject: Third\nFrom: \nDate: \n--EOM--\n"}}},
    {"IndexOutHoldsTheIndex", WriteThreeMessages, {"convert", "--index-out", "index.txt", "three.mbox", "out.txt"}, 0,
     "wrote out.txt", {{"index.txt", kThreeIndex}, {"out.txt", kThreeAsText}}},
    {"IndexOffGivesAnEmptyIndexAndTheSameText", WriteThreeMessages,
     {"convert", "--medoc-index=0", "--index-out", "index.txt", "three.mbox", "out.txt"}, 0, "wrote out.txt",
     {{"index.txt", ""}, {"out.txt", kThreeAsText}}},
    {"EmptyMailboxGivesAnIndexHeadLine", [](const ScratchFolder& f) { f.Write("e.mbox", ""); return true; },
     {"convert", "--index-out", "index.txt", "e.mbox", "e.txt"}, 0, "wrote e.txt: 0 messages, 0 bytes of text",
     {{"index.txt", "#!Medoc index 0\n"}, {"e.txt", ""}}},
    {"DatabaseIsTheTextPackedWithItsIndex", WriteThreeMessages, {"convert", "--title", "Mail", "three.mbox", "out.pdb"},
     0, "wrote out.pdb", {{"out.pdb", ThreeAsDatabase()}}},
    {"OfAMissingMailbox", nullptr, {"convert", "missing.mbox", "out.txt"}, 1,
     "cannot read missing.mbox: No such file or directory", {}},
    {"TextIntoAMissingFolder", nullptr, {"convert", "in.mbox", "nowhere/out.txt"}, 1,
     "cannot write nowhere/out.txt: No such file or directory", {}},
    {"IndexIntoAMissingFolderLeavesNoText", nullptr, {"convert", "--index-out", "nowhere/i.txt", "in.mbox", "out.txt"},
     1, "cannot write nowhere/i.txt: No such file or directory", {}},
    {"DatabaseIntoAMissingFolder", nullptr, {"convert", "in.mbox", "nowhere/out.pdb"}, 1,
     "cannot write nowhere/out.pdb: No such file or directory", {}},
    {"TextOntoAFolderRemovesTheIndex", [](const ScratchFolder& f) { return mkdir(f.Path("out.txt").c_str(), 0755) == 0; },
     {"convert", "--index-out", "index.txt", "in.mbox", "out.txt"}, 1, "cannot write out.txt: Is a directory", {}},
    {"DatabaseOfControlCharactersLeavesNoText",
     [](const ScratchFolder& f) { f.Write("tabs.mbox", "From x\nSubject: tabs\n\n" + std::string(8192, '\t') + "\n"); return true; },
     {"convert", "tabs.mbox", "out.pdb"}, 1,
     "tabs.mbox: record 2 of the text (bytes 4,096 to 8,191) holds nothing but control characters", {}},
};

std::string CaseName(const ::testing::TestParamInfo<FaultCase>& info) { return info.param.name; }

INSTANTIATE_TEST_SUITE_P(OutputIsAnInput, Faults, ::testing::ValuesIn(kSameFileCases), CaseName);
INSTANTIATE_TEST_SUITE_P(FilesNotOurs, Faults, ::testing::ValuesIn(kForeignFileCases), CaseName);
INSTANTIATE_TEST_SUITE_P(EmptyDocument, Faults, ::testing::ValuesIn(kEmptyDocumentCases), CaseName);
INSTANTIATE_TEST_SUITE_P(StandardOutput, Faults, ::testing::ValuesIn(kStandardOutputCases), CaseName);
INSTANTIATE_TEST_SUITE_P(FullDisk, Faults, ::testing::ValuesIn(kFullDiskCases), CaseName);
INSTANTIATE_TEST_SUITE_P(Convert, Faults, ::testing::ValuesIn(kConvertCases), CaseName);

}  // namespace

// The pack, unpack and info commands, round trips through an independent
// decoder, and damaged databases.
#include <gtest/gtest.h>

#include <cstdlib>

#include "palmdoc_test_support.h"

namespace {

std::string Quote(const std::string& path) { return "'" + path + "'"; }

Bytes SampleText() {
    // English and Shift-JIS lines, CR LF ends, a tab, across three records.
    const Bytes english = Bytes({'T', 'h', 'e', ' ', 'q', 'u', 'i', 'c', 'k', '\t', 'f', 'o', 'x', '\r', '\n'});
    const Bytes japanese = FromHex("93 FA 96 7B 8C EA 82 CC 83 65 83 4C 83 58 83 67 0D 0A");
    Bytes text;
    for (int i = 0; i < 300; ++i) text = Concat(text, i % 3 == 0 ? japanese : english);
    return text;
}

Bytes Filtered(Bytes text) {
    Bytes kept;
    for (unsigned char c : text) {
        if (c >= 0x20 || c == 0x0A) kept.push_back(c);
    }
    return kept;
}

class ToolTest : public ::testing::Test {
protected:
    ScratchFolder folder;
    std::string text = folder.Path("mail.txt");
    std::string pdb = folder.Path("mail.pdb");
    std::string out = folder.Path("out.txt");
};

TEST_F(ToolTest, PackThenUnpackGivesTheFilteredText) {
    WriteFile(text, SampleText());
    ASSERT_EQ(RunTool("pack " + Quote(text) + " " + Quote(pdb)), 0);
    ASSERT_EQ(RunTool("unpack " + Quote(pdb) + " " + Quote(out)), 0);
    EXPECT_EQ(ReadFile(out), Filtered(SampleText()));
    std::string stdoutText;
    ASSERT_EQ(RunTool("unpack " + Quote(pdb), &stdoutText), 0);
    EXPECT_EQ(Bytes(stdoutText.begin(), stdoutText.end()), Filtered(SampleText()));
}

TEST_F(ToolTest, PackTakesTitleAndIndex) {
    WriteFile(text, SampleText());
    const std::string index = folder.Path("index.txt");
    WriteFile(index, Bytes({'I', 'N', 'D', 'E', 'X', '\n'}));
    ASSERT_EQ(RunTool("pack --title Doc --index " + Quote(index) + " " + Quote(text) + " " + Quote(pdb)), 0);
    const Bytes file = ReadFile(pdb);
    EXPECT_EQ(std::string(file.begin(), file.begin() + 4), std::string("Doc\0", 4));
    ASSERT_EQ(RunTool("unpack " + Quote(pdb) + " " + Quote(out)), 0);
    EXPECT_EQ(ReadFile(out), Concat(Bytes({'I', 'N', 'D', 'E', 'X', '\n'}), Filtered(SampleText())));
}

TEST_F(ToolTest, PackNamesTheDocumentAfterTheTextFile) {
    WriteFile(text, SampleText());
    ASSERT_EQ(RunTool("pack " + Quote(text) + " " + Quote(pdb)), 0);
    std::string info;
    ASSERT_EQ(RunTool("info " + Quote(pdb), &info), 0);
    EXPECT_NE(info.find("name: mail\n"), std::string::npos) << info;
}

TEST_F(ToolTest, FailedPackLeavesNoDatabase) {
    WriteFile(text, Bytes(4096, '\t'));
    EXPECT_EQ(RunTool("pack " + Quote(text) + " " + Quote(pdb)), 1);
    EXPECT_FALSE(FileExists(pdb));
    EXPECT_EQ(RunTool("pack " + Quote(folder.Path("missing.txt")) + " " + Quote(pdb)), 1);
    EXPECT_EQ(RunTool("pack " + Quote(text)), 2);
}

TEST_F(ToolTest, InfoListsTheRecords) {
    WriteFile(text, Repeat(FromHex("61 62 63"), 6));
    ASSERT_EQ(RunTool("pack --title test " + Quote(text) + " " + Quote(pdb)), 0);
    std::string info;
    ASSERT_EQ(RunTool("info " + Quote(pdb), &info), 0);
    EXPECT_EQ(info,
              "name: test\ntype: TEXt\ncreator: REAd\nrecords: 2\ncompression: 2\ntext length: 18\n"
              "record count: 1\nrecord size: 4096\nrecord 1: offset 112, stored 8, text 18\n");
}

TEST_F(ToolTest, IndependentDecoderReadsOurDatabases) {
    if (std::system("command -v txt2pdbdoc >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "txt2pdbdoc is not installed (Debian package txt2pdbdoc)";
    }
    const Bytes inputs[] = {SampleText(), Repeat(FromHex("61"), 9000), Bytes(1, 'x'), FromHex("20 82 A0 20 41 01 02")};
    for (const Bytes& input : inputs) {
        WriteFile(text, input);
        ASSERT_EQ(RunTool("pack " + Quote(text) + " " + Quote(pdb)), 0);
        const std::string command = "txt2pdbdoc -d " + Quote(pdb) + " " + Quote(out) + " >/dev/null 2>&1";
        ASSERT_EQ(std::system(command.c_str()), 0);
        Bytes expected;
        for (unsigned char c : input) {
            if (c >= 0x20 || c == 0x0A || c == 0x00) expected.push_back(c);
        }
        EXPECT_EQ(ReadFile(out), expected);
    }
}

// Damage done to the worked example's 120 bytes, and the message expected.
struct Damage {
    const char* what;
    void (*apply)(Bytes& file);
    const char* message;
};

void Put32(Bytes& file, std::size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) file[at + i] = static_cast<unsigned char>(value >> (24 - 8 * i));
}

const Damage kDamages[] = {
    {"truncated header", [](Bytes& f) { f.resize(50); }, "truncated inside the database header"},
    {"truncated record list", [](Bytes& f) { f.resize(82); }, "truncated inside the record list"},
    {"offset past the end", [](Bytes& f) { Put32(f, 86, 500); }, "past the end of the file"},
    {"offsets out of order", [](Bytes& f) { Put32(f, 86, 95); }, "out of order"},
    {"offset inside the record list", [](Bytes& f) { Put32(f, 78, 10); }, "inside the header or record list"},
    {"record count too large", [](Bytes& f) { f[96 + 9] = 5; }, "record count 5"},
    {"back-reference before the start", [](Bytes& f) { f[115] = 0x80; f[116] = 0x40; }, "before the record's start"},
    {"back-reference cut off", [](Bytes& f) { f.resize(116); f[115] = 0x80; }, "back-reference cut off"},
    {"verbatim run cut off", [](Bytes& f) { f[117] = 0x05; }, "verbatim run cut off"},
    {"not a text database", [](Bytes& f) { f[60] = 'D'; }, "not a Palm DOC"},
    {"no records", [](Bytes& f) { f[77] = 0; }, "no records"},
    {"record 0 too short", [](Bytes& f) { Put32(f, 86, 100); }, "record 0 too short"},
    {"unknown compression", [](Bytes& f) { f[97] = 9; }, "unknown compression"},
    {"too long for its record size", [](Bytes& f) { f[106] = 0; f[107] = 4; }, "more than 4 bytes"},
};

TEST_F(ToolTest, DamagedDatabasesGiveAClearErrorAndNoOutput) {
    WriteFile(text, Repeat(FromHex("61 62 63"), 6));
    ASSERT_EQ(RunTool("pack --title test " + Quote(text) + " " + Quote(pdb)), 0);
    const Bytes good = ReadFile(pdb);
    ASSERT_EQ(good.size(), 120u);
    for (const Damage& damage : kDamages) {
        SCOPED_TRACE(damage.what);
        Bytes bad = good;
        damage.apply(bad);
        WriteFile(pdb, bad);
        for (const char* command : {"unpack", "info"}) {
            std::string errors;
            EXPECT_EQ(RunTool(std::string(command) + " " + Quote(pdb) + " " + (std::string(command) == "unpack" ? Quote(out) : ""),
                              nullptr, &errors),
                      1);
            EXPECT_NE(errors.find(damage.message), std::string::npos) << errors;
            EXPECT_FALSE(FileExists(out));
        }
    }
}

TEST_F(ToolTest, MissingDatabaseIsAnError) {
    EXPECT_EQ(RunTool("unpack " + Quote(folder.Path("missing.pdb"))), 1);
    EXPECT_EQ(RunTool("info " + Quote(folder.Path("missing.pdb"))), 1);
}

}  // namespace

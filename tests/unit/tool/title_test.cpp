// Titles: taken in the terminal's encoding (UTF-8 here), stored as code
// page 932, cut at 31 bytes on a character boundary; the default title
// steps over double-byte characters whose second byte is "\".
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "support/tool_run.h"
#include "tools/coraxtopalm/default_title.h"
#include "tools/coraxtopalm/palm_title.h"

namespace {

// The sources are UTF-8 and the compiler makes plain literals code page
// 932: u8"" is what a terminal gives, "" what the database must hold.
struct TitleCase {
    const char* name;
    std::string given;     // UTF-8
    std::string expected;  // code page 932
};

void PrintTo(const TitleCase& test, std::ostream* out) { *out << test.name; }

class Titles : public ::testing::TestWithParam<TitleCase> {
protected:
    static void SetUpTestSuite() { setenv("LC_ALL", "C.UTF-8", 1); }
};

const std::string kFifteenKanji = u8"一二三四五六七八九十百千万億兆";

const TitleCase kTitleCases[] = {
    {"Ascii", "Inbox", "Inbox"},
    {"Japanese", u8"予定表", "予定表"},
    {"HalfWidthKatakanaIsOneByte", u8"ｱｲｳ", "ｱｲｳ"},
    {"ThirtyOneBytesFit", "a" + kFifteenKanji, "a一二三四五六七八九十百千万億兆"},
    {"DoubleByteCharacterAcrossTheLimitIsLeftOut", kFifteenKanji + u8"京", "一二三四五六七八九十百千万億兆"},
    {"LongAsciiCutAt31", std::string(40, 'x'), std::string(31, 'x')},
    {"SecondByteBackslashKept", u8"ソ表", "ソ表"},
};

TEST_P(Titles, StoredAsCodePage932) {
    std::string title;
    std::string error;
    ASSERT_TRUE(TitleFromText(GetParam().given, title, error)) << error;
    EXPECT_EQ(title, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Given, Titles, ::testing::ValuesIn(kTitleCases),
                         [](const ::testing::TestParamInfo<TitleCase>& info) { return info.param.name; });

const TitleCase kFileNameCases[] = {
    {"FolderAndExtensionGo", "mail/inbox.txt", "inbox"},
    {"JapaneseName", u8"メール/予定表.mbox", "予定表"},
    // ソ is 0x83 0x5C: its second byte is no folder separator.
    {"SecondByteIsNotASeparator", u8"ソフト.txt", "ソフト"},
    {"WindowsSeparator", "C:\\mail\\inbox.txt", "inbox"},
    {"OnlyTheLastExtension", "a.b.txt", "a.b"},
    {"LeadingDotKept", ".hidden", ".hidden"},
    {"FolderNameCodePage932CannotHoldDoesNotMatter", u8"\U0001F363/box.txt", "box"},
};

class FileNameTitles : public Titles {};

TEST_P(FileNameTitles, FromTheFileName) {
    std::string title;
    std::string error;
    ASSERT_TRUE(TitleFromFileName(GetParam().given, title, error)) << error;
    EXPECT_EQ(title, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(FileName, FileNameTitles, ::testing::ValuesIn(kFileNameCases),
                         [](const ::testing::TestParamInfo<TitleCase>& info) { return info.param.name; });

TEST(DefaultTitle, StepsOverDoubleByteCharacters) {
    EXPECT_EQ(DefaultTitle("folder\\予定表.ctx"), "予定表");
    EXPECT_EQ(DefaultTitle("表"), "表");
    EXPECT_EQ(DefaultTitle("ソフト\\ソフト.txt"), "ソフト");
}

TEST(RefusedTitle, NamesTheCharacterCodePage932CannotHold) {
    setenv("LC_ALL", "C.UTF-8", 1);
    std::string title;
    std::string error;
    EXPECT_FALSE(TitleFromText(u8"寿司\U0001F363です", title, error));
    EXPECT_EQ(error, std::string(u8"the title \"寿司\U0001F363です\" has a character that code page 932 cannot "
                                 u8"hold, at \"\U0001F363です\"; give another with --title"));
}

// The name field of the databases the tool writes, end to end.
TEST(ToolTitles, StoredInTheNameField) {
    ScratchFolder folder;
    folder.Write(u8"ソフト.txt", "text\n");
    ToolRun run = RunTool(folder, {"pack", u8"ソフト.txt", "a.pdb"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(folder.Read("a.pdb").substr(0, 8), std::string("ソフト\0\0", 8));
    run = RunTool(folder, {"pack", "--title", kFifteenKanji + u8"京", u8"ソフト.txt", "b.pdb"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(folder.Read("b.pdb").substr(0, 32), std::string("一二三四五六七八九十百千万億兆\0\0", 32));
    run = RunTool(folder, {"pack", "--title", u8"\U0001F363", u8"ソフト.txt", "c.pdb"});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("code page 932 cannot hold"), std::string::npos) << run.err;
    EXPECT_FALSE(folder.Exists("c.pdb"));
}

}  // namespace

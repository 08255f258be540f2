#include "export/base_name.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/fake_platform.h"
#include "settings/plugin_settings.h"

using exporter::BaseName;
using exporter::FolderFileName;
using exporter::MakeBaseName;
using exporter::NextUniqId;
using exporter::kBaseNameSize;
using settings::PluginSettings;

namespace fake_platform = platform::fake_platform;

namespace {

struct Case {
    const char* folderPath;
    int month, day, uniqId;
    BaseName result;
    const char* baseName;  // when formed
    int uniqIdAfter;
};

TEST(MakeBaseNameTest, NamesFromFolderDateAndLetter) {
    const Case cases[] = {
        {"D:\\Mail\\Account\\main\\inbox.ctx", 3, 1, 'Z', BaseName::Formed, "inbox_0301Z", 'a'},
        {"D:\\Mail\\Account\\main\\inbox.ctx", 5, 22, 'a', BaseName::Formed, "inbox_0522a", 'b'},
        {"D:\\Mail\\Account\\main\\inbox.ctx", 12, 31, 'z', BaseName::Formed, "inbox_1231z", 'A'},
        {"D:\\Mail\\Account\\main\\a.b.c", 1, 9, 'c', BaseName::Formed, "a.b_0109c", 'd'},
        {"D:\\Mail\\NewsGroup\\fj.comp.lang.c.ctx", 5, 22, 'a', BaseName::Formed, "f.c.l.c_0522a", 'b'},
        {"D:\\Mail\\NewsGroup\\comp.os.linux.ctx", 5, 22, 'a', BaseName::Formed, "c.o.linux_0522a", 'b'},
        {"D:\\Mail\\Account\\main\\inbox", 5, 22, 'a', BaseName::Unchanged, "inbox", 'a'},
        {"inbox.ctx", 5, 22, 'a', BaseName::None, "", 'a'},
        {"D:\\NewsGroup.d\\group", 5, 22, 'a', BaseName::None, "", 'a'},
        // Folder names whose characters end in the byte of "\".
        {"D:\\Mail\\Account\\main\\予定表.ctx", 12, 8, 'a', BaseName::Formed, "予定表_1208a", 'b'},
        {"D:\\Mail\\Account\\main\\表.ctx", 12, 8, 'a', BaseName::Formed, "表_1208a", 'b'},
        {"D:\\Mail\\Account\\main\\ソフト.ctx", 12, 8, 'a', BaseName::Formed, "ソフト_1208a", 'b'},
        {"D:\\Mail\\Account\\ソ\\申能構貼暴.ctx", 12, 8, 'a', BaseName::Formed, "申能構貼暴_1208a", 'b'},
        {"D:\\Mail\\Account\\予定表\\十", 12, 8, 'a', BaseName::Unchanged, "十", 'a'},
        {"予定表.ctx", 12, 8, 'a', BaseName::None, "", 'a'},
        {"D:\\NewsGroup\\表示.テスト.ctx", 12, 8, 'a', BaseName::Formed, "表.テスト_1208a", 'b'},
    };
    for (const Case& c : cases) {
        fake_platform::Reset();
        fake_platform::Fake().today = {c.month, c.day};
        PluginSettings.UniqID = c.uniqId;
        const std::string before = c.folderPath;
        char baseName[kBaseNameSize] = "";
        EXPECT_EQ(MakeBaseName(c.folderPath, baseName), c.result) << c.folderPath;
        if (c.result == BaseName::Formed || c.result == BaseName::Unchanged) {
            EXPECT_STREQ(baseName, c.baseName) << c.folderPath;
        }
        EXPECT_EQ(PluginSettings.UniqID, c.uniqIdAfter) << c.folderPath;
        EXPECT_EQ(before, c.folderPath);
    }
}

TEST(MakeBaseNameTest, ANameTooLongForItsBufferIsRefusedNotCut) {
    fake_platform::Reset();
    PluginSettings.UniqID = 'a';
    const std::string path = "D:\\" + std::string(kBaseNameSize - 4, 'x') + ".ctx";
    char baseName[kBaseNameSize] = "untouched";
    EXPECT_EQ(MakeBaseName(path.c_str(), baseName), BaseName::TooLong);
    EXPECT_STREQ(baseName, "untouched");
    EXPECT_EQ(PluginSettings.UniqID, 'b');  // the folder was named all the same
}

TEST(FolderFileNameTest, FollowsTheLastSeparatorNotASecondByte) {
    const struct {
        const char* folderPath;
        const char* fileName;  // null: none
    } cases[] = {
        {"D:\\Mail\\inbox.ctx", "inbox.ctx"},
        {"D:\\Mail\\予定表.ctx", "予定表.ctx"},
        {"D:\\表\\ソ", "ソ"},
        {"D:\\Mail\\", ""},
        {"予定表", nullptr},
    };
    for (const auto& c : cases) {
        const char* fileName = FolderFileName(c.folderPath);
        if (c.fileName == nullptr) {
            EXPECT_EQ(fileName, nullptr) << c.folderPath;
        } else {
            EXPECT_STREQ(fileName, c.fileName) << c.folderPath;
        }
    }
}

TEST(NextUniqIdTest, RunsThroughBothAlphabets) {
    std::string letters;
    int code = 'a';
    for (int i = 0; i < 53; ++i, code = NextUniqId(code)) letters += static_cast<char>(code);
    EXPECT_EQ(letters, "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZa");
}

}  // namespace

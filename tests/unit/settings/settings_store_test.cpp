#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstddef>
#include <string>

#include "platform/fake_platform.h"
#include "settings/plugin_settings.h"

using settings::GetIniFilePath;
using settings::LoadSettings;
using settings::ParseIniInteger;
using settings::PluginSettings;
using settings::SaveSettings;
using settings::SettingsRecord;
using settings::WriteIniInt;
using settings::kIniPathCapacity;

namespace fake_platform = platform::fake_platform;

namespace {

using fake_platform::Fake;

// ConvToDoc, MeDocIndex, DoRead, TrimSubject, ID, InstallUser, DecodeMime, Bookmarks.
constexpr std::ptrdiff_t kSavedKeyCount = 8;

class SettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        fake_platform::Reset();
        PluginSettings = {};
        Fake().moduleFileName = "C:\\Tools\\plugin.dll";
    }
    std::map<std::string, std::string>& Section(const char* name) {
        return Fake().iniFiles["C:\\Tools\\plugin.ini"][name];
    }
};

TEST(IniPathTest, ReplacesFromTheLastDotOfTheWholePath) {
    struct Case {
        const char* module;
        int formed;
        const char* path;
    };
    const Case cases[] = {
        {"C:\\Tools\\plugin.dll", 1, "C:\\Tools\\plugin.ini"},
        {"C:\\a.b\\plugin", 1, "C:\\a.ini"},
        {"C:\\Tools\\plugin", 0, ""},
        {"C:\\Tools\\plug.in.dll", 1, "C:\\Tools\\plug.in.ini"},
        {"", 0, ""},  // the platform gives no path
    };
    for (const Case& c : cases) {
        fake_platform::Reset();
        Fake().moduleFileName = c.module;
        char path[kIniPathCapacity + 3] = "";
        EXPECT_EQ(GetIniFilePath(path, kIniPathCapacity), c.formed) << c.module;
        if (c.formed) {
            EXPECT_STREQ(path, c.path) << c.module;
        }
    }
}

TEST(IniPathTest, APathCutByTheCapacityGivesNoIniFile) {
    fake_platform::Reset();
    Fake().moduleFileName = "C:\\" + std::string(300, 'x') + ".dll";
    char path[kIniPathCapacity + 3];
    EXPECT_EQ(GetIniFilePath(path, kIniPathCapacity), 0);
}

TEST(ParseIniIntegerTest, ConvertsLikeTheStore) {
    struct Case {
        const char* text;
        int32_t value;
    };
    const Case cases[] = {
        {"", 0},          {" 2x", 2},           {"-3", -3},          {"+7", 7},
        {"\t\r\n\v\f 9", 9}, {"x5", 0},          {"-", 0},            {"--1", 0},
        {"2147483647", INT32_MAX}, {"2147483648", INT32_MIN}, {"4294967297", 1},
        {"-2147483648", INT32_MIN}, {"\x82\x50", 0},  // a full-width digit is no digit
    };
    for (const Case& c : cases) EXPECT_EQ(ParseIniInteger(c.text), c.value) << '"' << c.text << '"';
}

TEST_F(SettingsStoreTest, NoFileGivesTheDefaults) {
    PluginSettings.MinUnread = 9;
    LoadSettings();
    const SettingsRecord& s = PluginSettings;
    EXPECT_EQ((std::vector<int32_t>{s.ConvToDoc, s.MeDocIndex, s.DoRead, s.TrimSubject, s.SubFolder, s.TrimFrom,
                                    s.ConvDate, s.UniqID, s.InstallUser, s.MinUnread, s.DecodeMime, s.Bookmarks}),
              (std::vector<int32_t>{1, 1, 1, 1, 0, 0, 0, 97, 0, 0, 0, 0}));
}

TEST_F(SettingsStoreTest, NoIniPathGivesDefaultsAndSavesNothing) {
    Fake().moduleFileName = "C:\\Tools\\plugin";
    Fake().iniFiles["C:\\Tools\\plugin"]["Settings"]["ConvToDoc"] = "0";
    LoadSettings();
    EXPECT_EQ(PluginSettings.ConvToDoc, 1);
    SaveSettings();
    EXPECT_EQ(Fake().iniFiles.size(), 1u);
    EXPECT_EQ(std::count(Fake().calls.begin(), Fake().calls.end(), "WritePrivateProfileStringA"), 0);
}

TEST_F(SettingsStoreTest, PresentKeysWinAndEmptyTextIsZero) {
    Section("Settings") = {{"ConvToDoc", ""}, {"DoRead", " 2x"}, {"InstallUser", "-3"}, {"SubFolder", "1"},
                           {"Bookmarks", "1"}};
    Section("UniqID") = {{"ID", "122"}};
    LoadSettings();
    EXPECT_EQ(PluginSettings.ConvToDoc, 0);
    EXPECT_EQ(PluginSettings.DoRead, 2);
    EXPECT_EQ(PluginSettings.InstallUser, -3);
    EXPECT_EQ(PluginSettings.SubFolder, 1);
    EXPECT_EQ(PluginSettings.Bookmarks, 1);
    EXPECT_EQ(PluginSettings.UniqID, 122);
}

TEST_F(SettingsStoreTest, MinUnreadIsNeverReadFromTheFile) {
    Section("Settings") = {{"MinUnread", "5"}};
    PluginSettings.MinUnread = 3;
    LoadSettings();
    EXPECT_EQ(PluginSettings.MinUnread, 0);
}

TEST_F(SettingsStoreTest, SavesExactlyEightKeysInOrder) {
    Section("Settings") = {{"SubFolder", "1"}, {"TrimFrom", "keep"}};
    PluginSettings = {0, 1, 2, 3, 4, 5, 6, 65, -1, 8, 9, 10};
    SaveSettings();
    EXPECT_EQ(Section("Settings"), (std::map<std::string, std::string>{
                                       {"ConvToDoc", "0"}, {"MeDocIndex", "1"}, {"DoRead", "2"},
                                       {"TrimSubject", "3"}, {"InstallUser", "-1"}, {"DecodeMime", "9"},
                                       {"Bookmarks", "10"}, {"SubFolder", "1"}, {"TrimFrom", "keep"}}));
    EXPECT_EQ(Section("UniqID"), (std::map<std::string, std::string>{{"ID", "65"}}));
    EXPECT_EQ(std::count(Fake().calls.begin(), Fake().calls.end(), "WritePrivateProfileStringA"), kSavedKeyCount);
}

TEST_F(SettingsStoreTest, ARefusedWriteDoesNotStopTheOthers) {
    Fake().readOnlyIniPaths.push_back("C:\\Tools\\plugin.ini");
    EXPECT_EQ(WriteIniInt("Settings", "DoRead", 1), 0);
    SaveSettings();
    EXPECT_EQ(std::count(Fake().calls.begin(), Fake().calls.end(), "WritePrivateProfileStringA"), 1 + kSavedKeyCount);
}

}  // namespace

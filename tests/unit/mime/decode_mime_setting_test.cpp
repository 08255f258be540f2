// The DecodeMime setting: read from the INI file and written back with the
// other flags, and the export's text file decoded only when it is on.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "export/export_text.h"
#include "platform/fake_platform.h"
#include "settings/plugin_settings.h"
#include "settings/settings_store.h"
#include "support/scratch_folder.h"
#include "text/medoc_index.h"

using exporter::ExportText;
using exporter::MessageSource;
using exporter::WriteExportText;
using settings::LoadSettings;
using settings::PluginSettings;
using settings::SaveSettings;
using settings::SettingsRecord;
using settings::kDefaultSettings;
using text::MeDocIndexBuffer;
using text::ReleaseMeDocIndex;

namespace fake_platform = platform::fake_platform;

namespace {

using fake_platform::Fake;

constexpr char kIniPath[] = "C:\\Tools\\plugin.ini";

class DecodeMimeSettingTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = PluginSettings;
        fake_platform::Reset();
        Fake().moduleFileName = "C:\\Tools\\plugin.dll";
    }
    void TearDown() override {
        ReleaseMeDocIndex();
        PluginSettings = saved_;
    }

private:
    SettingsRecord saved_;
};

TEST_F(DecodeMimeSettingTest, ReadAtLoadWrittenBackAtSave) {
    struct Case {
        const char* text;  // null: no such key
        int32_t loaded;
        const char* saved;
    };
    const Case cases[] = {{nullptr, 0, "0"}, {"1", 1, "1"}, {"0", 0, "0"}, {"", 0, "0"}, {"01", 1, "1"}};
    for (const Case& c : cases) {
        const char* name = c.text ? c.text : "(none)";
        Fake().iniFiles.clear();
        if (c.text != nullptr) Fake().iniFiles[kIniPath]["Settings"]["DecodeMime"] = c.text;
        LoadSettings();
        EXPECT_EQ(PluginSettings.DecodeMime, c.loaded) << name;
        SaveSettings();
        EXPECT_EQ(Fake().iniFiles[kIniPath]["Settings"]["DecodeMime"], c.saved) << name;
        // The dialog's choice lasts into the next run of the host.
        const int32_t chosen = c.loaded == 0 ? 1 : 0;
        PluginSettings.DecodeMime = chosen;
        SaveSettings();
        LoadSettings();
        EXPECT_EQ(PluginSettings.DecodeMime, chosen) << name;
    }
}

class OneMessage : public MessageSource {
public:
    explicit OneMessage(std::string text) : text_(std::move(text)) {}
    bool Next(const char*& text) override {
        if (given_) return false;
        given_ = true;
        text = text_.c_str();
        return true;
    }
    void Release() override {}

private:
    std::string text_;
    bool given_ = false;
};

std::string ExportedText(const std::string& message) {
    ScratchFolder folder;
    OneMessage source(message);
    EXPECT_EQ(WriteExportText(folder.Path("export.txt").c_str(), source), ExportText::Written);
    return folder.Read("export.txt");
}

TEST_F(DecodeMimeSettingTest, TheExportDecodesOnlyWhenOn) {
    const std::string message =
        "Subject: =?ISO-2022-JP?B?GyRCJCIbKEI=?=\r\nFrom: f\r\nDate: d\r\n"
        "Content-Type: text/plain; charset=ISO-2022-JP\r\n\r\n\x1b$B$$\x1b(B\r\n";
    PluginSettings = kDefaultSettings;
    EXPECT_EQ(ExportedText(message),
              "Subject: =?ISO-2022-JP?B?GyRCJCIbKEI=?=\nFrom: f\nDate: d\n\x1b$B$$\x1b(B\r\n--EOM--\n");
    EXPECT_STREQ(MeDocIndexBuffer.text, "#!Medoc index 1\n2:=?ISO-2022-JP?B?GyRCJCIbKEI=?=\r\n");
    PluginSettings.DecodeMime = 1;
    EXPECT_EQ(ExportedText(message), "Subject: あ\nFrom: f\nDate: d\nい\r\n--EOM--\n");
    EXPECT_STREQ(MeDocIndexBuffer.text, "#!Medoc index 1\n2:あ                            \r\n");
}

}  // namespace

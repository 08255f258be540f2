// The entry routine's ordering, with a host whose exports the test controls.
#include "shell/library_entry.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "host/error_box.h"
#include "host/host_api.h"
#include "host/host_state.h"
#include "platform/fake_platform.h"
#include "settings/plugin_settings.h"

using host::HostMainWindow;
using host::ModuleHandle;
using host::ShowErrorBox;
using settings::PluginSettings;
using shell::OnLibraryEntry;

namespace fake_platform = platform::fake_platform;

namespace {

using fake_platform::Fake;

// The keys the settings store writes back at detach.
constexpr int kSavedKeyCount = 8;

void CORAX_CALL AnyHostFunction() {}

void ProvideAllHostFunctions() {
    for (const char* name : host::kHostFunctionNames) {
        Fake().hostExports[name] = reinterpret_cast<void*>(&AnyHostFunction);
    }
}

int Count(const char* call) { return static_cast<int>(std::count(Fake().calls.begin(), Fake().calls.end(), call)); }

class LibraryEntryTest : public ::testing::Test {
protected:
    void SetUp() override {
        fake_platform::Reset();
        PluginSettings = {};
        HostMainWindow = nullptr;
        Fake().moduleFileName = "C:\\Corax\\CoraxToPalm.dll";
        ProvideAllHostFunctions();
    }
    int module = 0;
};

TEST_F(LibraryEntryTest, AttachLoadsTheSettingsAfterTheCommonControls) {
    EXPECT_TRUE(OnLibraryEntry(&module, 1));
    EXPECT_EQ(ModuleHandle, &module);
    EXPECT_EQ(PluginSettings.UniqID, 97);
    ASSERT_FALSE(Fake().calls.empty());
    EXPECT_EQ(Fake().calls.front(), "InitCommonControls");
}

TEST_F(LibraryEntryTest, EveryMissingNameRefusesTheLoadBeforeAnyWork) {
    for (const char* missing : host::kHostFunctionNames) {
        fake_platform::Reset();
        ProvideAllHostFunctions();
        Fake().hostExports.erase(missing);
        EXPECT_FALSE(OnLibraryEntry(&module, 1)) << missing;
        EXPECT_TRUE(Fake().calls.empty()) << missing;
    }
}

TEST_F(LibraryEntryTest, ThreadNotificationsDoNothingMore) {
    for (uint32_t reason : {2u, 3u}) {
        Fake().calls.clear();
        EXPECT_TRUE(OnLibraryEntry(&module, reason));
        EXPECT_TRUE(Fake().calls.empty());
    }
}

TEST_F(LibraryEntryTest, DetachSavesOnlyWhileTheHostIsComplete) {
    EXPECT_TRUE(OnLibraryEntry(&module, 0));
    EXPECT_EQ(Count("WritePrivateProfileStringA"), kSavedKeyCount);
    Fake().calls.clear();
    Fake().hostExports.erase("CXA_RunMacro");
    EXPECT_FALSE(OnLibraryEntry(&module, 0));
    EXPECT_EQ(Count("WritePrivateProfileStringA"), 0);
}

TEST(ErrorBoxTest, MessageAndOptionalDetail) {
    fake_platform::Reset();
    int window = 0;
    HostMainWindow = nullptr;
    ShowErrorBox("DOCへの変換に失敗。", "C:\\Temp\\inbox_0522a.pdb");
    HostMainWindow = &window;
    ShowErrorBox("フォルダが多すぎる？");
    ASSERT_EQ(Fake().boxes.size(), 2u);
    EXPECT_EQ(Fake().boxes[0].text, std::string("DOCへの変換に失敗。") + "\n" + "C:\\Temp\\inbox_0522a.pdb");
    EXPECT_EQ(Fake().boxes[0].owner, nullptr);
    EXPECT_EQ(Fake().boxes[1].text, "フォルダが多すぎる？");
    EXPECT_EQ(Fake().boxes[1].owner, &window);
    for (const auto& box : Fake().boxes) {
        EXPECT_EQ(box.caption, "CoraxToPalm");
        EXPECT_EQ(box.icon, platform::BoxIcon::Error);
    }
    HostMainWindow = nullptr;
}

}  // namespace

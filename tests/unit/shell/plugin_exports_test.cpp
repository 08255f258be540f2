// The two exports as the host calls them: the information record, the menu
// items and the dispatch of the commands.
#include "shell/plugin_exports.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "host/host_state.h"
#include "platform/fake_platform.h"
#include "shell/plugin_info.h"
#include "support/fake_host.h"

using host::MenuEventContext;
using shell::CMD_CONVERT_FOLDER;
using shell::CMD_SETTINGS;
using shell::EVT_BUILD_MENU;
using shell::EVT_PLUGIN_INFO;

namespace fake_platform = platform::fake_platform;
namespace plugin_info = shell::plugin_info;

namespace {

using fake_platform::Fake;

class PluginExportsTest : public ::testing::Test {
protected:
    void SetUp() override {
        fake_platform::Reset();
        fake_host::Install();
        MenuEventContext = 0;
    }
};

// A record the host filled with a pattern: only the plug-in's fields change.
TEST_F(PluginExportsTest, InformationRecordWritesItsFieldsAndEmptiesTheHostsOnes) {
    constexpr size_t kRecordSize = 21384 + 100;
    std::vector<unsigned char> record(kRecordSize, 0xAA);
    EXPECT_EQ(CXH_OnHandleEvent(5, EVT_PLUGIN_INFO, 0, reinterpret_cast<intptr_t>(record.data())), 0);

    int32_t kind;
    std::memcpy(&kind, record.data(), sizeof kind);
    EXPECT_EQ(kind, 10);
    const auto text = [&](size_t offset) { return std::string(reinterpret_cast<const char*>(&record[offset])); };
    EXPECT_EQ(text(plugin_info::kNameOffset), "Corax To Palm");
    EXPECT_EQ(text(plugin_info::kVersionOffset), "Ver.0.2.3β");
    EXPECT_EQ(text(plugin_info::kReleaseDateOffset), "2002/05/22");
    EXPECT_EQ(text(plugin_info::kDescriptionOffset), "Palm の DOC 形式に変換し、インストール予約します。");
    for (size_t offset : plugin_info::kEmptiedOffsets) {
        EXPECT_EQ(record[offset], 0) << offset;
        EXPECT_EQ(record[offset + 1], 0xAA) << offset;
    }
    EXPECT_EQ(record[plugin_info::kNameOffset + sizeof "Corax To Palm"], 0xAA);
    EXPECT_EQ(MenuEventContext, 0) << "only menu events keep their context";
}

struct MenuCase {
    int32_t kind;
    int32_t result;
    const char* text;  // null: no item
    uint32_t itemId;
};

TEST_F(PluginExportsTest, MenusOfThreeKindsGetTheirItem) {
    const MenuCase cases[] = {
        {8, 1, "未読をDOCに変換", 40000},
        {9, 1, "DOCに変換", 40001},
        {3, 1, "CoraxToPalm の設定", 40002},
        {1, 0, nullptr, 0},
        {7, 0, nullptr, 0},
    };
    int menu = 0;
    for (const MenuCase& c : cases) {
        Fake().menuItems.clear();
        EXPECT_EQ(CXH_OnHandleEvent(100 + c.kind, EVT_BUILD_MENU, c.kind, reinterpret_cast<intptr_t>(&menu)), c.result);
        EXPECT_EQ(MenuEventContext, 100 + c.kind) << "every menu event keeps its context";
        if (c.text == nullptr) {
            EXPECT_TRUE(Fake().menuItems.empty()) << c.kind;
            continue;
        }
        ASSERT_EQ(Fake().menuItems.size(), 1u) << c.kind;
        EXPECT_EQ(Fake().menuItems[0].menu, &menu);
        EXPECT_EQ(Fake().menuItems[0].id, c.itemId);
        EXPECT_EQ(Fake().menuItems[0].text, c.text);
    }
}

TEST_F(PluginExportsTest, OtherEventsStoreNothing) {
    MenuEventContext = 3;
    EXPECT_EQ(CXH_OnHandleEvent(9, 999, 8, 0), 0);
    EXPECT_EQ(MenuEventContext, 3);
    EXPECT_TRUE(fake_host::Host().calls.empty());
}

TEST_F(PluginExportsTest, CommandsGoToTheirWork) {
    CXH_OnCmdProc(0, CMD_SETTINGS);
    EXPECT_EQ(Fake().calls, (std::vector<std::string>{"ShowSettingsDialog"}));

    CXH_OnCmdProc(0, CMD_CONVERT_FOLDER);
    EXPECT_EQ(fake_host::Host().calls.at(0), "CXA_GetStaticWindows");
    ASSERT_EQ(Fake().boxes.size(), 1u);
    EXPECT_EQ(Fake().boxes[0].text, "変換対象がありませんでした");

    Fake().calls.clear();
    fake_host::Host().calls.clear();
    CXH_OnCmdProc(0, 12345);
    EXPECT_TRUE(Fake().calls.empty());
    EXPECT_TRUE(fake_host::Host().calls.empty());
}

}  // namespace

// The export commands against a fake host: what the host is asked to do, in
// which order, what the user is shown and which files remain.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "export/export_command.h"
#include "export_run_fixture.h"
#include "hotsync/palm_desktop.h"
#include "hotsync/palm_desktop_registry.h"
#include "host/failure_code.h"
#include "host/host_state.h"
#include "host/last_output_path.h"
#include "platform/fake_platform.h"
#include "settings/plugin_settings.h"

using exporter::ExportMode;
using exporter::RunExportCommand;
using host::FailureCode;
using host::HostMainWindow;
using host::LastOutputPath;
using host::MenuEventContext;
using host::kConversionFailed;
using host::kTextFileFailed;
using hotsync::PalmDesktopPath;
using hotsync::kHotSyncManagerKey;
using settings::PluginSettings;

namespace fake_platform = platform::fake_platform;

namespace export_run {
namespace {

using fake_host::Host;
using fake_host::ReadCount;
using fake_platform::Fake;
using Calls = std::vector<std::string>;

constexpr char kInformationCaption[] = "CoraxToPalm";
constexpr char kDoneCaption[] = "変換完了";
constexpr char kNothing[] = "変換対象がありませんでした";

std::vector<std::string> BoxTexts() {
    std::vector<std::string> texts;
    for (const fake_platform::Box& box : Fake().boxes) texts.push_back(box.caption + "|" + box.text);
    return texts;
}

std::vector<std::string> Macros() {
    std::vector<std::string> macros;
    for (const std::string& call : Host().calls) {
        if (call.rfind("CXA_RunMacro ", 0) == 0) macros.push_back(call.substr(13));
    }
    return macros;
}

TEST_F(ExportRunTest, UnreadCommandExportsQueuesAndPreparesTheHostAroundIt) {
    AddFolder(kInbox, {"first", "second"});
    Host().folders[kInbox].push_back({MessageText("already read"), false, false});
    Host().current = kInbox;

    RunExportCommand(ExportMode::Unread);

    EXPECT_EQ(Host().calls, (Calls{"CXA_GetStaticWindows", "CXA_GetCurrentCtxpath", "CXA_OpenAllThread",
                                   "CXA_RunMacro SelectAllUnreadMessage();", "CXA_GetMessageCount 1",
                                   "CXA_RunMacro DoRead();", "CXA_CloseAllThread",
                                   "CXA_RunMacro SetFocusToList();", "CXA_RunMacro SetFocusToFolder();",
                                   "CXA_ReDispListAndView"}));
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{std::string(kDoneCaption) +
                                                    "|User : 山田 太郎\nTitle : inbox_0522a\n"}));
    EXPECT_EQ(Fake().boxes[0].owner, Host().mainWindow);
    EXPECT_EQ(Fake().boxes[0].icon, platform::BoxIcon::Information);
    EXPECT_TRUE(Exists(InstallFile("inbox_0522a.pdb")));
    EXPECT_FALSE(Exists(TemporaryFile("inbox_0522a.txt")));
    EXPECT_EQ((Fake().registryDwords[{kHotSyncManagerKey, "Install1001"}]), 1u);
    EXPECT_EQ(ReadCount(kInbox), 3);
    EXPECT_EQ(PluginSettings.UniqID, 'b');
    EXPECT_EQ(HostMainWindow, Host().mainWindow);
}

TEST_F(ExportRunTest, TextFileHoldsOneBlockPerMessage) {
    PluginSettings.ConvToDoc = 0;
    AddFolder(kInbox, {"one", "two", "three"});
    Host().current = kInbox;

    RunExportCommand(ExportMode::Unread);

    const std::string path = TemporaryFile("inbox_0522a.txt");
    const std::string text = FileBytes(path);
    EXPECT_EQ(text.rfind("Subject: one\nFrom: Yamada <yamada@example.jp>\nDate: Wed, 22 May 2002 10:00:00 +0900\n"
                         "Hello.\r\n--EOM--\n", 0), 0u);
    EXPECT_NE(text.find("\n--EOM--\nSubject: three\n"), std::string::npos);
    EXPECT_EQ(text.size() - text.rfind("--EOM--\n"), 8u);
    EXPECT_STREQ(LastOutputPath, path.c_str());
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{std::string(kInformationCaption) + "|テキストファイル\nFile : " +
                                                    path + "\n"}));
}

TEST_F(ExportRunTest, HostWithholdingATextLeavesTheMessageOut) {
    PluginSettings.ConvToDoc = 0;
    AddFolder(kInbox, {"one", "two", "three"});
    Host().folders[kInbox][1].text.reset();
    Host().current = kInbox;

    RunExportCommand(ExportMode::Unread);

    const std::string text = FileBytes(TemporaryFile("inbox_0522a.txt"));
    EXPECT_NE(text.find("Subject: one"), std::string::npos);
    EXPECT_EQ(text.find("Subject: two"), std::string::npos);
    EXPECT_NE(text.find("Subject: three"), std::string::npos);
}

struct CommandCase {
    const char* name;
    ExportMode mode;
    bool current;         // the host names inbox as current
    bool subFolder;
    int32_t listResult;   // -2: list work and home as they are
    std::vector<std::string> boxes;
    std::vector<std::string> macros;
    std::vector<std::string> filesLeft;
};

class CommandTest : public ExportRunTest, public ::testing::WithParamInterface<CommandCase> {};

constexpr int32_t kListAsTheyAre = -2;

TEST_P(CommandTest, FoldersVisitedBoxesAndFiles) {
    const CommandCase& c = GetParam();
    PluginSettings.SubFolder = c.subFolder ? 1 : 0;
    WithoutInstallUser();
    AddFolder(kInbox, {});
    AddFolder(kWork, {"work mail"});
    AddFolder(kHome, {"home mail"});
    Host().current = c.current ? kInbox : "";
    Host().fallback = kInbox;
    Host().listed = {kWork, kHome};
    if (c.listResult != kListAsTheyAre) Host().listResult = c.listResult;

    RunExportCommand(c.mode);

    std::vector<std::string> expectedBoxes;
    for (const std::string& box : c.boxes) {
        const size_t at = box.find("@TMP@");
        expectedBoxes.push_back(at == std::string::npos ? box : box.substr(0, at) + temporaryFolder_ + box.substr(at + 5));
    }
    EXPECT_EQ(BoxTexts(), expectedBoxes);
    EXPECT_EQ(Macros(), c.macros);
    std::vector<std::string> expectedFiles;
    for (const std::string& name : c.filesLeft) expectedFiles.push_back("tmp\\" + name);
    EXPECT_EQ(FilesLeft(), expectedFiles);
}

const std::string kDone = std::string(kDoneCaption) + "|File : @TMP@\\";
const std::string kNothingBox = std::string(kInformationCaption) + "|" + kNothing;

INSTANTIATE_TEST_SUITE_P(
    Commands, CommandTest,
    ::testing::Values(
        CommandCase{"NoCurrentFolderNoSubfolders", ExportMode::Unread, false, false, kListAsTheyAre, {kNothingBox}, {}, {}},
        CommandCase{"NoCurrentFolderListsFromTheFallback", ExportMode::Unread, false, true, kListAsTheyAre,
                    {kDone + "home_0522b.pdb\n"},
                    {"OpenThisFolder(\"main\\inbox\\work.ctx\");", "SelectAllUnreadMessage();", "DoRead();",
                     "SetFocusToList();", "SetFocusToFolder();", "OpenThisFolder(\"main\\inbox\\home.ctx\");",
                     "SelectAllUnreadMessage();", "DoRead();", "SetFocusToList();", "SetFocusToFolder();"},
                    {"home_0522b.pdb", "work_0522a.pdb"}},
        CommandCase{"EmptyFolderWithTwoSubfoldersCountsTwo", ExportMode::Unread, true, true, kListAsTheyAre,
                    {kDone + "home_0522c.pdb\n"},
                    {"SelectAllUnreadMessage();", "SetFocusToList();", "SetFocusToFolder();",
                     "OpenThisFolder(\"main\\inbox\\work.ctx\");", "SelectAllUnreadMessage();", "DoRead();",
                     "SetFocusToList();", "SetFocusToFolder();", "OpenThisFolder(\"main\\inbox\\home.ctx\");",
                     "SelectAllUnreadMessage();", "DoRead();", "SetFocusToList();", "SetFocusToFolder();"},
                    {"home_0522c.pdb", "work_0522b.pdb"}},
        CommandCase{"EmptyListingExportsOnlyTheCurrentFolder", ExportMode::Unread, true, true, 0, {kNothingBox},
                    {"SelectAllUnreadMessage();", "SetFocusToList();", "SetFocusToFolder();"}, {}},
        CommandCase{"FailedListingShowsItsBoxThenTheNotice", ExportMode::Unread, true, true, -1,
                    {"CoraxToPalm|フォルダが多すぎる？", kNothingBox},
                    {"SelectAllUnreadMessage();", "SetFocusToList();", "SetFocusToFolder();"}, {}},
        CommandCase{"SelectionTouchesNoMacroAndNoSubfolder", ExportMode::Selection, true, true, kListAsTheyAre,
                    {kNothingBox}, {}, {}}),
    [](const ::testing::TestParamInfo<CommandCase>& info) { return info.param.name; });

TEST_F(ExportRunTest, SelectionExportsWhatIsSelectedAsItStands) {
    AddFolder(kInbox, {"one", "two"});
    Host().folders[kInbox][1].selected = true;
    Host().current = kInbox;

    RunExportCommand(ExportMode::Selection);

    EXPECT_EQ(Macros(), (std::vector<std::string>{"DoRead();"}));
    EXPECT_EQ(ReadCount(kInbox), 1);
    EXPECT_FALSE(Host().folders[kInbox][0].unread == false);
}

TEST_F(ExportRunTest, FolderPathWithoutDotGetsThePatternAppended) {
    PluginSettings.SubFolder = 1;
    Host().current = "";
    Host().fallback = "D:\\Mail\\Account\\main\\inbox";

    RunExportCommand(ExportMode::Unread);

    EXPECT_EQ(Host().calls.back(), "CXA_ListUpFiles D:\\Mail\\Account\\main\\inbox*.ctx");
}

TEST_F(ExportRunTest, FallbackContextIsTheLastMenuEvent) {
    MenuEventContext = 77;
    RunExportCommand(ExportMode::Unread);
    EXPECT_EQ(Host().calls[2], "CXA_GetAindexFolderPath 77");
}

TEST_F(ExportRunTest, ListedPathWithoutAccountIsPassedOver) {
    PluginSettings.SubFolder = 1;
    AddFolder(kInbox, {});
    AddFolder("D:\\Elsewhere\\stray.ctx", {"stray"});
    Host().current = kInbox;
    Host().listed = {"D:\\Elsewhere\\stray.ctx"};

    RunExportCommand(ExportMode::Unread);

    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{kNothingBox}));
    EXPECT_TRUE(FilesLeft().empty());
}

TEST_F(ExportRunTest, FewerThanMinUnreadWritesNothingButSpendsTheLetter) {
    PluginSettings.MinUnread = 5;
    AddFolder(kInbox, {"1", "2", "3", "4"});
    Host().current = kInbox;

    RunExportCommand(ExportMode::Unread);

    EXPECT_TRUE(FilesLeft().empty());
    EXPECT_EQ(Macros(), (std::vector<std::string>{"SelectAllUnreadMessage();", "SetFocusToList();", "SetFocusToFolder();"}));
    EXPECT_EQ(PluginSettings.UniqID, 'b');
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{kNothingBox}));
}

TEST_F(ExportRunTest, UnsetTmpFallsBackToTheWindowsTemporaryFolder) {
    WithoutInstallUser();
    Fake().environment.erase("TMP");
    Fake().temporaryDirectory = temporaryFolder_;
    AddFolder(kInbox, {"one"});
    Host().current = kInbox;

    RunExportCommand(ExportMode::Unread);

    EXPECT_TRUE(Exists(TemporaryFile("inbox_0522a.pdb")));
    EXPECT_STREQ(LastOutputPath, TemporaryFile("inbox_0522a.pdb").c_str());
}

TEST_F(ExportRunTest, TextFileThatCannotBeCreatedIsReportedWithItsPath) {
    Fake().environment["TMP"] = scratch_ + "/missing/folder";
    AddFolder(kInbox, {"one"});
    Host().current = kInbox;

    RunExportCommand(ExportMode::Unread);

    EXPECT_EQ(FailureCode, kTextFileFailed);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"CoraxToPalm|テンポラリファイルが作れません。\n" + scratch_ +
                                                    "/missing/folder\\inbox_0522a.txt"}));
    EXPECT_EQ(Fake().boxes[0].icon, platform::BoxIcon::Error);
    EXPECT_EQ(ReadCount(kInbox), 0);
}

TEST_F(ExportRunTest, FailedConversionKeepsTheTextAndTheMessagesUnread) {
    std::snprintf(PalmDesktopPath.path, sizeof PalmDesktopPath.path, "%s", (scratch_ + "/no/such").c_str());
    AddFolder(kInbox, {"one"});
    Host().current = kInbox;

    RunExportCommand(ExportMode::Unread);

    EXPECT_EQ(FailureCode, kConversionFailed);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"CoraxToPalm|DOCへの変換に失敗。\n" + scratch_ +
                                                    "/no/such\\YamadaT\\INSTALL\\inbox_0522a.pdb"}));
    EXPECT_EQ(FilesLeft(), (std::vector<std::string>{"tmp\\inbox_0522a.txt"}));
    EXPECT_EQ(ReadCount(kInbox), 0);
    EXPECT_TRUE(Fake().registryDwords.empty());
}

TEST_F(ExportRunTest, OneFailedFolderThenOneExportedGivesBothBoxes) {
    WithoutInstallUser();
    PluginSettings.SubFolder = 1;
    AddFolder(kInbox, {});
    AddFolder(kWork, {"work mail"});
    AddFolder(kHome, {"home mail"});
    Host().current = kInbox;
    Host().listed = {kWork, kHome};
    Fake().environment["TMP"] = scratch_ + "/missing/folder";  // the first folder cannot be written
    int folders = 0;
    Host().beforeMacro = [&](const std::string& macro) {
        if (macro.rfind("OpenThisFolder", 0) == 0 && ++folders == 2) Fake().environment["TMP"] = temporaryFolder_;
    };

    RunExportCommand(ExportMode::Unread);

    ASSERT_EQ(Fake().boxes.size(), 2u) << ::testing::PrintToString(BoxTexts());
    EXPECT_EQ(Fake().boxes[0].icon, platform::BoxIcon::Error);
    EXPECT_EQ(BoxTexts()[1], std::string(kDoneCaption) + "|File : " + TemporaryFile("home_0522c.pdb") + "\n");
}

}  // namespace
}  // namespace export_run

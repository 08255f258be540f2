#include "hotsync/install_queue.h"

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "host/host_api.h"
#include "host/last_output_path.h"
#include "hotsync/palm_desktop_registry.h"
#include "platform/fake_platform.h"
#include "settings/plugin_settings.h"

using host::LastOutputPath;
using host::SetLastOutputPath;
using hotsync::MakePdbPath;
using hotsync::PalmDesktopPath;
using hotsync::PalmUser;
using hotsync::PalmUserList;
using hotsync::RaiseInstallFlag;
using hotsync::SelectInstallUser;
using hotsync::kHotSyncManagerKey;
using settings::PluginSettings;

namespace fake_platform = platform::fake_platform;

namespace {

PalmUser User(int32_t id, const char* folderName) {
    PalmUser user = {};
    user.id = id;
    std::strcpy(user.name, folderName);
    std::strcpy(user.folderName, folderName);
    return user;
}

void SetUsers(std::initializer_list<PalmUser> users) {
    PalmUserList.count = static_cast<int32_t>(users.size());
    PalmUserList.entries.reset(users.size() == 0 ? nullptr : new PalmUser[users.size()]);
    std::copy(users.begin(), users.end(), PalmUserList.entries.get());
}

class InstallQueueTest : public ::testing::Test {
protected:
    void SetUp() override {
        fake_platform::Reset();
        SetUsers({User(1, "YamadaT"), User(2, "SmithJ"), User(3, "SatoH")});
        PalmDesktopPath = {1, "C:\\Palm", nullptr};
        PluginSettings = {};
        SetLastOutputPath("inbox_0522a");
    }
    void TearDown() override {
        SetUsers({});
        PalmDesktopPath = {};
        PluginSettings = {};
    }

    void Choose(int32_t position) {
        PluginSettings.InstallUser = position;
        SelectInstallUser();
    }
};

struct SelectionCase {
    int32_t installUser;
    int32_t expected;  // also the position of the current user, 0 for none
};

class SelectInstallUserTest : public InstallQueueTest,
                              public ::testing::WithParamInterface<SelectionCase> {};

TEST_P(SelectInstallUserTest, KeepsOnlyPositionsOfTheList) {
    Choose(GetParam().installUser);
    EXPECT_EQ(PluginSettings.InstallUser, GetParam().expected);
    if (GetParam().expected == 0) {
        EXPECT_EQ(PalmDesktopPath.currentUser, nullptr);
    } else {
        EXPECT_EQ(PalmDesktopPath.currentUser, &PalmUserList.entries[GetParam().expected - 1]);
    }
}

INSTANTIATE_TEST_SUITE_P(Positions, SelectInstallUserTest,
                         ::testing::Values(SelectionCase{0, 0}, SelectionCase{1, 1},
                                           SelectionCase{3, 3},  // count: the last user
                                           SelectionCase{4, 0},  // count + 1
                                           SelectionCase{-1, 0}, SelectionCase{INT32_MIN, 0},
                                           SelectionCase{INT32_MAX, 0}));

TEST_F(InstallQueueTest, EmptyListSelectsNoUser) {
    Choose(2);
    SetUsers({});
    Choose(1);
    EXPECT_EQ(PluginSettings.InstallUser, 0);
    EXPECT_EQ(PalmDesktopPath.currentUser, nullptr);
}

TEST_F(InstallQueueTest, ChoosingNoUserAfterAUserClearsIt) {
    Choose(2);
    Choose(0);
    EXPECT_EQ(PalmDesktopPath.currentUser, nullptr);
}

TEST_F(InstallQueueTest, PdbGoesToTheInstallFolderOfTheUser) {
    Choose(2);
    char path[host::kPathBufferSize];
    ASSERT_TRUE(MakePdbPath("inbox_0522a", path));
    EXPECT_STREQ(path, "C:\\Palm\\SmithJ\\INSTALL\\inbox_0522a.pdb");
    EXPECT_STREQ(LastOutputPath, "inbox_0522a");
}

TEST_F(InstallQueueTest, PdbGoesToTmpWithoutAUser) {
    fake_platform::Fake().environment["TMP"] = "C:\\Temp";
    char path[host::kPathBufferSize];
    ASSERT_TRUE(MakePdbPath("inbox_0522a", path));
    EXPECT_STREQ(path, "C:\\Temp\\inbox_0522a.pdb");
    EXPECT_STREQ(LastOutputPath, "C:\\Temp\\inbox_0522a.pdb");
}

TEST_F(InstallQueueTest, PdbGoesToTheWindowsTemporaryFolderWithoutTmp) {
    fake_platform::Fake().temporaryDirectory = "C:\\Windows\\Temp";
    char path[host::kPathBufferSize];
    ASSERT_TRUE(MakePdbPath("inbox_0522a", path));
    EXPECT_STREQ(path, "C:\\Windows\\Temp\\inbox_0522a.pdb");
}

// A base name that makes the .pdb path the given number of bytes long.
std::string BaseNameFor(std::size_t pathLength, std::size_t fixedLength) {
    return std::string(pathLength - fixedLength, 'b');
}

struct OverflowCase {
    bool withUser;
    std::size_t pathLength;
    bool fits;
};

class MakePdbPathOverflowTest : public InstallQueueTest,
                                public ::testing::WithParamInterface<OverflowCase> {};

// A path that does not fit is refused whole, so that no other file is named.
TEST_P(MakePdbPathOverflowTest, FitsWholeOrLeavesEverythingUnchanged) {
    const OverflowCase& c = GetParam();
    fake_platform::Fake().environment["TMP"] = "C:\\Temp";
    Choose(c.withUser ? 2 : 0);
    const std::size_t fixed = c.withUser ? std::strlen("C:\\Palm\\SmithJ\\INSTALL\\.pdb")
                                         : std::strlen("C:\\Temp\\.pdb");
    const std::string baseName = BaseNameFor(c.pathLength, fixed);
    char path[host::kPathBufferSize];
    std::memset(path, 'x', sizeof path);
    path[sizeof path - 1] = '\0';
    const std::string untouched = path;

    EXPECT_EQ(MakePdbPath(baseName.c_str(), path), c.fits);
    if (c.fits) {
        EXPECT_EQ(std::strlen(path), c.pathLength);
    } else {
        EXPECT_EQ(std::string(path), untouched);
    }
    const bool lastOutputChanged = c.fits && !c.withUser;
    EXPECT_EQ(std::string(LastOutputPath) != "inbox_0522a", lastOutputChanged);
}

INSTANTIATE_TEST_SUITE_P(Lengths, MakePdbPathOverflowTest,
                         ::testing::Values(OverflowCase{true, 263, true},
                                           OverflowCase{true, 264, false},
                                           OverflowCase{true, 400, false},
                                           OverflowCase{false, 255, true},  // LastOutputPath full
                                           OverflowCase{false, 256, false},
                                           OverflowCase{false, 264, false}));

TEST_F(InstallQueueTest, OverlongUserFolderIsRefused) {
    PalmUserList.entries[1] = User(2, std::string(255, 'f').c_str());
    Choose(2);
    char path[host::kPathBufferSize] = "unchanged";
    EXPECT_FALSE(MakePdbPath("inbox_0522a", path));
    EXPECT_STREQ(path, "unchanged");
}

class RaiseInstallFlagTest : public InstallQueueTest {
protected:
    void SetUp() override {
        InstallQueueTest::SetUp();
        fake_platform::Fake().registryKeys[kHotSyncManagerKey] = true;
    }
    const auto& Flags() { return fake_platform::Fake().registryDwords; }
};

struct FlagCase {
    int32_t id;
    const char* valueName;
};

class InstallFlagNameTest : public RaiseInstallFlagTest,
                            public ::testing::WithParamInterface<FlagCase> {};

TEST_P(InstallFlagNameTest, SetsDwordOneNamedAfterTheSignedId) {
    PalmUserList.entries[0].id = GetParam().id;
    Choose(1);
    EXPECT_EQ(RaiseInstallFlag(PalmDesktopPath), 1);
    const std::map<std::pair<std::string, std::string>, uint32_t> expected = {
        {{kHotSyncManagerKey, GetParam().valueName}, 1}};
    EXPECT_EQ(Flags(), expected);
}

INSTANTIATE_TEST_SUITE_P(Ids, InstallFlagNameTest,
                         ::testing::Values(FlagCase{12345, "Install12345"},
                                           FlagCase{-1, "Install-1"},  // stored as 4294967295
                                           FlagCase{0, "Install0"},
                                           FlagCase{INT32_MIN, "Install-2147483648"},
                                           FlagCase{INT32_MAX, "Install2147483647"}));

TEST_F(RaiseInstallFlagTest, NothingWithoutAUser) {
    Choose(0);
    EXPECT_EQ(RaiseInstallFlag(PalmDesktopPath), 0);
    EXPECT_TRUE(Flags().empty());
    EXPECT_TRUE(fake_platform::Fake().calls.empty());
}

TEST_F(RaiseInstallFlagTest, NothingWhenPalmDesktopWasNotFound) {
    Choose(1);
    PalmDesktopPath.found = 0;
    EXPECT_EQ(RaiseInstallFlag(PalmDesktopPath), 0);
    EXPECT_TRUE(fake_platform::Fake().calls.empty());
}

TEST_F(RaiseInstallFlagTest, MissingHotSyncKeyIsNotCreated) {
    fake_platform::Fake().registryKeys.clear();
    Choose(1);
    EXPECT_EQ(RaiseInstallFlag(PalmDesktopPath), 0);
    EXPECT_TRUE(Flags().empty());
}

TEST_F(RaiseInstallFlagTest, TwoConversionsSetTheFlagTwice) {
    Choose(1);
    EXPECT_EQ(RaiseInstallFlag(PalmDesktopPath), 1);
    EXPECT_EQ(RaiseInstallFlag(PalmDesktopPath), 1);
    EXPECT_EQ(Flags().size(), 1u);
    EXPECT_EQ(fake_platform::Fake().calls.size(), 2u);
}

}  // namespace

// The users-file fixture writes files the reader takes, and the tool's
// users-dat read prints what the reader finds; the Wine tests and the demo
// build their Palm Desktop installations with the fixture.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "hotsync/users_file.h"
#include "support/tool_run.h"

using hotsync::PalmUsers;
using hotsync::ReadPalmUsersFile;

namespace {

ToolRun RunFixture(const ScratchFolder& folder, const std::vector<std::string>& arguments) {
    return RunProgram(std::string(CTP_FIXTURE_DIR) + "/users-dat-fixture", folder, arguments);
}

class UsersDatToolTest : public ::testing::TestWithParam<const char*> {
protected:
    ScratchFolder folder;
    std::string path = folder.Path("users.dat");
};

// Command-line names are UTF-8; the file holds code page 932.
TEST_P(UsersDatToolTest, WrittenFileReadsBackInEveryTrailerForm) {
    ASSERT_EQ(RunFixture(folder, {path, "--trailer", GetParam(), std::string("12345:") + u8"山田太郎" + ":YamadaT",
                                  "4294967295:Smith John:SmithJ"})
                  .status,
              0);

    PalmUsers list;
    ASSERT_EQ(ReadPalmUsersFile(path.c_str(), list), 1);
    ASSERT_EQ(list.count, 2);
    EXPECT_EQ(list.entries[0].id, 12345);
    EXPECT_STREQ(list.entries[0].name, "山田太郎");
    EXPECT_STREQ(list.entries[0].folderName, "YamadaT");
    EXPECT_EQ(list.entries[1].id, -1);
    EXPECT_STREQ(list.entries[1].name, "Smith John");

    const ToolRun listing = RunTool(folder, {"users-dat", "read", path});
    EXPECT_EQ(listing.status, 0);
    EXPECT_EQ(listing.out, std::string("1\t12345\t") + u8"山田太郎" + "\tYamadaT\n2\t-1\tSmith John\tSmithJ\n");
}

INSTANTIATE_TEST_SUITE_P(Trailers, UsersDatToolTest,
                         ::testing::Values("8001", "tags", "8003", "ffff"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return std::string("form_") + info.param;
                         });

TEST(UsersDatToolFailureTest, RefusesBadUsersAndUnreadableFiles) {
    ScratchFolder folder;
    EXPECT_EQ(RunFixture(folder, {"u.dat", "1:nofolder"}).status, 2);
    EXPECT_EQ(RunFixture(folder, {"u.dat", "x:name:folder"}).status, 2);
    EXPECT_EQ(RunFixture(folder, {"u.dat", "1:" + std::string(256, 'n') + ":f"}).status, 2);
    EXPECT_EQ(RunFixture(folder, {"u.dat", "--trailer", "9999", "1:n:f"}).status, 2);
    EXPECT_EQ(RunTool(folder, {"users-dat", "read", "missing.dat"}).status, 1);
    EXPECT_EQ(RunFixture(folder, {"cannot/be/made.dat", "1:n:f"}).status, 1);
}

}  // namespace

// The users-file fixture writes files the reader takes, and the tool's
// users-dat read prints what the reader finds; the Wine tests and the demo
// build their Palm Desktop installations with the fixture.
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "hotsync/users_file.h"
#include "users_file_scratch.h"

using hotsync::PalmUsers;
using hotsync::ReadPalmUsersFile;

namespace users_file_test {
namespace {

struct ToolRun {
    int status;
    std::string output;
};

ToolRun RunProgram(const std::string& command_line) {
    const std::string command = command_line + " 2>/dev/null";
    ToolRun run = {-1, ""};
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    char buffer[512];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.output.append(buffer, got);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

ToolRun RunTool(const std::string& arguments) { return RunProgram(std::string(CTP_TOOL_PATH) + " users-dat " + arguments); }

ToolRun RunFixture(const std::string& arguments) {
    return RunProgram(std::string(CTP_FIXTURE_DIR) + "/users-dat-fixture " + arguments);
}

class UsersDatToolTest : public ::testing::TestWithParam<const char*> {
protected:
    std::string path = ScratchFolder() + ".dat";
};

// Command-line names are UTF-8; the file holds code page 932.
TEST_P(UsersDatToolTest, WrittenFileReadsBackInEveryTrailerForm) {
    const std::string users = std::string(" '12345:") + u8"山田太郎" + ":YamadaT' '4294967295:Smith John:SmithJ'";
    ASSERT_EQ(RunFixture(path + " --trailer " + GetParam() + users).status, 0);

    PalmUsers list;
    ASSERT_EQ(ReadPalmUsersFile(path.c_str(), list), 1);
    ASSERT_EQ(list.count, 2);
    EXPECT_EQ(list.entries[0].id, 12345);
    EXPECT_STREQ(list.entries[0].name, "山田太郎");
    EXPECT_STREQ(list.entries[0].folderName, "YamadaT");
    EXPECT_EQ(list.entries[1].id, -1);
    EXPECT_STREQ(list.entries[1].name, "Smith John");

    const ToolRun listing = RunTool("read " + path);
    EXPECT_EQ(listing.status, 0);
    EXPECT_EQ(listing.output, std::string("1\t12345\t") + u8"山田太郎" + "\tYamadaT\n2\t-1\tSmith John\tSmithJ\n");
}

INSTANTIATE_TEST_SUITE_P(Trailers, UsersDatToolTest,
                         ::testing::Values("8001", "tags", "8003", "ffff"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return std::string("form_") + info.param;
                         });

TEST(UsersDatToolFailureTest, RefusesBadUsersAndUnreadableFiles) {
    const std::string path = ScratchFolder() + ".dat";
    EXPECT_EQ(RunFixture(path + " 1:nofolder").status, 2);
    EXPECT_EQ(RunFixture(path + " x:name:folder").status, 2);
    EXPECT_EQ(RunFixture(path + " 1:" + std::string(256, 'n') + ":f").status, 2);
    EXPECT_EQ(RunFixture(path + " --trailer 9999 1:n:f").status, 2);
    EXPECT_EQ(RunTool("read " + path + ".missing").status, 1);
    EXPECT_EQ(RunFixture(path + "/cannot/be/made 1:n:f").status, 1);
}

}  // namespace
}  // namespace users_file_test

#include "hotsync/palm_desktop.h"

#include <string>

#include <gtest/gtest.h>

#include "hotsync/palm_desktop_registry.h"
#include "platform/fake_platform.h"

using hotsync::PalmDesktop;
using hotsync::ReadPalmDesktopPath;
using hotsync::kPalmDesktopCoreKey;
using hotsync::kPalmDesktopFolderSize;
using hotsync::kPalmDesktopPathValue;

namespace fake_platform = platform::fake_platform;

namespace {

class ReadPalmDesktopPathTest : public ::testing::Test {
protected:
    void SetUp() override { fake_platform::Reset(); }

    void SetPath(const std::string& path) {
        fake_platform::Fake().registryTexts[{kPalmDesktopCoreKey, kPalmDesktopPathValue}] = path;
    }

    // Starts from a record left by an earlier reading, so that every field
    // must be written.
    PalmDesktop desktop = {1, "stale", nullptr};
};

TEST_F(ReadPalmDesktopPathTest, TakesThePathValueOfTheCoreKey) {
    SetPath("C:\\Palm");
    EXPECT_EQ(ReadPalmDesktopPath(desktop), 1);
    EXPECT_EQ(desktop.found, 1);
    EXPECT_STREQ(desktop.path, "C:\\Palm");
}

TEST_F(ReadPalmDesktopPathTest, NoValueGivesTheCurrentFolder) {
    desktop.found = 1;
    EXPECT_EQ(ReadPalmDesktopPath(desktop), 0);
    EXPECT_EQ(desktop.found, 0);
    EXPECT_STREQ(desktop.path, ".\\");
}

TEST_F(ReadPalmDesktopPathTest, ValueUnderAnotherKeyIsNotTaken) {
    fake_platform::Fake().registryTexts[{"Software\\U.S. Robotics\\Pilot Desktop", "Path"}] = "C:\\Palm";
    EXPECT_EQ(ReadPalmDesktopPath(desktop), 0);
    EXPECT_STREQ(desktop.path, ".\\");
}

TEST_F(ReadPalmDesktopPathTest, EmptyValueIsFound) {
    SetPath("");
    EXPECT_EQ(ReadPalmDesktopPath(desktop), 1);
    EXPECT_STREQ(desktop.path, "");
}

TEST_F(ReadPalmDesktopPathTest, LongestPathThatFitsIsTakenWhole) {
    const std::string path = "C:\\" + std::string(kPalmDesktopFolderSize - 4, 'p');
    SetPath(path);
    EXPECT_EQ(ReadPalmDesktopPath(desktop), 1);
    EXPECT_EQ(std::string(desktop.path), path);
}

// Cutting it would name another folder.
TEST_F(ReadPalmDesktopPathTest, PathTooLongIsRefused) {
    SetPath("C:\\" + std::string(kPalmDesktopFolderSize - 3, 'p'));
    EXPECT_EQ(ReadPalmDesktopPath(desktop), 0);
    EXPECT_EQ(desktop.found, 0);
    EXPECT_STREQ(desktop.path, ".\\");
}

}  // namespace

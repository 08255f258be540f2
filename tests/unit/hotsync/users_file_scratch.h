// Where the reader's tests write their users files.
#pragma once

#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "support/users_dat_builder.h"

namespace users_file_test {

// A scratch folder of the test; the reader forms "<folder>\users.dat", which
// on the native build is one file name with a backslash in it.
inline std::string ScratchFolder() {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string("hotsync_") + test->test_suite_name() + "_" + test->name();
    for (char& c : name) {
        if (c == '/') c = '_';
    }
    return ::testing::TempDir() + name;
}

inline std::string UsersFilePath(const std::string& folder) { return folder + "\\users.dat"; }

inline void WriteFile(const std::string& path, const users_dat::Bytes& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr) << path;
    const bool written =
        bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ASSERT_EQ(std::fclose(file), 0);
    ASSERT_TRUE(written) << path;
}

}  // namespace users_file_test

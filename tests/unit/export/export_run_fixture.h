// A plug-in ready to export: the fake host with a mail folder, the platform
// fake with a temporary folder and a Palm user whose files land in a scratch
// folder of the real file system, and the settings at their defaults.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fake_host.h"
#include "support/scratch_folder.h"

namespace export_run {

// Texts as the host hands them over: CR LF line ends, an empty line before the body.
std::string MessageText(const std::string& subject, const std::string& body = "Hello.\r\n");

// Folder file paths below the host's accounts directory.
constexpr char kInbox[] = "D:\\Mail\\Account\\main\\inbox.ctx";
constexpr char kWork[] = "D:\\Mail\\Account\\main\\inbox\\work.ctx";
constexpr char kHome[] = "D:\\Mail\\Account\\main\\inbox\\home.ctx";
constexpr char kSubfolderPattern[] = "D:\\Mail\\Account\\main\\inbox\\*.ctx";

class ExportRunTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Unread messages of the given subjects in folder.
    void AddFolder(const std::string& folder, const std::vector<std::string>& subjects);
    // No Palm user chosen: documents stay in the temporary folder.
    void WithoutInstallUser();

    // Where the export's files go: "<scratch>/tmp" + "\" + name, a file of the
    // scratch folder, since the plug-in joins paths with "\".
    std::string TemporaryFile(const std::string& name) const;
    std::string InstallFile(const std::string& name) const;
    // Names of the files in the scratch folder, sorted.
    std::vector<std::string> FilesLeft() const;
    bool Exists(const std::string& path) const;
    std::string FileBytes(const std::string& path) const;

    ScratchFolder folder_;
    std::string scratch_ = folder_.Path("run");
    std::string temporaryFolder_;
    std::string palmFolder_;
};

}  // namespace export_run

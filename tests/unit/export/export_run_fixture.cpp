#include "export_run_fixture.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "hotsync/palm_desktop.h"
#include "hotsync/palm_desktop_registry.h"
#include "host/failure_code.h"
#include "host/host_state.h"
#include "host/last_output_path.h"
#include "platform/fake_platform.h"
#include "settings/plugin_settings.h"
#include "text/medoc_index.h"

using host::FailureCode;
using host::HostMainWindow;
using host::LastOutputPath;
using host::MenuEventContext;
using host::kNoFailure;
using hotsync::PalmDesktopPath;
using hotsync::PalmUser;
using hotsync::PalmUserList;
using hotsync::kHotSyncManagerKey;
using settings::PluginSettings;
using settings::kDefaultSettings;
using text::MeDocIndexBuffer;

namespace fake_platform = platform::fake_platform;

namespace export_run {

namespace fs = std::filesystem;

constexpr int32_t kUserId = 1001;

std::string MessageText(const std::string& subject, const std::string& body) {
    return "From: Yamada <yamada@example.jp>\r\nSubject: " + subject +
           "\r\nDate: Wed, 22 May 2002 10:00:00 +0900\r\n\r\n" + body;
}

void ExportRunTest::SetUp() {
    // Emptied too, for tests that start over within one run.
    fs::remove_all(scratch_);
    fs::create_directory(scratch_);
    temporaryFolder_ = scratch_ + "/tmp";
    palmFolder_ = scratch_ + "/palm";

    fake_platform::Reset();
    fake_platform::Fake().environment["TMP"] = temporaryFolder_;
    fake_platform::Fake().registryKeys[kHotSyncManagerKey] = true;
    fake_host::Install();
    PluginSettings = kDefaultSettings;
    HostMainWindow = nullptr;
    MenuEventContext = 0;
    FailureCode = kNoFailure;
    LastOutputPath[0] = '\0';

    PalmUserList.count = 1;
    PalmUserList.entries = std::make_unique<PalmUser[]>(1);
    PalmUser& user = PalmUserList.entries[0];
    user.id = kUserId;
    std::snprintf(user.name, sizeof user.name, "%s", "山田 太郎");
    std::snprintf(user.folderName, sizeof user.folderName, "%s", "YamadaT");
    PalmDesktopPath.found = 1;
    std::snprintf(PalmDesktopPath.path, sizeof PalmDesktopPath.path, "%s", palmFolder_.c_str());
    PalmDesktopPath.currentUser = &PalmUserList.entries[0];
    PluginSettings.InstallUser = 1;
}

void ExportRunTest::TearDown() {
    EXPECT_EQ(MeDocIndexBuffer.text, nullptr) << "every export releases its index";
    EXPECT_EQ(fake_host::Host().contractFaults, 0) << "host buffers fetched and released in pairs";
    EXPECT_EQ(fake_host::Host().heldTexts, 0);
    PalmDesktopPath.currentUser = nullptr;
    PalmUserList.entries.reset();
    PalmUserList.count = 0;
}

void ExportRunTest::AddFolder(const std::string& folder, const std::vector<std::string>& subjects) {
    std::vector<fake_host::Message>& messages = fake_host::Host().folders[folder];
    for (const std::string& subject : subjects) messages.push_back({MessageText(subject), true, false});
}

void ExportRunTest::WithoutInstallUser() {
    PluginSettings.InstallUser = 0;
    PalmDesktopPath.currentUser = nullptr;
}

std::string ExportRunTest::TemporaryFile(const std::string& name) const { return temporaryFolder_ + "\\" + name; }

std::string ExportRunTest::InstallFile(const std::string& name) const {
    return palmFolder_ + "\\YamadaT\\INSTALL\\" + name;
}

std::vector<std::string> ExportRunTest::FilesLeft() const {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(scratch_)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool ExportRunTest::Exists(const std::string& path) const { return fs::exists(path); }

std::string ExportRunTest::FileBytes(const std::string& path) const {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

}  // namespace export_run

// Every file operation of an export, made to fail one at a time: whatever
// fails, the user is told, nothing half-made is left or queued, and the
// messages stay unread for the next export.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "export/export_command.h"
#include "export_run_fixture.h"
#include "hotsync/palm_desktop_registry.h"
#include "host/failure_code.h"
#include "host/last_output_path.h"
#include "platform/fake_platform.h"
#include "support/file_faults.h"

using exporter::ExportMode;
using exporter::RunExportCommand;
using host::FailureCode;
using host::LastOutputPath;
using host::kConversionFailed;
using host::kNoFailure;
using host::kTextFileFailed;

namespace fake_platform = platform::fake_platform;

namespace export_run {
namespace {

using fake_platform::Fake;
using Kind = FileFaults::Kind;

class ExportFaultTest : public ExportRunTest {
protected:
    // Two unread messages in inbox, exported with the index to the Palm
    // user, from a fresh start.
    void RunExport() {
        TearDown();
        SetUp();
        AddFolder(kInbox, {"first", std::string(5000, 'x')});
        fake_host::Host().current = kInbox;
        RunExportCommand(ExportMode::Unread);
    }
};

TEST_F(ExportFaultTest, EveryFailingCallIsReportedAndLeavesNothingHalfMade) {
    RunExport();
    const std::string document = FileBytes(InstallFile("inbox_0522a.pdb"));
    const auto check = [&](int, const FileFaults& faults) {
        const std::string textPath = TemporaryFile("inbox_0522a.txt");
        const std::string pdbPath = InstallFile("inbox_0522a.pdb");
        const Kind failed = faults.Failure().operation;
        SCOPED_TRACE(std::to_string(static_cast<int>(failed)) + " " + faults.FailedPath() + " " + faults.FailedMode());
        const std::vector<fake_platform::Box>& boxes = Fake().boxes;
        ASSERT_EQ(boxes.size(), 1u);
        const bool readOnly = std::string(faults.FailedMode()) == "rb";
        if (faults.FailedPath() == textPath && (failed == Kind::kRemove || (failed == Kind::kClose && readOnly))) {
            // The document is complete and queued: a read-only stream that
            // reports a failed close lost nothing, and a text that cannot be
            // removed only stays behind in the temporary folder.
            EXPECT_EQ(FailureCode, kNoFailure);
            EXPECT_EQ(FileBytes(pdbPath), document);
            EXPECT_EQ(fake_host::ReadCount(kInbox), 2);
            return;
        }
        if (faults.FailedPath() == textPath && std::string(faults.FailedMode()) == "wb") {
            EXPECT_EQ(FailureCode, kTextFileFailed);
            EXPECT_EQ(boxes[0].text, "テンポラリファイルが作れません。\n" + textPath);
            EXPECT_FALSE(Exists(textPath)) << "half a text file is removed";
        } else {
            EXPECT_EQ(FailureCode, kConversionFailed);
            EXPECT_EQ(boxes[0].text, "DOCへの変換に失敗。\n" + pdbPath);
            EXPECT_FALSE(FileBytes(textPath).empty()) << "the text file is kept for the user";
        }
        EXPECT_EQ(boxes[0].icon, platform::BoxIcon::Error);
        EXPECT_STREQ(LastOutputPath, "");
        EXPECT_FALSE(Exists(pdbPath)) << "no half-made database";
        EXPECT_EQ(fake_host::ReadCount(kInbox), 0) << "DoRead(); was not sent";
        EXPECT_TRUE(Fake().registryDwords.empty()) << "nothing queued";
    };
    const int faulted = SweepFileFaults(Kind::kNone, [&] { RunExport(); }, check);
    EXPECT_GT(faulted, 20);
    RecordProperty("file_operations", faulted);
}

}  // namespace
}  // namespace export_run

// Every file operation of an export, made to fail one at a time: whatever
// fails, the user is told, nothing half-made is left or queued, and the
// messages stay unread for the next export.
#include <gtest/gtest.h>

#include <cerrno>
#include <map>
#include <string>
#include <vector>

#include "export/export_command.h"
#include "export_run_fixture.h"
#include "hotsync/palm_desktop_registry.h"
#include "host/failure_code.h"
#include "host/last_output_path.h"
#include "platform/fake_platform.h"
#include "platform/file_system.h"

namespace export_run {
namespace {

using fake_platform::Fake;
using platform::Files;
using platform::StandardFiles;

// The operations that may fail; reads are passed through, since a failed
// read cannot be told from the end of the file without the stream's flag.
struct Injector {
    int calls = 0;
    int failAt = 0;  // 0: nothing fails
    std::map<std::FILE*, std::string> paths;  // "<path> <mode>"
    std::string failedCall;  // "write <path> <mode>" of the call that failed

    bool Fails(const char* operation, const std::string& path) {
        if (++calls != failAt) return false;
        failedCall = std::string(operation) + " " + path;
        return true;
    }
} injector;

std::FILE* Open(const char* path, const char* mode) {
    if (injector.Fails("open", std::string(path) + " " + mode)) {
        errno = EACCES;
        return nullptr;
    }
    std::FILE* file = StandardFiles.open(path, mode);
    if (file != nullptr) injector.paths[file] = std::string(path) + " " + mode;
    return file;
}
std::size_t Write(const void* buffer, std::size_t size, std::size_t count, std::FILE* file) {
    return injector.Fails("write", injector.paths[file]) ? 0 : StandardFiles.write(buffer, size, count, file);
}
int Seek(std::FILE* file, long offset, int origin) {
    return injector.Fails("seek", injector.paths[file]) ? -1 : StandardFiles.seek(file, offset, origin);
}
long Tell(std::FILE* file) { return injector.Fails("tell", injector.paths[file]) ? -1 : StandardFiles.tell(file); }
int Flush(std::FILE* file) { return injector.Fails("flush", injector.paths[file]) ? EOF : StandardFiles.flush(file); }
int Close(std::FILE* file) {
    const bool fails = injector.Fails("close", injector.paths[file]);
    const int closed = StandardFiles.close(file);  // the stream goes whatever close reports
    injector.paths.erase(file);
    return fails ? EOF : closed;
}
int Remove(const char* path) { return injector.Fails("remove", path) ? -1 : StandardFiles.remove(path); }
int Rename(const char* from, const char* to) { return injector.Fails("rename", from) ? -1 : StandardFiles.rename(from, to); }

class ExportFaultTest : public ExportRunTest {
protected:
    void SetUp() override {
        ExportRunTest::SetUp();
        injector = Injector{};
        Files = {Open, StandardFiles.read, Write, Seek, Tell, Flush, Close, Remove, Rename};
    }
    void TearDown() override {
        Files = StandardFiles;
        ExportRunTest::TearDown();
    }

    // Two unread messages in inbox, exported with the index to the Palm user.
    void RunExport(int failAt) {
        injector.failAt = failAt;
        AddFolder(kInbox, {"first", std::string(5000, 'x')});
        fake_host::Host().current = kInbox;
        RunExportCommand(ExportMode::Unread);
    }
};

TEST_F(ExportFaultTest, EveryFailingCallIsReportedAndLeavesNothingHalfMade) {
    RunExport(0);
    const int cleanCalls = injector.calls;
    ASSERT_GT(cleanCalls, 20);
    RecordProperty("file_operations", cleanCalls);
    const std::string document = FileBytes(InstallFile("inbox_0522a.pdb"));
    TearDown();

    for (int failAt = 1; failAt <= cleanCalls; ++failAt) {
        SetUp();
        const std::string textPath = TemporaryFile("inbox_0522a.txt");
        const std::string pdbPath = InstallFile("inbox_0522a.pdb");
        RunExport(failAt);
        SCOPED_TRACE("call " + std::to_string(failAt) + " failed: " + injector.failedCall);
        const std::vector<fake_platform::Box>& boxes = Fake().boxes;
        ASSERT_EQ(boxes.size(), 1u);
        if (injector.failedCall == "remove " + textPath || injector.failedCall == "close " + textPath + " rb") {
            // The document is complete and queued: a read-only stream that
            // reports a failed close lost nothing, and a text that cannot be
            // removed only stays behind in the temporary folder.
            EXPECT_EQ(FailureCode, kNoFailure);
            EXPECT_EQ(FileBytes(pdbPath), document);
            EXPECT_EQ(fake_host::ReadCount(kInbox), 2);
            TearDown();
            continue;
        }
        if (injector.failedCall.find(textPath + " wb") != std::string::npos) {
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
        TearDown();
    }
    SetUp();
}

}  // namespace
}  // namespace export_run

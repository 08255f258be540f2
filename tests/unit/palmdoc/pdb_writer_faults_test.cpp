// Every file operation of the writer, made to fail one call at a time: the
// result is failure, every file that was opened is closed, and the failure
// reported is the call that failed; once no call is left to fail, the
// database is the one the plain file table gives.
#include <gtest/gtest.h>

#include <cerrno>

#include "palmdoc/pdb_writer.h"
#include "palmdoc_test_support.h"
#include "support/file_faults.h"

using palmdoc::WriteCause;
using palmdoc::WriteFailure;
using palmdoc::WritePalmDoc;
using palmdoc::kWritePalmDocFailed;
using palmdoc::kWritePalmDocSucceeded;

namespace {

using Kind = FileFaults::Kind;

struct KindCase {
    const char* name;
    Kind kind;
    int atLeast;  // calls of the kind in one conversion
    int errorNumber;
    WriteCause cause;
};

// 33 records and a bit with an index: the file is read in three calls, so
// that every kind of call happens more than once where it can.
const KindCase kKinds[] = {
    {"open", Kind::kOpen, 2, EACCES, WriteCause::kFile},
    {"read", Kind::kRead, 3, EIO, WriteCause::kFile},
    {"read that meets the end early", Kind::kRead, 3, 0, WriteCause::kTextChanged},
    {"write", Kind::kWrite, 38, ENOSPC, WriteCause::kFile},
    {"seek", Kind::kSeek, 3, EIO, WriteCause::kFile},
    {"tell", Kind::kTell, 1, EIO, WriteCause::kFile},
    {"flush", Kind::kFlush, 1, ENOSPC, WriteCause::kFile},
    {"close", Kind::kClose, 2, EIO, WriteCause::kFile},
};

TEST(WriterFaults, EveryFailedCallFailsTheConversionAndIsReported) {
    ScratchFolder folder;
    const std::string text = folder.Path("text.txt");
    const std::string pdbPath = folder.Path("out.pdb");
    Bytes file;
    for (int i = 0; i < 33 * 4096 + 100; ++i) file.push_back(static_cast<unsigned char>('a' + (i * 13) % 26));
    WriteFile(text, file);
    ASSERT_EQ(WritePalmDoc(text.c_str(), pdbPath.c_str(), "faults", "index\n"), kWritePalmDocSucceeded);
    const Bytes expected = ReadFile(pdbPath);

    for (const KindCase& test : kKinds) {
        SCOPED_TRACE(test.name);
        int result = -1;
        WriteFailure failure;
        const auto run = [&] { result = WritePalmDoc(text.c_str(), pdbPath.c_str(), "faults", "index\n", {}, &failure); };
        const auto check = [&](int nth, const FileFaults& faults) {
            SCOPED_TRACE("call " + std::to_string(nth) + " on " + faults.FailedPath());
            EXPECT_EQ(faults.OpenFiles(), 0u) << "a file was left open";
            // The text file was only read: its close loses nothing.
            if (test.kind == Kind::kClose && faults.FailedPath() == text) {
                EXPECT_EQ(result, kWritePalmDocSucceeded);
                EXPECT_EQ(failure.cause, WriteCause::kNone);
                return;
            }
            EXPECT_EQ(result, kWritePalmDocFailed);
            EXPECT_EQ(failure.cause, test.cause);
            EXPECT_EQ(failure.file.operation, test.kind);
            ASSERT_NE(failure.file.path, nullptr);
            EXPECT_EQ(failure.file.path, faults.FailedPath());
            EXPECT_EQ(failure.file.errorNumber, test.errorNumber);
            if (test.cause == WriteCause::kTextChanged) {
                EXPECT_GE(failure.record, 1u);
            }
        };
        EXPECT_GE(SweepFileFaults(test.kind, run, check, test.errorNumber), test.atLeast);
        EXPECT_EQ(result, kWritePalmDocSucceeded);
        EXPECT_EQ(failure.cause, WriteCause::kNone);
        EXPECT_EQ(ReadFile(pdbPath), expected);
    }
}

}  // namespace

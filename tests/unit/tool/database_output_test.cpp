// What pack and convert say for each failure the database writer reports.
// convert's text of a large mailbox meets the same size limit as pack's
// (a 270 MB mailbox is too slow to make in a unit test).
#include <cerrno>
#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include "tools/coraxtopalm/database_output.h"

namespace {

using palmdoc::WriteCause;
using palmdoc::WriteFailure;
using platform::FileOperation;

TEST(WriteFailureMessage, NamesTheFileTheCauseAndTheRecord) {
    DatabaseJob job;
    job.textPath = "/tmp/.coraxtopalm-text.1";
    job.textShown = "in.mbox";
    job.pdbPath = "/tmp/.out.pdb.2";
    job.pdbShown = "out.pdb";
    const struct {
        WriteFailure failure;
        const char* message;
    } cases[] = {
        {{WriteCause::kFile, {FileOperation::kOpen, job.textPath.c_str(), ENOENT}},
         "cannot read in.mbox: No such file or directory"},
        {{WriteCause::kFile, {FileOperation::kWrite, job.pdbPath.c_str(), ENOSPC}},
         "cannot write out.pdb: No space left on device"},
        {{WriteCause::kFile, {FileOperation::kClose, job.pdbPath.c_str(), 0}}, "cannot write out.pdb: Input/output error"},
        {{WriteCause::kTextChanged, {FileOperation::kRead, job.textPath.c_str(), 0}, 3},
         "in.mbox changed while it was read"},
        {{WriteCause::kTooLong, {}, 0, 270000000},
         "the text of in.mbox is 270,000,000 bytes and a Palm DOC holds at most 268,427,264 (65534 records of 4096)"},
        {{WriteCause::kEmptyRecord, {}, 2},
         "in.mbox: record 2 of the text (bytes 4,096 to 8,191) holds nothing but control characters, and a Palm DOC "
         "record cannot be empty"},
        {{WriteCause::kCompression, {}, 1}, "cannot make the database out.pdb from in.mbox"},
    };
    for (const auto& test : cases) EXPECT_EQ(WriteFailureMessage(job, test.failure), test.message);
}

}  // namespace

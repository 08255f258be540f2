// The size limit of a Palm DOC as both pack and convert meet it: convert's
// text of a large mailbox comes to the same check before any record is
// written (a 270 MB mailbox is too slow to make in a unit test).
#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include "tools/coraxtopalm/database_output.h"

namespace {

constexpr std::uint64_t kLimit = 268427264;  // 65534 records of 4096

struct SizeCase {
    std::uint64_t textLength;
    bool fits;
    std::uint32_t records;
};

TEST(PalmDocSize, LimitAndRecordCount) {
    const SizeCase cases[] = {
        {0, true, 0}, {1, true, 1}, {4096, true, 1}, {4097, true, 2}, {kLimit, true, 65534}, {kLimit + 1, false, 0},
    };
    for (const SizeCase& test : cases) {
        SCOPED_TRACE(test.textLength);
        std::string error;
        EXPECT_EQ(FitsPalmDoc(test.textLength, "in.mbox", error), test.fits);
        if (test.fits) {
            EXPECT_EQ(TextRecordCount(test.textLength), test.records);
        }
    }
}

TEST(PalmDocSize, ConvertOfTooLargeAMailboxSaysSoBeforeWriting) {
    DatabaseJob job;
    job.textPath = "/nonexistent/text";
    job.textShown = "in.mbox";
    job.textSize = 270000000;
    job.pdbPath = "/nonexistent/out.pdb";
    job.pdbShown = "out.pdb";
    std::string error;
    EXPECT_FALSE(WriteDatabaseFile(job, error));
    EXPECT_EQ(error,
              "the text of in.mbox is 270,000,000 bytes and a Palm DOC holds at most 268,427,264 (65534 records "
              "of 4096)");
}

}  // namespace

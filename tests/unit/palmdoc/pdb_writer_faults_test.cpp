// Every file operation of the writer, made to fail one call at a time: the
// result must be failure and every file that was opened must be closed.
#include <gtest/gtest.h>

#include <set>

#include "palmdoc/pdb_writer.h"
#include "palmdoc_test_support.h"

namespace {

enum class Operation { kOpen, kRead, kWrite, kSeek, kTell, kFlush, kClose };

// Which call to fail (counted from 1 per operation; 0: none), and what
// happened. The writer reaches it only through the function pointers.
struct FaultPlan {
    Operation operation = Operation::kOpen;
    int failAt = 0;
    int calls[7] = {};
    std::set<std::FILE*> open;

    bool ShouldFail(Operation which) {
        const int call = ++calls[static_cast<int>(which)];
        return which == operation && call == failAt;
    }
};

FaultPlan plan;

std::FILE* FaultyOpen(const char* path, const char* mode) {
    if (plan.ShouldFail(Operation::kOpen)) return nullptr;
    std::FILE* file = StandardPdbFileOps().open(path, mode);
    if (file != nullptr) plan.open.insert(file);
    return file;
}
std::size_t FaultyRead(void* buffer, std::size_t size, std::size_t count, std::FILE* file) {
    // A short read: the file yields fewer bytes than it had when measured.
    if (plan.ShouldFail(Operation::kRead)) return count / 2;
    return StandardPdbFileOps().read(buffer, size, count, file);
}
std::size_t FaultyWrite(const void* buffer, std::size_t size, std::size_t count, std::FILE* file) {
    if (plan.ShouldFail(Operation::kWrite)) return count == 0 ? 0 : count - 1;
    return StandardPdbFileOps().write(buffer, size, count, file);
}
int FaultySeek(std::FILE* file, long offset, int origin) {
    if (plan.ShouldFail(Operation::kSeek)) return -1;
    return StandardPdbFileOps().seek(file, offset, origin);
}
long FaultyTell(std::FILE* file) {
    if (plan.ShouldFail(Operation::kTell)) return -1;
    return StandardPdbFileOps().tell(file);
}
int FaultyFlush(std::FILE* file) {
    if (plan.ShouldFail(Operation::kFlush)) return EOF;
    return StandardPdbFileOps().flush(file);
}
int FaultyClose(std::FILE* file) {
    plan.open.erase(file);
    const int result = StandardPdbFileOps().close(file);
    return plan.ShouldFail(Operation::kClose) ? EOF : result;
}

const PdbFileOps kFaultyOps = {FaultyOpen, FaultyRead, FaultyWrite, FaultySeek, FaultyTell, FaultyFlush, FaultyClose,
                               platform::StandardFiles.remove, platform::StandardFiles.rename};

class WriterFaults : public ::testing::Test {
protected:
    void SetUp() override {
        // 33 records and a bit with an index: the file is read in three
        // calls and the records are written in two batches, so that every
        // kind of call happens more than once.
        Bytes file;
        for (int i = 0; i < 33 * 4096 + 100; ++i) file.push_back(static_cast<unsigned char>('a' + (i * 13) % 26));
        WriteFile(text, file);
    }

    int Run(Operation operation, int failAt) {
        plan = FaultPlan();
        plan.operation = operation;
        plan.failAt = failAt;
        return WritePalmDocUsing(kFaultyOps, text.c_str(), pdbPath.c_str(), "faults", "index\n");
    }

    int CallsWithoutFaults(Operation operation) {
        EXPECT_EQ(Run(operation, 0), 0);
        return plan.calls[static_cast<int>(operation)];
    }

    ScratchFolder folder;
    std::string text = folder.Path("text.txt");
    std::string pdbPath = folder.Path("out.pdb");
};

TEST_F(WriterFaults, EveryFailedCallFailsTheConversion) {
    const struct {
        const char* name;
        Operation operation;
        int expectedAtLeast;
    } operations[] = {
        {"open", Operation::kOpen, 2},   {"read", Operation::kRead, 3},   {"write", Operation::kWrite, 77},
        {"seek", Operation::kSeek, 6},   {"tell", Operation::kTell, 3},   {"flush", Operation::kFlush, 1},
        {"close", Operation::kClose, 2},
    };
    for (const auto& op : operations) {
        const int calls = CallsWithoutFaults(op.operation);
        EXPECT_GE(calls, op.expectedAtLeast) << op.name;
        for (int failAt = 1; failAt <= calls; ++failAt) {
            SCOPED_TRACE(std::string(op.name) + " call " + std::to_string(failAt));
            const int result = Run(op.operation, failAt);
            // Only the destination's close can lose bytes; it is the second.
            const bool harmless = op.operation == Operation::kClose && failAt == 1;
            EXPECT_EQ(result, harmless ? 0 : 1);
            EXPECT_TRUE(plan.open.empty()) << "a file was left open";
        }
    }
}

TEST_F(WriterFaults, TheSuccessfulRunWritesTheSameBytesAsTheStandardOps) {
    ASSERT_EQ(Run(Operation::kOpen, 0), 0);
    const Bytes viaFaultyOps = ReadFile(pdbPath);
    ASSERT_EQ(WritePalmDoc(text.c_str(), pdbPath.c_str(), "faults", "index\n"), 0);
    EXPECT_EQ(ReadFile(pdbPath), viaFaultyOps);
}

}  // namespace

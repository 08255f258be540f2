// The tool's threaded record compression against the writer's own, one
// record after another: the same database byte for byte for every shape of
// text and any number of threads, and the same failure when a record or a
// file operation fails while a batch is being compressed.
#include <cstdio>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "palmdoc/pdb_writer.h"
#include "tool_test_support.h"
#include "tools/coraxtopalm/parallel_compressor.h"

namespace {

constexpr std::size_t kRecord = 4096;
constexpr std::size_t kBatch = kMaxBatchRecords * kRecord;

// Lines of words from a small vocabulary, with tabs and CR LF: text that
// compresses as mail does, different in every record.
std::string Prose(std::size_t length, unsigned seed = 1) {
    static const char* const words[] = {"the", "minutes", "of", "meeting", "follow", "in", "full", "Subject:",
                                        "Re:", "Monday", "please", "find", "below", "attached", "\t", "regards"};
    std::mt19937 random(seed);
    std::string text;
    while (text.size() < length) {
        for (int k = static_cast<int>(random() % 12); k >= 0; --k) {
            text += words[random() % (sizeof words / sizeof *words)];
            text += ' ';
        }
        text += random() % 3 == 0 ? "\r\n" : "\n";
    }
    text.resize(length);
    return text;
}

std::string ShiftJisMail(std::size_t length) {
    static const char* const lines[] = {"件名: 来週の打ち合わせについて\r\n", "お世話になっております。山田です。\r\n",
                                        "先日の会議の議事録を添付いたします。\r\n", "未読メッセージを変換しました。\r\n"};
    std::mt19937 random(932);
    std::string text;
    while (text.size() < length) text += lines[random() % (sizeof lines / sizeof *lines)];
    text.resize(length);
    return text;
}

// Every byte value, the slowest shape for the compressor.
std::string AnyBytes(std::size_t length) {
    std::mt19937 random(256);
    std::string bytes(length, '\0');
    for (char& b : bytes) b = static_cast<char>(random());
    return bytes;
}

struct TextCase {
    const char* name;
    std::string text;
    const char* index;  // null: none
};

class ParallelCompression : public ::testing::Test {
protected:
    // The database the writer makes with compressor (null: its own).
    std::string Database(const std::string& text, const char* index, BatchCompressor* compressor, int& result) {
        folder.Write("text.txt", text);
        result = WritePalmDocUsing(StandardPdbFileOps(), folder.Path("text.txt").c_str(),
                                   folder.Path("out.pdb").c_str(), "title", index, compressor);
        return folder.Read("out.pdb");
    }

    ScratchFolder folder;
};

TEST_F(ParallelCompression, GivesTheSameBytesAsOneRecordAfterAnother) {
    const std::string longIndex = Prose(kRecord + 904, 7);
    const TextCase cases[] = {
        {"empty text", "", nullptr},
        {"one record", Prose(100), nullptr},
        {"exactly a batch", Prose(kBatch), nullptr},
        {"a batch and a byte", Prose(kBatch + 1), nullptr},
        {"many batches", Prose(7 * kBatch + 1234), nullptr},
        {"an index over two records", Prose(3 * kBatch), longIndex.c_str()},
        {"only an index", "", "index\n"},
        {"Shift-JIS mail", ShiftJisMail(2 * kBatch + 77), nullptr},
        {"every byte value", AnyBytes(kBatch + 5 * kRecord), nullptr},
    };
    // More threads than cores, and each compressor kept across conversions
    // as across batches.
    ParallelBatchCompressor compressors[] = {ParallelBatchCompressor(1), ParallelBatchCompressor(2),
                                             ParallelBatchCompressor(3), ParallelBatchCompressor(8)};
    for (const TextCase& test : cases) {
        SCOPED_TRACE(test.name);
        int serialResult = -1;
        const std::string expected = Database(test.text, test.index, nullptr, serialResult);
        ASSERT_EQ(serialResult, kWritePalmDocSucceeded);
        for (ParallelBatchCompressor& compressor : compressors) {
            int result = -1;
            const std::string database = Database(test.text, test.index, &compressor, result);
            EXPECT_EQ(result, kWritePalmDocSucceeded);
            EXPECT_TRUE(database == expected) << Describe(database) << " instead of " << Describe(expected);
        }
    }
}

// Fails one read or write call, counted from the start of a conversion; the
// writer sees nothing but the standard operations otherwise.
struct FaultPlan {
    int failRead = 0;
    std::size_t failWriteOver = 0;  // the first write of more bytes than this
    int reads = 0;
    bool writeFailed = false;
} plan;

std::size_t PlannedRead(void* buffer, std::size_t size, std::size_t count, std::FILE* file) {
    if (++plan.reads == plan.failRead) return 0;
    return StandardPdbFileOps().read(buffer, size, count, file);
}

std::size_t PlannedWrite(const void* buffer, std::size_t size, std::size_t count, std::FILE* file) {
    if (plan.failWriteOver > 0 && !plan.writeFailed && size * count > plan.failWriteOver) {
        plan.writeFailed = true;
        return 0;
    }
    return StandardPdbFileOps().write(buffer, size, count, file);
}

PdbFileOps PlannedOps() {
    PdbFileOps ops = StandardPdbFileOps();
    ops.read = PlannedRead;
    ops.write = PlannedWrite;
    return ops;
}

struct FailureCase {
    const char* name;
    std::string text;
    FaultPlan plan;
};

std::string WithControlRecord(std::string text, std::size_t record) {
    text.replace(record * kRecord, kRecord, std::string(kRecord, '\x01'));
    return text;
}

// The writer gives up with a batch in the compressor's hands; no thread may
// go on with its records once they are gone (the sanitizers watch).
TEST_F(ParallelCompression, FailsAsOneRecordAfterAnotherDoesWhileABatchIsCompressed) {
    const std::string text = Prose(3 * kBatch);
    const FailureCase cases[] = {
        {"a record of control bytes only in the second batch", WithControlRecord(text, kMaxBatchRecords + 3), {}},
        {"a record of control bytes only, the last", WithControlRecord(text, 3 * kMaxBatchRecords - 1), {}},
        // The text is read 16 records at a time: the third read fills the
        // second batch while the first is compressed.
        {"the text cut short while the first batch is compressed", text, {3, 0, 0, false}},
        // The first batch's records are written while the second is
        // compressed.
        {"the records not written while the second batch is compressed", text, {0, kRecord, 0, false}},
    };
    const PdbFileOps ops = PlannedOps();
    for (const FailureCase& test : cases) {
        SCOPED_TRACE(test.name);
        folder.Write("text.txt", test.text);
        plan = test.plan;
        const int serialResult = WritePalmDocUsing(ops, folder.Path("text.txt").c_str(),
                                                   folder.Path("serial.pdb").c_str(), "title", nullptr);
        EXPECT_EQ(serialResult, kWritePalmDocFailed);
        for (unsigned threads : {2u, 8u}) {
            ParallelBatchCompressor compressor(threads);
            plan = test.plan;
            EXPECT_EQ(WritePalmDocUsing(ops, folder.Path("text.txt").c_str(), folder.Path("out.pdb").c_str(), "title",
                                        nullptr, &compressor),
                      kWritePalmDocFailed)
                << threads << " threads";
        }
    }
}

}  // namespace

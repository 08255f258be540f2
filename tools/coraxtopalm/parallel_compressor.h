// The database writer's records compressed on every core: compression is
// most of the time of pack and of convert to .pdb, and records compress
// independently of each other. The library stays single-threaded (the
// plug-in's threading belongs to its host); the tool lends it threads through
// the writer's batch hook.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "palmdoc/batch_compressor.h"

// The threads this machine runs at once; at least 1.
unsigned CompressionThreads();

// threads - 1 workers, started once and kept for every batch, take the
// batch's records one by one from Start on; the calling thread joins them in
// Finish. Each has a compressor of its own.
class ParallelBatchCompressor : public BatchCompressor {
public:
    explicit ParallelBatchCompressor(unsigned threads);
    ~ParallelBatchCompressor() override;
    ParallelBatchCompressor(const ParallelBatchCompressor&) = delete;
    ParallelBatchCompressor& operator=(const ParallelBatchCompressor&) = delete;

    void Start(tBuf* records, uint32_t count) override;
    // An exception of any thread (out of memory) is thrown again here once
    // the batch is done.
    bool Finish() override;
    void Abandon() noexcept override;

private:
    void Work(RecordCompressor& compressor);
    void TakeRecords(RecordCompressor& compressor);
    void WaitForWorkers(std::unique_lock<std::mutex>& lock);

    std::mutex mutex_;
    std::condition_variable batchStarted_;
    std::condition_variable batchDone_;
    // Changed under mutex_: a new number for every batch, the workers still
    // at it, and the first exception one of them met. The first two are
    // also watched without it for a while before a thread goes to sleep.
    std::atomic<uint64_t> batchNumber_{0};
    std::atomic<unsigned> working_{0};
    bool stopping_ = false;
    std::exception_ptr thrown_;

    // Set by Start before the workers see the batch; they only read it.
    tBuf* records_ = nullptr;
    uint32_t count_ = 0;
    std::atomic<uint32_t> nextRecord_{0};
    // A failed record fails the batch: the others need no more work.
    std::atomic<bool> failed_{false};

    RecordCompressor callerCompressor_;
    std::vector<std::unique_ptr<RecordCompressor>> workerCompressors_;
    std::vector<std::thread> workers_;
};

#include "parallel_compressor.h"

#include <algorithm>
#include <chrono>
#include <system_error>

namespace {

// Between batches a worker waits only as long as the writer takes to finish
// its last record and hand over the next batch, and the writer waits as long
// for a worker's last record: shorter than waking a sleeping thread takes on
// a virtual machine. So each first watches for a while.
constexpr std::chrono::microseconds kWatchBeforeSleeping{200};

template <typename Condition>
void WatchFor(Condition condition) {
    const auto until = std::chrono::steady_clock::now() + kWatchBeforeSleeping;
    while (!condition() && std::chrono::steady_clock::now() < until) std::this_thread::yield();
}

}  // namespace

unsigned CompressionThreads() {
    const unsigned threads = std::thread::hardware_concurrency();
    return threads > 0 ? threads : 1;
}

ParallelBatchCompressor::ParallelBatchCompressor(unsigned threads) {
    // More threads than records in a batch would find nothing to do.
    threads = std::min<unsigned>(threads, kMaxBatchRecords);
    workerCompressors_.reserve(threads);
    for (unsigned k = 1; k < threads; ++k) {
        workerCompressors_.push_back(std::make_unique<RecordCompressor>());
        RecordCompressor* compressor = workerCompressors_.back().get();
        try {
            workers_.emplace_back([this, compressor] { Work(*compressor); });
        } catch (const std::system_error&) {
            // A system short of threads still gets the records compressed,
            // on the threads that did start.
            workerCompressors_.pop_back();
            break;
        }
    }
}

ParallelBatchCompressor::~ParallelBatchCompressor() {
    {
        std::unique_lock<std::mutex> lock(mutex_);
        failed_ = true;
        WaitForWorkers(lock);
        stopping_ = true;
    }
    batchStarted_.notify_all();
    for (std::thread& worker : workers_) worker.join();
}

void ParallelBatchCompressor::Start(tBuf* records, uint32_t count) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        records_ = records;
        count_ = count;
        nextRecord_ = 0;
        failed_ = false;
        thrown_ = nullptr;
        working_ = static_cast<unsigned>(workers_.size());
        ++batchNumber_;
    }
    batchStarted_.notify_all();
}

bool ParallelBatchCompressor::Finish() {
    TakeRecords(callerCompressor_);
    WatchFor([this] { return working_ == 0; });
    std::unique_lock<std::mutex> lock(mutex_);
    WaitForWorkers(lock);
    if (thrown_) std::rethrow_exception(thrown_);
    return !failed_;
}

void ParallelBatchCompressor::Abandon() noexcept {
    failed_ = true;
    std::unique_lock<std::mutex> lock(mutex_);
    WaitForWorkers(lock);
}

// The records are the writer's again once this returns: no worker may touch
// them after.
void ParallelBatchCompressor::WaitForWorkers(std::unique_lock<std::mutex>& lock) {
    batchDone_.wait(lock, [this] { return working_ == 0; });
}

void ParallelBatchCompressor::Work(RecordCompressor& compressor) {
    uint64_t batchSeen = 0;
    for (;;) {
        WatchFor([&] { return batchNumber_ != batchSeen; });
        {
            std::unique_lock<std::mutex> lock(mutex_);
            batchStarted_.wait(lock, [&] { return stopping_ || batchNumber_ != batchSeen; });
            if (stopping_) return;
            batchSeen = batchNumber_;
        }
        TakeRecords(compressor);
        std::lock_guard<std::mutex> lock(mutex_);
        if (--working_ == 0) batchDone_.notify_all();
    }
}

void ParallelBatchCompressor::TakeRecords(RecordCompressor& compressor) {
    try {
        for (uint32_t i = nextRecord_++; i < count_ && !failed_; i = nextRecord_++) {
            if (!PrepareRecord(compressor, records_[i])) failed_ = true;
        }
    } catch (...) {
        failed_ = true;
        std::lock_guard<std::mutex> lock(mutex_);
        if (!thrown_) thrown_ = std::current_exception();
    }
}

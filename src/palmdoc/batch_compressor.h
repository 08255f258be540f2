// The records of a database are filtered and compressed each on its own, so
// the writer hands them over a batch at a time to whatever compresses them:
// one after another here, on several threads in a caller that has threads.
// The writer alone reads and writes the files.
#pragma once

#include <cstdint>

#include "palmdoc/compressor.h"
#include "palmdoc/text_buffer.h"

// Cleans record of control bytes and compresses it with compressor. False
// when the compressor reports a consistency break or the record filters to
// nothing: an empty record's entry would share the next record's offset and
// readers would lose its place.
bool PrepareRecord(RecordCompressor& compressor, tBuf& record);

// The writer hands over at most this many records at once, the records it
// writes together: 128 KB of text, about a millisecond of compression, so
// that handing a batch over costs little beside its work, and two batches in
// memory cost little.
constexpr uint32_t kMaxBatchRecords = 32;

// One batch at a time: the writer reads the next batch's text and writes the
// last batch's records between Start and Finish, while a compressor with
// threads already works.
class BatchCompressor {
public:
    virtual ~BatchCompressor() = default;

    // Hands over records[0] to records[count - 1] for PrepareRecord, in any
    // order and on any thread; they are the compressor's until Finish.
    virtual void Start(tBuf* records, uint32_t count) = 0;
    // Returns once every record of the batch is done; false when any failed.
    virtual bool Finish() = 0;
    // Returns once no thread works on the batch any more, with its records
    // done, half done or untouched: the writer gives up.
    virtual void Abandon() noexcept = 0;
};

// Records one after another on the calling thread, within Finish, with one
// compressor kept for the whole conversion.
class SerialBatchCompressor : public BatchCompressor {
public:
    void Start(tBuf* records, uint32_t count) override;
    bool Finish() override;
    void Abandon() noexcept override;

private:
    RecordCompressor compressor_;
    tBuf* records_ = nullptr;
    uint32_t count_ = 0;
};

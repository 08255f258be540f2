#include "palmdoc/batch_compressor.h"

#include "palmdoc/control_filter.h"

bool PrepareRecord(RecordCompressor& compressor, tBuf& record) {
    if (FilterControlChars(record) == 0) return false;
    int compressError = 0;
    compressor.Compress(record, compressError);
    return compressError == 0;
}

void SerialBatchCompressor::Start(tBuf* records, uint32_t count) {
    records_ = records;
    count_ = count;
}

bool SerialBatchCompressor::Finish() {
    for (uint32_t i = 0; i < count_; ++i) {
        if (!PrepareRecord(compressor_, records_[i])) return false;
    }
    return true;
}

void SerialBatchCompressor::Abandon() noexcept { count_ = 0; }

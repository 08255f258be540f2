#include "palmdoc/record_batch.h"

#include <cstring>

#include "palmdoc/byte_order.h"
#include "palmdoc/compressed_stream.h"
#include "palmdoc/pdb_format.h"

namespace {

void PutField32(unsigned char* at, uint32_t value) {
    const uint32_t converted = ToFileOrder32(value);
    std::memcpy(at, &converted, sizeof converted);
}

}  // namespace

RecordBatch::RecordBatch(const PdbFileOps& ops, std::FILE* pdb) : ops_(ops), pdb_(pdb) {
    bytes_.reserve(kMaxBatchRecords * palmdoc::CompressedSizeBound(pdb::kTextRecordSize));
}

bool RecordBatch::Add(const tBuf& record) {
    starts_[count_++] = static_cast<uint32_t>(bytes_.size());
    bytes_.insert(bytes_.end(), record.data, record.data + record.length);
    return count_ < kMaxBatchRecords || Write();
}

bool RecordBatch::Write() {
    if (count_ == 0) return true;
    const long end = ops_.tell(pdb_);
    if (end < 0) return false;

    unsigned char entries[kMaxBatchRecords * pdb::kRecordEntrySize];
    for (uint32_t i = 0; i < count_; ++i) {
        unsigned char* entry = entries + i * pdb::kRecordEntrySize;
        PutField32(entry, static_cast<uint32_t>(end) + starts_[i]);
        PutField32(entry + pdb::kRecordEntryTagOffset, pdb::kRecordEntryTag + firstRecord_ + i);
    }
    const long firstEntry = static_cast<long>(pdb::kHeaderSize + pdb::kRecordEntrySize * firstRecord_);
    const std::size_t entryBytes = count_ * pdb::kRecordEntrySize;
    if (ops_.seek(pdb_, firstEntry, SEEK_SET) != 0 || ops_.write(entries, 1, entryBytes, pdb_) != entryBytes ||
        ops_.seek(pdb_, end, SEEK_SET) != 0 || ops_.write(bytes_.data(), 1, bytes_.size(), pdb_) != bytes_.size()) {
        return false;
    }
    firstRecord_ += count_;
    count_ = 0;
    bytes_.clear();
    return true;
}

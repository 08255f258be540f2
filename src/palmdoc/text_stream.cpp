#include "palmdoc/text_stream.h"

#include <cstring>

#include "palmdoc/compressor.h"
#include "palmdoc/pdb_format.h"

namespace {

constexpr uint32_t kRecordsPerRead = 16;
constexpr uint32_t kChunkSize = kRecordsPerRead * pdb::kTextRecordSize;

uint32_t Smaller(uint32_t a, uint32_t b) { return a < b ? a : b; }

}  // namespace

TextStream::TextStream(const PdbFileOps& ops, std::FILE* file, const char* index, uint32_t indexLength,
                       uint32_t fileLength)
    : ops_(ops), file_(file), index_(index), indexLeft_(indexLength), fileLeft_(fileLength),
      chunk_(Smaller(fileLength, kChunkSize)) {}

bool TextStream::ReadChunk() {
    const uint32_t wanted = Smaller(fileLeft_, kChunkSize);
    if (ops_.read(chunk_.data(), 1, wanted, file_) != wanted) return false;
    fileLeft_ -= wanted;
    chunkAt_ = 0;
    chunkEnd_ = wanted;
    return true;
}

bool TextStream::FillRecord(tBuf& record) {
    record.Rearm(CompressionCapacity(pdb::kTextRecordSize));
    if (indexLeft_ > 0) {
        const uint32_t take = Smaller(indexLeft_, pdb::kTextRecordSize);
        std::memcpy(record.data, index_, take);
        index_ += take;
        indexLeft_ -= take;
        record.length = take;
        if (indexLeft_ > 0) return true;
    }
    while (record.length < pdb::kTextRecordSize) {
        if (chunkAt_ == chunkEnd_) {
            if (fileLeft_ == 0) break;
            if (!ReadChunk()) return false;
        }
        const uint32_t take = Smaller(chunkEnd_ - chunkAt_, pdb::kTextRecordSize - record.length);
        std::memcpy(record.data + record.length, chunk_.data() + chunkAt_, take);
        chunkAt_ += take;
        record.length += take;
    }
    return true;
}

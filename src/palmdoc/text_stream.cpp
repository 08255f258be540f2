#include "palmdoc/text_stream.h"

#include <cerrno>
#include <cstring>

#include "palmdoc/compressor.h"
#include "palmdoc/pdb_format.h"
#include "platform/file_system.h"

namespace palmdoc {

namespace {

constexpr uint32_t kRecordsPerRead = 16;
constexpr uint32_t kChunkSize = kRecordsPerRead * pdb::kTextRecordSize;

uint32_t Smaller(uint32_t a, uint32_t b) { return a < b ? a : b; }

}  // namespace

TextStream::TextStream(std::FILE* file, const char* index, uint32_t indexLength, uint32_t fileLength)
    : file_(file), index_(index), indexLeft_(indexLength), fileLeft_(fileLength),
      chunk_(Smaller(fileLength, kChunkSize)) {}

bool TextStream::ReadChunk() {
    const uint32_t wanted = Smaller(fileLeft_, kChunkSize);
    // The table has no ferror: a short read that set no errno met the end.
    errno = 0;
    if (platform::Files.read(chunk_.data(), 1, wanted, file_) != wanted) {
        readError_ = errno;
        return false;
    }
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

}  // namespace palmdoc

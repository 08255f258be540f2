#include "palmdoc/pdb_writer.h"

#include <algorithm>
#include <cstring>

#include "palmdoc/batch_compressor.h"
#include "palmdoc/byte_order.h"
#include "palmdoc/database_name.h"
#include "palmdoc/pdb_format.h"
#include "palmdoc/record_batch.h"
#include "palmdoc/text_buffer.h"
#include "palmdoc/text_stream.h"

namespace {

void PutField16(unsigned char* at, uint16_t value) {
    const uint16_t converted = ToFileOrder16(value);
    std::memcpy(at, &converted, sizeof converted);
}

void PutField32(unsigned char* at, uint32_t value) {
    const uint32_t converted = ToFileOrder32(value);
    std::memcpy(at, &converted, sizeof converted);
}

uint32_t FirstRecordOffset(uint32_t textRecords) {
    return pdb::kHeaderSize + pdb::RecordListSize(textRecords + 1) + pdb::kListGapSize;
}

bool WriteDatabaseHeader(const PdbFileOps& ops, std::FILE* pdb, const char* title, uint32_t textRecords) {
    unsigned char header[pdb::kHeaderSize] = {};
    FormatDatabaseName(title, header + pdb::kNameOffset);
    PutField32(header + pdb::kCreationDateOffset, pdb::kFixedDate);
    PutField32(header + pdb::kModificationDateOffset, pdb::kFixedDate);
    std::memcpy(header + pdb::kTypeOffset, pdb::kDocType, pdb::kFourCharCodeSize);
    std::memcpy(header + pdb::kCreatorOffset, pdb::kDocCreator, pdb::kFourCharCodeSize);
    PutField16(header + pdb::kNumberOfRecordsOffset, static_cast<uint16_t>(textRecords + 1));
    return ops.write(header, sizeof header, 1, pdb) == 1;
}

// The text records' offsets are provisional here (as if every record kept
// 4096 bytes); each is corrected when its record is written.
bool WriteRecordList(const PdbFileOps& ops, std::FILE* pdb, uint32_t textRecords) {
    const uint32_t docHeaderOffset = FirstRecordOffset(textRecords);
    if (!WriteBigEndian32(docHeaderOffset, pdb, ops) || !WriteBigEndian32(pdb::kRecordEntryTag, pdb, ops)) {
        return false;
    }
    for (uint32_t k = 1; k <= textRecords; ++k) {
        const uint32_t provisional = docHeaderOffset + pdb::kDocHeaderSize + pdb::kTextRecordSize * (k - 1);
        if (!WriteBigEndian32(provisional, pdb, ops) || !WriteBigEndian32(pdb::kRecordEntryTag + k, pdb, ops)) {
            return false;
        }
    }
    return WriteBigEndian16(0, pdb, ops) == 1;
}

bool WriteDocHeader(const PdbFileOps& ops, std::FILE* pdb, uint32_t textLength, uint32_t textRecords) {
    unsigned char header[pdb::kDocHeaderSize] = {};
    PutField16(header + pdb::kCompressionOffset, pdb::kCompressionPalmDoc);
    PutField32(header + pdb::kTextLengthOffset, textLength);
    PutField16(header + pdb::kRecordCountOffset, static_cast<uint16_t>(textRecords));
    PutField16(header + pdb::kRecordSizeOffset, static_cast<uint16_t>(pdb::kTextRecordSize));
    return ops.write(header, sizeof header, 1, pdb) == 1;
}

// The writer never leaves with a batch in the compressor's hands, so no
// thread works on records that are gone.
class BatchInFlight {
public:
    explicit BatchInFlight(BatchCompressor& compressor) : compressor_(compressor) {}
    ~BatchInFlight() {
        if (started_) compressor_.Abandon();
    }
    BatchInFlight(const BatchInFlight&) = delete;
    BatchInFlight& operator=(const BatchInFlight&) = delete;

    void Start(tBuf* records, uint32_t count) {
        compressor_.Start(records, count);
        started_ = true;
    }
    bool Finish() {
        started_ = false;
        return compressor_.Finish();
    }

private:
    BatchCompressor& compressor_;
    bool started_ = false;
};

bool WriteDatabase(const PdbFileOps& ops, std::FILE* text, std::FILE* pdb, const char* title,
                   const char* indexText, BatchCompressor& compressor) {
    const std::size_t indexLength = indexText != nullptr ? std::strlen(indexText) : 0;
    if (ops.seek(text, 0, SEEK_END) != 0) return false;
    const long fileLength = ops.tell(text);
    if (fileLength < 0 || ops.seek(text, 0, SEEK_SET) != 0) return false;

    // Beyond 65534 records the 16-bit counts would wrap and readers would see
    // a different document, so such a stream is refused before anything of it
    // is written.
    const uint64_t textLength = static_cast<uint64_t>(fileLength) + indexLength;
    if (textLength > pdb::kMaxTextLength) return false;
    const uint32_t textRecords =
        static_cast<uint32_t>((textLength + pdb::kTextRecordSize - 1) / pdb::kTextRecordSize);

    if (!WriteDatabaseHeader(ops, pdb, title, textRecords) || !WriteRecordList(ops, pdb, textRecords) ||
        !WriteDocHeader(ops, pdb, static_cast<uint32_t>(textLength), textRecords)) {
        return false;
    }

    TextStream stream(ops, text, indexText, static_cast<uint32_t>(indexLength), static_cast<uint32_t>(fileLength));
    RecordBatch written(ops, pdb);
    // Two batches: while one is compressed, the text of the next is read and
    // the records of the one before are written.
    tBuf batches[2][kMaxBatchRecords];
    BatchInFlight inFlight(compressor);
    uint32_t recordsLeft = textRecords;
    const auto fill = [&](tBuf* records, uint32_t& count) {
        count = std::min(kMaxBatchRecords, recordsLeft);
        recordsLeft -= count;
        for (uint32_t i = 0; i < count; ++i) {
            if (!stream.FillRecord(records[i])) return false;
        }
        return true;
    };
    uint32_t count = 0;
    if (!fill(batches[0], count)) return false;
    if (count > 0) inFlight.Start(batches[0], count);
    for (int current = 0; count > 0; current = 1 - current) {
        tBuf* const next = batches[1 - current];
        uint32_t nextCount = 0;
        if (!fill(next, nextCount) || !inFlight.Finish()) return false;
        if (nextCount > 0) inFlight.Start(next, nextCount);
        for (uint32_t i = 0; i < count; ++i) {
            if (!written.Add(batches[current][i])) return false;
        }
        count = nextCount;
    }
    // Buffered bytes that never reach the disk make a short database.
    return written.Write() && ops.flush(pdb) == 0;
}

}  // namespace

int WritePalmDocUsing(const PdbFileOps& ops, const char* textPath, const char* pdbPath, const char* title,
                      const char* indexText, BatchCompressor* compressor) {
    std::FILE* text = ops.open(textPath, "rb");
    std::FILE* pdb = ops.open(pdbPath, "wb");
    if (text == nullptr || pdb == nullptr) {
        if (text != nullptr) ops.close(text);
        if (pdb != nullptr) ops.close(pdb);
        return kWritePalmDocFailed;
    }
    bool written;
    if (compressor != nullptr) {
        written = WriteDatabase(ops, text, pdb, title, indexText, *compressor);
    } else {
        SerialBatchCompressor serial;
        written = WriteDatabase(ops, text, pdb, title, indexText, serial);
    }
    // Only the destination's close can lose data; the text file was only read.
    ops.close(text);
    const bool closed = ops.close(pdb) == 0;
    return written && closed ? kWritePalmDocSucceeded : kWritePalmDocFailed;
}

int WritePalmDoc(const char* textPath, const char* pdbPath, const char* title, const char* indexText) {
    return WritePalmDocUsing(StandardPdbFileOps(), textPath, pdbPath, title, indexText);
}

#include "palmdoc/pdb_writer.h"

#include <cerrno>
#include <cstring>
#include <vector>

#include "palmdoc/byte_order.h"
#include "palmdoc/compressor.h"
#include "palmdoc/control_filter.h"
#include "palmdoc/database_name.h"
#include "palmdoc/pdb_format.h"
#include "palmdoc/text_buffer.h"
#include "palmdoc/text_stream.h"
#include "platform/file_system.h"

namespace palmdoc {

namespace {

using platform::FileOperation;
using platform::Files;

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

void BuildDatabaseHeader(unsigned char (&header)[pdb::kHeaderSize], const char* title, uint32_t textRecords) {
    FormatDatabaseName(title, header + pdb::kNameOffset);
    PutField32(header + pdb::kCreationDateOffset, pdb::kFixedDate);
    PutField32(header + pdb::kModificationDateOffset, pdb::kFixedDate);
    std::memcpy(header + pdb::kTypeOffset, pdb::kDocType, pdb::kFourCharCodeSize);
    std::memcpy(header + pdb::kCreatorOffset, pdb::kDocCreator, pdb::kFourCharCodeSize);
    PutField16(header + pdb::kNumberOfRecordsOffset, static_cast<uint16_t>(textRecords + 1));
}

// The record list and the two zero bytes after it. The text records' offsets
// are provisional (as if every record kept 4096 bytes) until their records
// are written.
std::vector<unsigned char> BuildRecordList(uint32_t textRecords) {
    std::vector<unsigned char> list(pdb::RecordListSize(textRecords + 1) + pdb::kListGapSize);
    const uint32_t docHeaderOffset = FirstRecordOffset(textRecords);
    for (uint32_t k = 0; k <= textRecords; ++k) {
        const uint32_t offset =
            k == 0 ? docHeaderOffset : docHeaderOffset + pdb::kDocHeaderSize + pdb::kTextRecordSize * (k - 1);
        PutField32(list.data() + pdb::RecordListSize(k), offset);
        PutField32(list.data() + pdb::RecordListSize(k) + pdb::kRecordEntryTagOffset, pdb::kRecordEntryTag + k);
    }
    return list;
}

void BuildDocHeader(unsigned char (&header)[pdb::kDocHeaderSize], uint32_t textLength, uint32_t textRecords) {
    PutField16(header + pdb::kCompressionOffset, pdb::kCompressionPalmDoc);
    PutField32(header + pdb::kTextLengthOffset, textLength);
    PutField16(header + pdb::kRecordCountOffset, static_cast<uint16_t>(textRecords));
    PutField16(header + pdb::kRecordSizeOffset, static_cast<uint16_t>(pdb::kTextRecordSize));
}

// One conversion. Every step that fails says so once, the first failure
// being the one the caller hears of; the false it returns ends the step
// before it.
class Conversion {
public:
    Conversion(const char* textPath, const char* pdbPath, WriteFailure& failure)
        : textPath_(textPath), pdbPath_(pdbPath), failure_(failure) {}

    bool Run(const char* title, const char* indexText, WriteProgress progress);

private:
    bool Write(const char* title, const char* indexText, WriteProgress progress);
    bool WriteRecords(TextStream& stream, uint32_t textRecords, std::vector<unsigned char>& list,
                      uint64_t textLength, WriteProgress progress);
    bool WriteBytes(const void* bytes, std::size_t length);

    // Each takes errno as the failed call left it, so it is called right
    // after that call.
    bool TextFailed(FileOperation operation) { return FileFailed(operation, textPath_, errno); }
    bool DatabaseFailed(FileOperation operation) { return FileFailed(operation, pdbPath_, errno); }
    bool FileFailed(FileOperation operation, const char* path, int errorNumber) {
        return Failed(WriteCause::kFile, {operation, path, errorNumber});
    }
    bool Failed(WriteCause cause, platform::FileFailure file, uint32_t record = 0, uint64_t textLength = 0);

    const char* textPath_;
    const char* pdbPath_;
    std::FILE* text_ = nullptr;
    std::FILE* pdb_ = nullptr;
    WriteFailure& failure_;
};

bool Conversion::Failed(WriteCause cause, platform::FileFailure file, uint32_t record, uint64_t textLength) {
    if (failure_.cause == WriteCause::kNone) failure_ = {cause, file, record, textLength};
    return false;
}

bool Conversion::WriteBytes(const void* bytes, std::size_t length) {
    return Files.write(bytes, 1, length, pdb_) == length || DatabaseFailed(FileOperation::kWrite);
}

bool Conversion::Run(const char* title, const char* indexText, WriteProgress progress) {
    text_ = Files.open(textPath_, "rb");
    if (text_ == nullptr) TextFailed(FileOperation::kOpen);
    pdb_ = Files.open(pdbPath_, "wb");
    if (pdb_ == nullptr) DatabaseFailed(FileOperation::kOpen);
    bool written = text_ != nullptr && pdb_ != nullptr && Write(title, indexText, progress);
    // Only the destination's close can lose data; the text file was only read.
    if (text_ != nullptr) Files.close(text_);
    if (pdb_ != nullptr && Files.close(pdb_) != 0) written = DatabaseFailed(FileOperation::kClose);
    return written;
}

bool Conversion::Write(const char* title, const char* indexText, WriteProgress progress) {
    const std::size_t indexLength = indexText != nullptr ? std::strlen(indexText) : 0;
    if (Files.seek(text_, 0, SEEK_END) != 0) return TextFailed(FileOperation::kSeek);
    const long fileLength = Files.tell(text_);
    if (fileLength < 0) return TextFailed(FileOperation::kTell);
    if (Files.seek(text_, 0, SEEK_SET) != 0) return TextFailed(FileOperation::kSeek);

    // Beyond 65534 records the 16-bit counts would wrap and readers would see
    // a different document, so such a stream is refused before anything of it
    // is written.
    const uint64_t textLength = static_cast<uint64_t>(fileLength) + indexLength;
    if (textLength > pdb::kMaxTextLength) return Failed(WriteCause::kTooLong, {}, 0, textLength);
    const uint32_t textRecords = pdb::TextRecordCount(textLength);

    unsigned char header[pdb::kHeaderSize] = {};
    BuildDatabaseHeader(header, title, textRecords);
    std::vector<unsigned char> list = BuildRecordList(textRecords);
    unsigned char docHeader[pdb::kDocHeaderSize] = {};
    BuildDocHeader(docHeader, static_cast<uint32_t>(textLength), textRecords);
    if (!WriteBytes(header, sizeof header) || !WriteBytes(list.data(), list.size()) ||
        !WriteBytes(docHeader, sizeof docHeader)) {
        return false;
    }
    TextStream stream(text_, indexText, static_cast<uint32_t>(indexLength), static_cast<uint32_t>(fileLength));
    if (!WriteRecords(stream, textRecords, list, textLength, progress)) return false;
    // Buffered bytes that never reach the disk make a short database.
    return Files.flush(pdb_) == 0 || DatabaseFailed(FileOperation::kFlush);
}

bool Conversion::WriteRecords(TextStream& stream, uint32_t textRecords, std::vector<unsigned char>& list,
                              uint64_t textLength, WriteProgress progress) {
    uint32_t offset = FirstRecordOffset(textRecords) + pdb::kDocHeaderSize;
    uint64_t textDone = 0;
    RecordCompressor compressor;
    tBuf record;
    for (uint32_t k = 1; k <= textRecords; ++k) {
        if (!stream.FillRecord(record)) {
            if (stream.ReadError() != 0) return FileFailed(FileOperation::kRead, textPath_, stream.ReadError());
            return Failed(WriteCause::kTextChanged, {FileOperation::kRead, textPath_, 0}, k);
        }
        textDone += record.length;
        // An empty record's entry would share the next record's offset, and
        // readers would lose its place.
        if (FilterControlChars(record) == 0) return Failed(WriteCause::kEmptyRecord, {}, k);
        int compressError = 0;
        compressor.Compress(record, compressError);
        if (compressError != 0) return Failed(WriteCause::kCompression, {}, k);
        if (!WriteBytes(record.data, record.length)) return false;
        PutField32(list.data() + pdb::RecordListSize(k), offset);
        offset += record.length;
        if (progress != nullptr) progress(textDone, textLength);
    }
    if (textRecords == 0) return true;
    // The entries are pointed at their records once, at the end: a seek and
    // a write for every record would flush the stream's buffer each time.
    const std::size_t firstText = pdb::RecordListSize(1);
    return (Files.seek(pdb_, static_cast<long>(pdb::kHeaderSize + firstText), SEEK_SET) == 0 ||
            DatabaseFailed(FileOperation::kSeek)) &&
           WriteBytes(list.data() + firstText, pdb::RecordListSize(textRecords));
}

}  // namespace

int WritePalmDoc(const char* textPath, const char* pdbPath, const char* title, const char* indexText,
                 WriteFailure* failure, WriteProgress progress) {
    WriteFailure unasked;
    WriteFailure& report = failure != nullptr ? *failure : unasked;
    report = {};
    return Conversion(textPath, pdbPath, report).Run(title, indexText, progress) ? kWritePalmDocSucceeded
                                                                                 : kWritePalmDocFailed;
}

}  // namespace palmdoc

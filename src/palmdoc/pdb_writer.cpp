#include "palmdoc/pdb_writer.h"

#include <algorithm>
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

uint32_t FirstRecordOffset(uint32_t records) {
    return pdb::kHeaderSize + pdb::RecordListSize(records) + pdb::kListGapSize;
}

void BuildDatabaseHeader(unsigned char (&header)[pdb::kHeaderSize], const char* title, uint32_t records) {
    FormatDatabaseName(title, header + pdb::kNameOffset);
    PutField32(header + pdb::kCreationDateOffset, pdb::kFixedDate);
    PutField32(header + pdb::kModificationDateOffset, pdb::kFixedDate);
    std::memcpy(header + pdb::kTypeOffset, pdb::kDocType, pdb::kFourCharCodeSize);
    std::memcpy(header + pdb::kCreatorOffset, pdb::kDocCreator, pdb::kFourCharCodeSize);
    PutField16(header + pdb::kNumberOfRecordsOffset, static_cast<uint16_t>(records));
}

// The record list and the two zero bytes after it. The offsets after record
// 0's are provisional (as if every record kept 4096 bytes) until their
// records are written.
std::vector<unsigned char> BuildRecordList(uint32_t records) {
    std::vector<unsigned char> list(pdb::RecordListSize(records) + pdb::kListGapSize);
    const uint32_t docHeaderOffset = FirstRecordOffset(records);
    for (uint32_t k = 0; k < records; ++k) {
        const uint32_t offset =
            k == 0 ? docHeaderOffset : docHeaderOffset + pdb::kDocHeaderSize + pdb::kTextRecordSize * (k - 1);
        PutField32(list.data() + pdb::RecordListSize(k), offset);
        PutField32(list.data() + pdb::RecordListSize(k) + pdb::kRecordEntryTagOffset, pdb::kRecordEntryTag + k);
    }
    return list;
}

// The bookmarks that get a record: those inside the text file, as many as
// the record numbers after the text records allow.
uint32_t KeptBookmarks(const Bookmarks& bookmarks, uint64_t fileLength, uint32_t textRecords) {
    const auto inside = std::partition_point(bookmarks.begin(), bookmarks.end(),
                                             [&](const Bookmark& b) { return b.filePosition < fileLength; });
    return static_cast<uint32_t>(
        std::min<std::ptrdiff_t>(inside - bookmarks.begin(), pdb::kMaxRecords - 1 - textRecords));
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
    Conversion(const char* textPath, const char* pdbPath, const Bookmarks& bookmarks, WriteFailure& failure)
        : textPath_(textPath), pdbPath_(pdbPath), bookmarks_(bookmarks), failure_(failure) {}

    bool Run(const char* title, const char* indexText, WriteProgress progress);

private:
    bool Write(const char* title, const char* indexText, WriteProgress progress);
    bool WriteRecords(TextStream& stream, uint32_t textRecords, std::vector<unsigned char>& list, uint32_t& offset,
                      uint64_t textLength, WriteProgress progress);
    void PlaceBookmarks(tBuf& record, uint64_t recordStart, uint32_t shownBefore);
    bool WriteBookmarks(uint32_t textRecords, std::vector<unsigned char>& list, uint32_t offset);
    bool PointEntries(const std::vector<unsigned char>& list, uint32_t records);
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
    const Bookmarks& bookmarks_;
    // The index text comes before the text file the bookmarks are placed in.
    uint64_t indexLength_ = 0;
    // Of the first keptBookmarks_, the offsets in the text the handheld
    // shows, found as their records pass the filter.
    uint32_t keptBookmarks_ = 0;
    std::vector<uint32_t> shownOffsets_;
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
    indexLength_ = indexLength;
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
    keptBookmarks_ = KeptBookmarks(bookmarks_, static_cast<uint64_t>(fileLength), textRecords);
    const uint32_t records = 1 + textRecords + keptBookmarks_;

    unsigned char header[pdb::kHeaderSize] = {};
    BuildDatabaseHeader(header, title, records);
    std::vector<unsigned char> list = BuildRecordList(records);
    unsigned char docHeader[pdb::kDocHeaderSize] = {};
    BuildDocHeader(docHeader, static_cast<uint32_t>(textLength), textRecords);
    if (!WriteBytes(header, sizeof header) || !WriteBytes(list.data(), list.size()) ||
        !WriteBytes(docHeader, sizeof docHeader)) {
        return false;
    }
    TextStream stream(text_, indexText, static_cast<uint32_t>(indexLength), static_cast<uint32_t>(fileLength));
    uint32_t offset = FirstRecordOffset(records) + pdb::kDocHeaderSize;
    if (!WriteRecords(stream, textRecords, list, offset, textLength, progress) ||
        !WriteBookmarks(textRecords, list, offset) || !PointEntries(list, records)) {
        return false;
    }
    // Buffered bytes that never reach the disk make a short database.
    return Files.flush(pdb_) == 0 || DatabaseFailed(FileOperation::kFlush);
}

bool Conversion::WriteRecords(TextStream& stream, uint32_t textRecords, std::vector<unsigned char>& list,
                              uint32_t& offset, uint64_t textLength, WriteProgress progress) {
    uint64_t textDone = 0;
    uint32_t shownBefore = 0;
    RecordCompressor compressor;
    tBuf record;
    for (uint32_t k = 1; k <= textRecords; ++k) {
        if (!stream.FillRecord(record)) {
            if (stream.ReadError() != 0) return FileFailed(FileOperation::kRead, textPath_, stream.ReadError());
            return Failed(WriteCause::kTextChanged, {FileOperation::kRead, textPath_, 0}, k);
        }
        PlaceBookmarks(record, textDone, shownBefore);
        textDone += record.length;
        const uint32_t shown = FilterControlChars(record);
        // An empty record's entry would share the next record's offset, and
        // readers would lose its place.
        if (shown == 0) return Failed(WriteCause::kEmptyRecord, {}, k);
        shownBefore += shown;
        int compressError = 0;
        compressor.Compress(record, compressError);
        if (compressError != 0) return Failed(WriteCause::kCompression, {}, k);
        if (!WriteBytes(record.data, record.length)) return false;
        PutField32(list.data() + pdb::RecordListSize(k), offset);
        offset += record.length;
        if (progress != nullptr) progress(textDone, textLength);
    }
    return true;
}

// A reader lands where the bookmark says in the text as it decompresses, so
// the bytes that the filter drops before the place are not counted.
void Conversion::PlaceBookmarks(tBuf& record, uint64_t recordStart, uint32_t shownBefore) {
    const uint64_t recordEnd = recordStart + record.length;
    while (shownOffsets_.size() < keptBookmarks_) {
        const uint64_t place = indexLength_ + bookmarks_[shownOffsets_.size()].filePosition;
        if (place >= recordEnd) break;
        shownOffsets_.push_back(shownBefore + FilteredPosition(record, static_cast<uint32_t>(place - recordStart)));
    }
}

bool Conversion::WriteBookmarks(uint32_t textRecords, std::vector<unsigned char>& list, uint32_t offset) {
    for (uint32_t b = 0; b < keptBookmarks_; ++b) {
        // The name's last byte stays 0 whatever the bookmark holds.
        unsigned char bookmark[pdb::kBookmarkRecordSize] = {};
        std::memcpy(bookmark, bookmarks_[b].name, pdb::kMaxBookmarkNameLength);
        PutField32(bookmark + pdb::kBookmarkOffsetOffset, shownOffsets_[b]);
        if (!WriteBytes(bookmark, sizeof bookmark)) return false;
        PutField32(list.data() + pdb::RecordListSize(textRecords + 1 + b), offset);
        offset += pdb::kBookmarkRecordSize;
    }
    return true;
}

// The entries are pointed at their records once, at the end: a seek and a
// write for every record would flush the stream's buffer each time.
bool Conversion::PointEntries(const std::vector<unsigned char>& list, uint32_t records) {
    if (records == 1) return true;
    const std::size_t firstAfterDocHeader = pdb::RecordListSize(1);
    return (Files.seek(pdb_, static_cast<long>(pdb::kHeaderSize + firstAfterDocHeader), SEEK_SET) == 0 ||
            DatabaseFailed(FileOperation::kSeek)) &&
           WriteBytes(list.data() + firstAfterDocHeader, pdb::RecordListSize(records - 1));
}

}  // namespace

int WritePalmDoc(const char* textPath, const char* pdbPath, const char* title, const char* indexText,
                 const Bookmarks& bookmarks, WriteFailure* failure, WriteProgress progress) {
    WriteFailure unasked;
    WriteFailure& report = failure != nullptr ? *failure : unasked;
    report = {};
    return Conversion(textPath, pdbPath, bookmarks, report).Run(title, indexText, progress) ? kWritePalmDocSucceeded
                                                                                 : kWritePalmDocFailed;
}

}  // namespace palmdoc

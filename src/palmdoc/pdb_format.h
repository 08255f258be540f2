// Layout of a Palm DOC database (.pdb of type "TEXt"): shared by the writer
// and the validating reader. Offsets are in bytes from the start of the
// structure named; every multi-byte field is big-endian.
#pragma once

#include <cstdint>

namespace palmdoc {

namespace pdb {

// Database header.
constexpr uint32_t kHeaderSize = 78;
constexpr uint32_t kNameOffset = 0;
constexpr uint32_t kNameSize = 32;
// The name keeps room for its terminator.
constexpr uint32_t kMaxNameLength = kNameSize - 1;
constexpr uint32_t kCreationDateOffset = 36;
constexpr uint32_t kModificationDateOffset = 40;
constexpr uint32_t kTypeOffset = 60;
constexpr uint32_t kCreatorOffset = 64;
constexpr uint32_t kFourCharCodeSize = 4;
constexpr uint32_t kNumberOfRecordsOffset = 76;
// Both dates are this fixed value; the clock is never read.
constexpr uint32_t kFixedDate = 0x06D144AE;
constexpr char kDocType[] = "TEXt";
constexpr char kDocCreator[] = "REAd";

// Record list, directly after the header, one entry per record: the record's
// offset in the file, then the tag.
constexpr uint32_t kRecordEntrySize = 8;
constexpr uint32_t kRecordEntryTagOffset = 4;
// The entry's second word: the attributes byte (dirty) and the 24-bit unique
// ID, which counts up from this base.
constexpr uint32_t kRecordEntryTag = 0x406F8000;
// Two zero bytes between the record list and record 0.
constexpr uint32_t kListGapSize = 2;

// Record 0, the PalmDOC header.
constexpr uint32_t kDocHeaderSize = 16;
constexpr uint32_t kCompressionOffset = 0;
constexpr uint32_t kTextLengthOffset = 4;
constexpr uint32_t kRecordCountOffset = 8;
constexpr uint32_t kRecordSizeOffset = 10;
constexpr uint16_t kCompressionNone = 1;
constexpr uint16_t kCompressionPalmDoc = 2;

// The number of records is 16-bit.
constexpr uint32_t kMaxRecords = 65535;

// Text records.
constexpr uint32_t kTextRecordSize = 4096;
// Record 0 takes one of the record numbers.
constexpr uint32_t kMaxTextRecords = kMaxRecords - 1;
constexpr uint64_t kMaxTextLength = uint64_t{kMaxTextRecords} * kTextRecordSize;

// The text records of a document of textLength bytes, at most kMaxTextLength.
constexpr uint32_t TextRecordCount(uint64_t textLength) {
    return static_cast<uint32_t>((textLength + kTextRecordSize - 1) / kTextRecordSize);
}

// Bookmark records, after the text records and nothing else there: readers
// count them as the records that follow the text.
constexpr uint32_t kBookmarkRecordSize = 20;
constexpr uint32_t kBookmarkNameSize = 16;
// Readers take the name as a C string: it keeps room for its terminator.
constexpr uint32_t kMaxBookmarkNameLength = kBookmarkNameSize - 1;
// Where the bookmark's place starts in the text as the records decompress.
constexpr uint32_t kBookmarkOffsetOffset = 16;

constexpr uint32_t RecordListSize(uint32_t recordCount) { return kRecordEntrySize * recordCount; }

}  // namespace pdb

}  // namespace palmdoc

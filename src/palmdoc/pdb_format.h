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

// Text records.
constexpr uint32_t kTextRecordSize = 4096;
// The record count and the number of records are 16-bit, and record 0 takes
// one of the 65535 numbers.
constexpr uint32_t kMaxTextRecords = 65534;
constexpr uint64_t kMaxTextLength = uint64_t{kMaxTextRecords} * kTextRecordSize;

// The text records of a document of textLength bytes, at most kMaxTextLength.
constexpr uint32_t TextRecordCount(uint64_t textLength) {
    return static_cast<uint32_t>((textLength + kTextRecordSize - 1) / kTextRecordSize);
}

constexpr uint32_t RecordListSize(uint32_t recordCount) { return kRecordEntrySize * recordCount; }

}  // namespace pdb

}  // namespace palmdoc

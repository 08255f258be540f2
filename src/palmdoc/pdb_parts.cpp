#include "palmdoc/pdb_parts.h"

#include <algorithm>
#include <cstring>

#include "palmdoc/byte_order.h"
#include "palmdoc/decompressor.h"
#include "palmdoc/pdb_format.h"

namespace {

// Past a compressed record's longest decodable length, the bytes its last
// code may still reach.
constexpr std::size_t kCodeReach = 10;

bool Fail(std::string& why, const std::string& message) {
    why = message;
    return false;
}

std::string RecordName(std::size_t number) { return "record " + std::to_string(number); }

// An uncompressed text record holds its text as it is, so one longer than
// the record size is refused by its length, before any of it is read.
bool UncompressedTooLong(const PalmDocDatabase& database, std::size_t k) {
    return database.compression == pdb::kCompressionNone && database.records[k].storedLength > database.recordSize;
}

}  // namespace

bool ParseDatabaseHeader(const unsigned char* header, std::uint64_t available, PalmDocDatabase& database,
                         std::string& why) {
    if (available < pdb::kHeaderSize) return Fail(why, "file truncated inside the database header");
    const unsigned char* nameField = header + pdb::kNameOffset;
    const void* terminator = std::memchr(nameField, '\0', pdb::kNameSize);
    const std::size_t nameLength =
        terminator != nullptr ? static_cast<const unsigned char*>(terminator) - nameField : pdb::kNameSize;
    database.name.assign(reinterpret_cast<const char*>(nameField), nameLength);
    database.type.assign(reinterpret_cast<const char*>(header + pdb::kTypeOffset), pdb::kFourCharCodeSize);
    database.creator.assign(reinterpret_cast<const char*>(header + pdb::kCreatorOffset), pdb::kFourCharCodeSize);
    database.numberOfRecords = ReadBigEndian16(header + pdb::kNumberOfRecordsOffset);
    if (database.type != pdb::kDocType) {
        return Fail(why, "its type is '" + database.type + "', not '" + pdb::kDocType + "'");
    }
    if (database.numberOfRecords == 0) return Fail(why, "database has no records");
    return true;
}

bool ParseRecordList(const unsigned char* list, std::uint64_t available, std::uint64_t fileSize,
                     const PalmDocDatabase& database, std::vector<PalmDocRecord>& all, std::string& why) {
    const uint16_t count = database.numberOfRecords;
    if (available < pdb::RecordListSize(count)) return Fail(why, "file truncated inside the record list");
    const std::uint64_t listEnd = pdb::kHeaderSize + std::uint64_t{pdb::RecordListSize(count)};
    all.resize(count);
    for (uint16_t k = 0; k < count; ++k) {
        const uint32_t offset = ReadBigEndian32(list + std::size_t{pdb::kRecordEntrySize} * k);
        if (offset < listEnd) return Fail(why, RecordName(k) + " starts inside the header or record list");
        if (offset > fileSize) return Fail(why, RecordName(k) + " starts past the end of the file");
        if (k > 0 && offset < all[k - 1].offset) return Fail(why, RecordName(k) + ": record offsets out of order");
        all[k].offset = offset;
    }
    for (uint16_t k = 0; k < count; ++k) {
        const std::uint64_t next = k + 1 < count ? all[k + 1].offset : fileSize;
        all[k].storedLength = static_cast<uint32_t>(next - all[k].offset);
    }
    return true;
}

bool ParseDocumentHeader(const unsigned char* docHeader, const std::vector<PalmDocRecord>& all,
                         PalmDocDatabase& database, std::string& why) {
    if (all[0].storedLength < pdb::kDocHeaderSize) return Fail(why, "record 0 too short for the Palm DOC header");
    database.compression = ReadBigEndian16(docHeader + pdb::kCompressionOffset);
    database.textLength = ReadBigEndian32(docHeader + pdb::kTextLengthOffset);
    database.recordCount = ReadBigEndian16(docHeader + pdb::kRecordCountOffset);
    database.recordSize = ReadBigEndian16(docHeader + pdb::kRecordSizeOffset);
    if (database.compression != pdb::kCompressionNone && database.compression != pdb::kCompressionPalmDoc) {
        return Fail(why, "unknown compression " + std::to_string(database.compression));
    }
    if (database.recordCount > all.size() - 1) {
        return Fail(why, "record count " + std::to_string(database.recordCount) + " but only " +
                             std::to_string(all.size() - 1) + " records follow record 0");
    }
    if (database.recordSize == 0) return Fail(why, "record size 0");
    database.records.assign(all.begin() + 1, all.begin() + 1 + database.recordCount);
    return true;
}

std::size_t DecodablePrefix(const PalmDocDatabase& database, std::size_t k) {
    const std::size_t stored = database.records[k].storedLength;
    if (UncompressedTooLong(database, k)) return 0;
    if (database.compression == pdb::kCompressionNone) return stored;
    return std::min<std::size_t>(stored, 2 * std::size_t{database.recordSize} + kCodeReach);
}

bool DecodeTextRecord(const PalmDocDatabase& database, std::size_t k, const unsigned char* stored,
                      std::size_t storedLength, std::vector<unsigned char>& text, std::string& why) {
    // The text records are numbered after record 0.
    const std::string which = RecordName(k + 1);
    if (UncompressedTooLong(database, k)) return Fail(why, which + " longer than the record size");
    if (database.compression == pdb::kCompressionNone) {
        text.insert(text.end(), stored, stored + storedLength);
        return true;
    }
    std::string decoderWhy;
    if (!DecompressRecord(stored, storedLength, database.recordSize, text, decoderWhy)) {
        return Fail(why, which + ": " + decoderWhy);
    }
    return true;
}

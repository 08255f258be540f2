#include "palmdoc/pdb_reader.h"

#include <cstring>

#include "palmdoc/byte_order.h"
#include "palmdoc/decompressor.h"
#include "palmdoc/pdb_format.h"

namespace {

std::string FourCharCode(const unsigned char* at) { return std::string(reinterpret_cast<const char*>(at), 4); }

bool Fail(std::string& error, const std::string& message) {
    error = message;
    return false;
}

// Offsets and lengths of all records, each checked to lie inside the file and
// after the record list, in ascending order.
bool ReadRecordList(const unsigned char* bytes, std::size_t size, uint16_t count,
                    std::vector<PalmDocRecord>& records, std::string& error) {
    const std::size_t listEnd = pdb::kHeaderSize + std::size_t{pdb::kRecordEntrySize} * count;
    if (listEnd > size) return Fail(error, "file truncated inside the record list");
    records.resize(count);
    for (uint16_t k = 0; k < count; ++k) {
        const uint32_t offset = ReadBigEndian32(bytes + pdb::kHeaderSize + std::size_t{pdb::kRecordEntrySize} * k);
        const std::string which = "record " + std::to_string(k);
        if (offset < listEnd) return Fail(error, which + " starts inside the header or record list");
        if (offset > size) return Fail(error, which + " starts past the end of the file");
        if (k > 0 && offset < records[k - 1].offset) return Fail(error, which + ": record offsets out of order");
        records[k].offset = offset;
    }
    for (uint16_t k = 0; k < count; ++k) {
        const std::size_t next = k + 1 < count ? records[k + 1].offset : size;
        records[k].storedLength = static_cast<uint32_t>(next - records[k].offset);
    }
    return true;
}

}  // namespace

bool ReadPalmDocDatabase(const unsigned char* bytes, std::size_t size, PalmDocDatabase& database,
                         std::string& error) {
    if (size < pdb::kHeaderSize) return Fail(error, "file truncated inside the database header");
    const unsigned char* nameField = bytes + pdb::kNameOffset;
    const void* terminator = std::memchr(nameField, '\0', pdb::kNameSize);
    const std::size_t nameLength =
        terminator != nullptr ? static_cast<const unsigned char*>(terminator) - nameField : pdb::kNameSize;
    database.name.assign(reinterpret_cast<const char*>(nameField), nameLength);
    database.type = FourCharCode(bytes + pdb::kTypeOffset);
    database.creator = FourCharCode(bytes + pdb::kCreatorOffset);
    database.numberOfRecords = ReadBigEndian16(bytes + pdb::kNumberOfRecordsOffset);
    if (database.type != pdb::kDocType) return Fail(error, "not a Palm DOC database (type '" + database.type + "')");
    if (database.numberOfRecords == 0) return Fail(error, "database has no records");

    std::vector<PalmDocRecord> all;
    if (!ReadRecordList(bytes, size, database.numberOfRecords, all, error)) return false;
    if (all[0].storedLength < pdb::kDocHeaderSize) return Fail(error, "record 0 too short for the Palm DOC header");
    const unsigned char* docHeader = bytes + all[0].offset;
    database.compression = ReadBigEndian16(docHeader + pdb::kCompressionOffset);
    database.textLength = ReadBigEndian32(docHeader + pdb::kTextLengthOffset);
    database.recordCount = ReadBigEndian16(docHeader + pdb::kRecordCountOffset);
    database.recordSize = ReadBigEndian16(docHeader + pdb::kRecordSizeOffset);
    if (database.compression != pdb::kCompressionNone && database.compression != pdb::kCompressionPalmDoc) {
        return Fail(error, "unknown compression " + std::to_string(database.compression));
    }
    if (database.recordCount > database.numberOfRecords - 1) {
        return Fail(error, "record count " + std::to_string(database.recordCount) + " but only " +
                               std::to_string(database.numberOfRecords - 1) + " records follow record 0");
    }
    if (database.recordSize == 0) return Fail(error, "record size 0");

    database.records.assign(all.begin() + 1, all.begin() + 1 + database.recordCount);
    database.text.clear();
    for (std::size_t k = 0; k < database.records.size(); ++k) {
        PalmDocRecord& record = database.records[k];
        const unsigned char* stored = bytes + record.offset;
        const std::size_t before = database.text.size();
        if (database.compression == pdb::kCompressionNone) {
            if (record.storedLength > database.recordSize) {
                return Fail(error, "record " + std::to_string(k + 1) + " longer than the record size");
            }
            database.text.insert(database.text.end(), stored, stored + record.storedLength);
        } else {
            std::string why;
            if (!DecompressRecord(stored, record.storedLength, database.recordSize, database.text, why)) {
                return Fail(error, "record " + std::to_string(k + 1) + ": " + why);
            }
        }
        record.textLength = static_cast<uint32_t>(database.text.size() - before);
    }
    return true;
}

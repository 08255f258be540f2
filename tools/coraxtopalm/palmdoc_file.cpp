#include "palmdoc_file.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "palmdoc/byte_order.h"
#include "palmdoc/decompressor.h"
#include "palmdoc/pdb_format.h"
#include "tool_messages.h"

namespace {

// A compressed record gives at least one byte of text for every two it
// stores, so one that decodes to no more than the record size is at most
// this long; a longer stored record fails the decoder within this prefix
// (a code reaches at most 8 bytes ahead), and only the prefix is read.
std::size_t DecodablePrefix(std::size_t recordSize) { return 2 * recordSize + 10; }

}  // namespace

PalmDocFile::~PalmDocFile() {
    if (file_ != nullptr) std::fclose(file_);
}

bool PalmDocFile::Damaged(const std::string& why, std::string& error) const {
    error = shown_ + " is not a Palm DOC database: " + why;
    return false;
}

bool PalmDocFile::ReadAt(std::uint64_t offset, std::size_t count, std::vector<unsigned char>& bytes,
                         std::string& error) {
    bytes.resize(count);
    errno = 0;
    if (std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0 ||
        std::fread(bytes.data(), 1, count, file_) != count) {
        error = CannotRead(shown_, errno != 0 ? errno : EIO);
        return false;
    }
    return true;
}

bool PalmDocFile::ReadRecordList(std::vector<PalmDocRecord>& all, std::string& error) {
    const uint16_t count = database_.numberOfRecords;
    const std::uint64_t listEnd = pdb::kHeaderSize + std::uint64_t{pdb::kRecordEntrySize} * count;
    if (listEnd > size_) return Damaged("file truncated inside the record list", error);
    std::vector<unsigned char> list;
    if (!ReadAt(pdb::kHeaderSize, static_cast<std::size_t>(listEnd - pdb::kHeaderSize), list, error)) return false;
    all.resize(count);
    for (uint16_t k = 0; k < count; ++k) {
        const uint32_t offset = ReadBigEndian32(list.data() + std::size_t{pdb::kRecordEntrySize} * k);
        const std::string which = "record " + std::to_string(k);
        if (offset < listEnd) return Damaged(which + " starts inside the header or record list", error);
        if (offset > size_) return Damaged(which + " starts past the end of the file", error);
        if (k > 0 && offset < all[k - 1].offset) return Damaged(which + ": record offsets out of order", error);
        all[k].offset = offset;
    }
    for (uint16_t k = 0; k < count; ++k) {
        const std::uint64_t next = k + 1 < count ? all[k + 1].offset : size_;
        all[k].storedLength = static_cast<uint32_t>(next - all[k].offset);
    }
    return true;
}

bool PalmDocFile::Open(const std::string& path, const std::string& shownPath, std::string& error) {
    shown_ = shownPath;
    file_ = std::fopen(path.c_str(), "rb");
    struct stat status;
    if (file_ == nullptr || fstat(fileno(file_), &status) != 0) {
        error = CannotRead(shown_, errno);
        return false;
    }
    if (S_ISDIR(status.st_mode)) {
        error = CannotRead(shown_, EISDIR);
        return false;
    }
    size_ = static_cast<std::uint64_t>(status.st_size);
    if (size_ < pdb::kHeaderSize) return Damaged("file truncated inside the database header", error);
    std::vector<unsigned char> header;
    if (!ReadAt(0, pdb::kHeaderSize, header, error)) return false;
    const unsigned char* nameField = header.data() + pdb::kNameOffset;
    const void* terminator = std::memchr(nameField, '\0', pdb::kNameSize);
    const std::size_t nameLength =
        terminator != nullptr ? static_cast<const unsigned char*>(terminator) - nameField : pdb::kNameSize;
    database_.name.assign(reinterpret_cast<const char*>(nameField), nameLength);
    database_.type.assign(reinterpret_cast<const char*>(header.data() + pdb::kTypeOffset), pdb::kFourCharCodeSize);
    database_.creator.assign(reinterpret_cast<const char*>(header.data() + pdb::kCreatorOffset),
                             pdb::kFourCharCodeSize);
    database_.numberOfRecords = ReadBigEndian16(header.data() + pdb::kNumberOfRecordsOffset);
    if (database_.type != pdb::kDocType) {
        return Damaged("its type is '" + database_.type + "', not '" + pdb::kDocType + "'", error);
    }
    if (database_.numberOfRecords == 0) return Damaged("database has no records", error);

    std::vector<PalmDocRecord> all;
    if (!ReadRecordList(all, error)) return false;
    if (all[0].storedLength < pdb::kDocHeaderSize) return Damaged("record 0 too short for the Palm DOC header", error);
    std::vector<unsigned char> docHeader;
    if (!ReadAt(all[0].offset, pdb::kDocHeaderSize, docHeader, error)) return false;
    database_.compression = ReadBigEndian16(docHeader.data() + pdb::kCompressionOffset);
    database_.textLength = ReadBigEndian32(docHeader.data() + pdb::kTextLengthOffset);
    database_.recordCount = ReadBigEndian16(docHeader.data() + pdb::kRecordCountOffset);
    database_.recordSize = ReadBigEndian16(docHeader.data() + pdb::kRecordSizeOffset);
    if (database_.compression != pdb::kCompressionNone && database_.compression != pdb::kCompressionPalmDoc) {
        return Damaged("unknown compression " + std::to_string(database_.compression), error);
    }
    if (database_.recordCount > database_.numberOfRecords - 1) {
        return Damaged("record count " + std::to_string(database_.recordCount) + " but only " +
                           std::to_string(database_.numberOfRecords - 1) + " records follow record 0",
                       error);
    }
    if (database_.recordSize == 0) return Damaged("record size 0", error);
    database_.records.assign(all.begin() + 1, all.begin() + 1 + database_.recordCount);
    return true;
}

bool PalmDocFile::ReadRecord(std::size_t k, std::vector<unsigned char>& text, std::string& error) {
    PalmDocRecord& record = database_.records[k];
    const std::string which = "record " + std::to_string(k + 1);
    text.clear();
    if (database_.compression == pdb::kCompressionNone) {
        if (record.storedLength > database_.recordSize) return Damaged(which + " longer than the record size", error);
        if (!ReadAt(record.offset, record.storedLength, text, error)) return false;
    } else {
        const std::size_t prefix = DecodablePrefix(database_.recordSize);
        const std::size_t readLength = record.storedLength < prefix ? record.storedLength : prefix;
        if (!ReadAt(record.offset, readLength, stored_, error)) return false;
        std::string why;
        if (!DecompressRecord(stored_.data(), stored_.size(), database_.recordSize, text, why)) {
            return Damaged(which + ": " + why, error);
        }
    }
    record.textLength = static_cast<uint32_t>(text.size());
    return true;
}

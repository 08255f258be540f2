#include "palmdoc/pdb_reader.h"

#include <algorithm>
#include <cstring>

#include "palmdoc/byte_order.h"
#include "palmdoc/decompressor.h"
#include "palmdoc/pdb_format.h"

namespace palmdoc {

namespace {

// Past a compressed record's longest decodable length, the bytes its last
// code may still reach.
constexpr std::size_t kCodeReach = 10;

using Part = std::vector<unsigned char>;

bool Fail(std::string& why, const std::string& message) {
    why = message;
    return false;
}

std::string RecordName(std::size_t number) { return "record " + std::to_string(number); }

// A field of size bytes that holds a C string, or fills it without one.
std::string TextUpToNul(const unsigned char* field, std::size_t size) {
    const void* terminator = std::memchr(field, '\0', size);
    const std::size_t length =
        terminator != nullptr ? static_cast<std::size_t>(static_cast<const unsigned char*>(terminator) - field) : size;
    return std::string(reinterpret_cast<const char*>(field), length);
}

// Each part below is given as many of its bytes as the file has, which may
// be fewer than it needs, and is checked before any offset or count in it is
// used.

// The name, type, creator and record count, which must name a Palm DOC with
// records.
bool ParseDatabaseHeader(const Part& header, PalmDocDatabase& database, std::string& why) {
    if (header.size() < pdb::kHeaderSize) return Fail(why, "file truncated inside the database header");
    database.name = TextUpToNul(header.data() + pdb::kNameOffset, pdb::kNameSize);
    database.type.assign(reinterpret_cast<const char*>(&header[pdb::kTypeOffset]), pdb::kFourCharCodeSize);
    database.creator.assign(reinterpret_cast<const char*>(&header[pdb::kCreatorOffset]), pdb::kFourCharCodeSize);
    database.numberOfRecords = ReadBigEndian16(&header[pdb::kNumberOfRecordsOffset]);
    if (database.type != pdb::kDocType) {
        return Fail(why, "its type is '" + database.type + "', not '" + pdb::kDocType + "'");
    }
    if (database.numberOfRecords == 0) return Fail(why, "database has no records");
    return true;
}

// The offsets and stored lengths of all records, each inside the file's
// fileSize bytes, after the list and in ascending order.
bool ParseRecordList(const Part& list, std::uint64_t fileSize, const PalmDocDatabase& database,
                     std::vector<PalmDocRecord>& all, std::string& why) {
    const uint16_t count = database.numberOfRecords;
    if (list.size() < pdb::RecordListSize(count)) return Fail(why, "file truncated inside the record list");
    const std::uint64_t listEnd = pdb::kHeaderSize + std::uint64_t{pdb::RecordListSize(count)};
    all.resize(count);
    for (uint16_t k = 0; k < count; ++k) {
        const uint32_t offset = ReadBigEndian32(&list[std::size_t{pdb::kRecordEntrySize} * k]);
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

// The document header's fields from the start of record 0, all[0], and the
// text records' places from all, which must hold them.
bool ParseDocumentHeader(const Part& docHeader, const std::vector<PalmDocRecord>& all, PalmDocDatabase& database,
                         std::string& why) {
    if (all[0].storedLength < pdb::kDocHeaderSize) return Fail(why, "record 0 too short for the Palm DOC header");
    database.compression = ReadBigEndian16(&docHeader[pdb::kCompressionOffset]);
    database.textLength = ReadBigEndian32(&docHeader[pdb::kTextLengthOffset]);
    database.recordCount = ReadBigEndian16(&docHeader[pdb::kRecordCountOffset]);
    database.recordSize = ReadBigEndian16(&docHeader[pdb::kRecordSizeOffset]);
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

// Records all[first] on, after the text records, are bookmarks: each of
// their lengths is checked before any of them is read.
bool CheckBookmarkLengths(const std::vector<PalmDocRecord>& all, std::size_t first, std::string& why) {
    for (std::size_t k = first; k < all.size(); ++k) {
        if (all[k].storedLength != pdb::kBookmarkRecordSize) {
            return Fail(why, RecordName(k) + ": a bookmark of " + std::to_string(all[k].storedLength) +
                                 " bytes, not " + std::to_string(pdb::kBookmarkRecordSize));
        }
    }
    return true;
}

// The bookmarks from their records, stored one after another from record
// first on, each at a place within the text.
bool ParseBookmarks(const Part& stored, std::size_t first, PalmDocDatabase& database, std::string& why) {
    database.bookmarks.clear();
    for (std::size_t at = 0; at + pdb::kBookmarkRecordSize <= stored.size(); at += pdb::kBookmarkRecordSize) {
        PalmDocBookmark bookmark;
        bookmark.name = TextUpToNul(&stored[at], pdb::kBookmarkNameSize);
        bookmark.offset = ReadBigEndian32(&stored[at + pdb::kBookmarkOffsetOffset]);
        if (bookmark.offset > database.textLength) {
            return Fail(why, RecordName(first + at / pdb::kBookmarkRecordSize) + ": a bookmark at offset " +
                                 std::to_string(bookmark.offset) + ", past the end of the text (" +
                                 std::to_string(database.textLength) + " bytes)");
        }
        database.bookmarks.push_back(bookmark);
    }
    return true;
}

// An uncompressed text record holds its text as it is, so one longer than
// the record size is refused by its length, before any of it is read.
bool UncompressedTooLong(const PalmDocDatabase& database, std::size_t k) {
    return database.compression == pdb::kCompressionNone && database.records[k].storedLength > database.recordSize;
}

// The longest part of text record k worth reading: a compressed record gives
// at least one byte of text for every two it stores, so one longer than this
// cannot decode to at most the record size, and its decoder fails within
// this prefix (a code reaches at most 8 bytes ahead).
std::size_t DecodablePrefix(const PalmDocDatabase& database, std::size_t k) {
    const std::size_t stored = database.records[k].storedLength;
    if (UncompressedTooLong(database, k)) return 0;
    if (database.compression == pdb::kCompressionNone) return stored;
    return std::min<std::size_t>(stored, 2 * std::size_t{database.recordSize} + kCodeReach);
}

// Appends the text of record k, whose stored bytes or their decodable prefix
// are given, to text.
bool DecodeTextRecord(const PalmDocDatabase& database, std::size_t k, const Part& stored, std::vector<unsigned char>& text,
                      std::string& why) {
    // The text records are numbered after record 0.
    const std::string which = RecordName(k + 1);
    if (UncompressedTooLong(database, k)) return Fail(why, which + " longer than the record size");
    if (database.compression == pdb::kCompressionNone) {
        text.insert(text.end(), stored.begin(), stored.end());
        return true;
    }
    std::string decoderWhy;
    if (!DecompressRecord(stored.data(), stored.size(), database.recordSize, text, decoderWhy)) {
        return Fail(why, which + ": " + decoderWhy);
    }
    return true;
}

}  // namespace

bool PalmDocReader::ReadAvailable(std::uint64_t offset, std::size_t count, std::vector<unsigned char>& bytes,
                                  std::string& error) {
    const std::uint64_t size = source_.Size();
    const std::uint64_t left = offset < size ? size - offset : 0;
    return source_.Read(offset, left < count ? static_cast<std::size_t>(left) : count, bytes, error);
}

PalmDocRead PalmDocReader::Open(std::string& error) {
    if (!ReadAvailable(0, pdb::kHeaderSize, stored_, error)) return PalmDocRead::kSourceFailed;
    if (!ParseDatabaseHeader(stored_, database_, error)) return PalmDocRead::kDamaged;
    if (!ReadAvailable(pdb::kHeaderSize, pdb::RecordListSize(database_.numberOfRecords), stored_, error)) {
        return PalmDocRead::kSourceFailed;
    }
    std::vector<PalmDocRecord> all;
    if (!ParseRecordList(stored_, source_.Size(), database_, all, error)) return PalmDocRead::kDamaged;
    if (!ReadAvailable(all[0].offset, pdb::kDocHeaderSize, stored_, error)) return PalmDocRead::kSourceFailed;
    if (!ParseDocumentHeader(stored_, all, database_, error)) return PalmDocRead::kDamaged;
    const std::size_t firstBookmark = std::size_t{database_.recordCount} + 1;
    if (firstBookmark == all.size()) return PalmDocRead::kDone;
    if (!CheckBookmarkLengths(all, firstBookmark, error)) return PalmDocRead::kDamaged;
    const std::size_t bookmarkBytes = std::size_t{pdb::kBookmarkRecordSize} * (all.size() - firstBookmark);
    if (!ReadAvailable(all[firstBookmark].offset, bookmarkBytes, stored_, error)) return PalmDocRead::kSourceFailed;
    if (!ParseBookmarks(stored_, firstBookmark, database_, error)) return PalmDocRead::kDamaged;
    return PalmDocRead::kDone;
}

PalmDocRead PalmDocReader::ReadRecord(std::size_t k, std::vector<unsigned char>& text, std::string& error) {
    text.clear();
    if (!source_.Read(database_.records[k].offset, DecodablePrefix(database_, k), stored_, error)) {
        return PalmDocRead::kSourceFailed;
    }
    if (!DecodeTextRecord(database_, k, stored_, text, error)) return PalmDocRead::kDamaged;
    database_.records[k].textLength = static_cast<uint32_t>(text.size());
    return PalmDocRead::kDone;
}

}  // namespace palmdoc

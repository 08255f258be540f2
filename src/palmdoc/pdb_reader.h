// Reads a Palm DOC database from a source of bytes one part at a time:
// every offset and count is checked before it is used, so that a damaged
// file gives a message, not a crash, and a document of any size takes one
// record's memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "palmdoc/byte_source.h"

namespace palmdoc {

struct PalmDocRecord {
    uint32_t offset = 0;
    uint32_t storedLength = 0;
    // Set once the record has been read.
    uint32_t textLength = 0;
};

struct PalmDocBookmark {
    std::string name;  // as stored, code page 932, up to its NUL
    uint32_t offset = 0;
};

struct PalmDocDatabase {
    std::string name;
    std::string type;
    std::string creator;
    uint16_t numberOfRecords = 0;
    uint16_t compression = 0;
    uint32_t textLength = 0;
    uint16_t recordCount = 0;
    uint16_t recordSize = 0;
    // The text records, 1 to recordCount.
    std::vector<PalmDocRecord> records;
    // From the records after the text records, in order.
    std::vector<PalmDocBookmark> bookmarks;
};

// What a read came to. A source that fails leaves its own message; a
// database that is not a readable Palm DOC, what is wrong with it.
enum class PalmDocRead { kDone, kSourceFailed, kDamaged };

class PalmDocReader {
public:
    explicit PalmDocReader(ByteSource& source) : source_(source) {}

    // Reads and checks the header, the record list, record 0 and the
    // records after the text records, which can only be bookmarks.
    PalmDocRead Open(std::string& error);

    const PalmDocDatabase& Database() const { return database_; }

    // Decodes text record k (0-based) into text, replacing what it held.
    PalmDocRead ReadRecord(std::size_t k, std::vector<unsigned char>& text, std::string& error);

private:
    // Reads as many of the count bytes from offset on as the source has.
    bool ReadAvailable(std::uint64_t offset, std::size_t count, std::vector<unsigned char>& bytes,
                       std::string& error);

    ByteSource& source_;
    PalmDocDatabase database_;
    std::vector<unsigned char> stored_;  // the part being checked or decoded
};

}  // namespace palmdoc

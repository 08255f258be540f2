// Reads a Palm DOC database held in memory, checking every offset and count
// before it is used, so that a damaged file gives a message, not a crash.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct PalmDocRecord {
    uint32_t offset = 0;
    uint32_t storedLength = 0;
    uint32_t textLength = 0;
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
    // All text records decompressed, in order.
    std::vector<unsigned char> text;
};

// Fills database from the file's bytes. Records after the text records (a
// reader's bookmarks, say) are allowed and ignored. Returns false with a
// message in error when the file is not a readable Palm DOC.
bool ReadPalmDocDatabase(const unsigned char* bytes, std::size_t size, PalmDocDatabase& database,
                         std::string& error);

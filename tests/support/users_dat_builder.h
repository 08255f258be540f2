// Palm Desktop users files built byte by byte (layout in
// src/hotsync/users_dat_format.md), for the reader's tests and the
// users-dat-fixture program. Header-only, so that the fixture program needs
// no test framework.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace users_dat {

using Bytes = std::vector<unsigned char>;

constexpr std::size_t kHeaderUnusedSize = 11;
// The fields the reader skips hold bytes of their own, so that a reader that
// takes one of them for data reads the wrong users.
constexpr unsigned char kHeaderUnusedByte = 0xEE;
constexpr uint16_t kBeforeBlockLength = 0xA1A1;
constexpr uint16_t kAfterBlockLength = 0xA2A2;
constexpr uint16_t kAfterBlock = 0xA3A3;

inline void PutUint16(Bytes& out, uint16_t value) {
    out.push_back(static_cast<unsigned char>(value & 0xFF));
    out.push_back(static_cast<unsigned char>(value >> 8));
}

inline void PutUint32(Bytes& out, uint32_t value) {
    PutUint16(out, static_cast<uint16_t>(value & 0xFFFF));
    PutUint16(out, static_cast<uint16_t>(value >> 16));
}

inline Bytes Header(uint16_t count) {
    Bytes out;
    PutUint16(out, count);
    out.insert(out.end(), kHeaderUnusedSize, kHeaderUnusedByte);
    return out;
}

// The trailer of the tag 0x8001 alone, which closes a record at once.
inline const Bytes kRecordEndTrailer = {0x01, 0x80};

struct Record {
    uint32_t id;
    std::string name;        // code page 932, at most 255 bytes
    std::string folderName;  // code page 932, at most 255 bytes
    Bytes block;             // skipped by its length
    Bytes trailer;           // tags and what follows them
};

// Appends the record; returns the offset just behind its folder name, from
// which on a cut file still holds the record whole.
inline std::size_t PutRecord(Bytes& out, const Record& record) {
    PutUint32(out, record.id);
    out.push_back(static_cast<unsigned char>(record.name.size()));
    out.insert(out.end(), record.name.begin(), record.name.end());
    out.push_back(static_cast<unsigned char>(record.folderName.size()));
    out.insert(out.end(), record.folderName.begin(), record.folderName.end());
    const std::size_t wholeFrom = out.size();
    PutUint16(out, kBeforeBlockLength);
    PutUint16(out, static_cast<uint16_t>(record.block.size()));
    PutUint16(out, kAfterBlockLength);
    out.insert(out.end(), record.block.begin(), record.block.end());
    PutUint16(out, kAfterBlock);
    out.insert(out.end(), record.trailer.begin(), record.trailer.end());
    return wholeFrom;
}

inline Bytes UsersFile(const std::vector<Record>& records) {
    Bytes out = Header(static_cast<uint16_t>(records.size()));
    for (const Record& record : records) PutRecord(out, record);
    return out;
}

}  // namespace users_dat

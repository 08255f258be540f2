// Builds users files byte by byte for the reader's tests, and writes them
// where the reader looks.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "hotsync/palm_desktop.h"

namespace users_file_test {

using Bytes = std::vector<unsigned char>;

constexpr std::size_t kHeaderSize = 13;

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
    out.insert(out.end(), kHeaderSize - 2, 0xEE);
    return out;
}

struct Record {
    uint32_t id;
    std::string name;
    std::string folderName;
    Bytes block;    // skipped by its length
    Bytes trailer;  // tags and what follows them
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
    PutUint16(out, 0xA1A1);
    PutUint16(out, static_cast<uint16_t>(record.block.size()));
    PutUint16(out, 0xA2A2);
    out.insert(out.end(), record.block.begin(), record.block.end());
    PutUint16(out, 0xA3A3);
    out.insert(out.end(), record.trailer.begin(), record.trailer.end());
    return wholeFrom;
}

inline Bytes UsersFile(const std::vector<Record>& records) {
    Bytes out = Header(static_cast<uint16_t>(records.size()));
    for (const Record& record : records) PutRecord(out, record);
    return out;
}

// A scratch folder of the test; the reader forms "<folder>\users.dat", which
// on the native build is one file name with a backslash in it.
inline std::string ScratchFolder() {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string("hotsync_") + test->test_suite_name() + "_" + test->name();
    for (char& c : name) {
        if (c == '/') c = '_';
    }
    return ::testing::TempDir() + name;
}

inline std::string UsersFilePath(const std::string& folder) { return folder + "\\users.dat"; }

inline void WriteFile(const std::string& path, const Bytes& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr) << path;
    const bool written =
        bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ASSERT_EQ(std::fclose(file), 0);
    ASSERT_TRUE(written) << path;
}

}  // namespace users_file_test

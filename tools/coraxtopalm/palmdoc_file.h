// A Palm DOC database read from its file one record at a time, each part
// checked as the in-memory reader checks it (palmdoc/pdb_parts.h), so that
// unpack and info need one record's memory whatever the size of the
// document.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "palmdoc/pdb_reader.h"

class PalmDocFile {
public:
    PalmDocFile() = default;
    ~PalmDocFile();
    PalmDocFile(const PalmDocFile&) = delete;
    PalmDocFile& operator=(const PalmDocFile&) = delete;

    // Reads and checks the header, the record list and record 0. False with
    // one message naming shownPath in error: the system's reason when the
    // file cannot be read, what is wrong when it is not a Palm DOC.
    bool Open(const std::string& path, const std::string& shownPath, std::string& error);

    // The header fields and the text records' places; text stays empty and
    // a record's textLength is set once it has been read.
    const PalmDocDatabase& Database() const { return database_; }

    // Decodes text record k (0-based) into text, replacing what it held.
    bool ReadRecord(std::size_t k, std::vector<unsigned char>& text, std::string& error);

private:
    // How many of the count bytes from offset on the file has.
    std::size_t Available(std::uint64_t offset, std::size_t count) const;
    bool ReadAt(std::uint64_t offset, std::size_t count, std::vector<unsigned char>& bytes, std::string& error);
    bool Damaged(const std::string& why, std::string& error) const;

    std::FILE* file_ = nullptr;
    std::string shown_;
    std::uint64_t size_ = 0;
    PalmDocDatabase database_;
    std::vector<unsigned char> stored_;  // the record being decoded
};

// A Palm DOC database read from its file by the library's reader, one record
// at a time, with the tool's words for what went wrong.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "palmdoc/pdb_reader.h"

class PalmDocFile : private palmdoc::ByteSource {
public:
    PalmDocFile() = default;
    ~PalmDocFile() override;
    PalmDocFile(const PalmDocFile&) = delete;
    PalmDocFile& operator=(const PalmDocFile&) = delete;

    // Reads and checks the header, the record list and record 0. False with
    // one message naming shownPath in error: the system's reason when the
    // file cannot be read, what is wrong when it is not a Palm DOC.
    bool Open(const std::string& path, const std::string& shownPath, std::string& error);

    // The header fields and the text records' places; a record's textLength
    // is set once it has been read.
    const palmdoc::PalmDocDatabase& Database() const { return reader_.Database(); }

    // Decodes text record k (0-based) into text, replacing what it held.
    bool ReadRecord(std::size_t k, std::vector<unsigned char>& text, std::string& error);
    // Decodes every text record in turn, showing progress, and hands each to
    // take; false at the first that cannot be read or that take refuses
    // (saying why in error itself).
    bool ReadRecords(const std::function<bool(const std::vector<unsigned char>&)>& take, std::string& error);

private:
    std::uint64_t Size() const override { return size_; }
    bool Read(std::uint64_t offset, std::size_t count, std::vector<unsigned char>& bytes,
              std::string& error) override;
    bool Worded(palmdoc::PalmDocRead read, std::string& error) const;

    std::FILE* file_ = nullptr;
    std::string shown_;
    std::uint64_t size_ = 0;
    palmdoc::PalmDocReader reader_{*this};
};

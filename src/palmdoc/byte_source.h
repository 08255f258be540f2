// Where a reader's bytes come from: a file read a part at a time, or bytes
// already in memory. The reader asks only for parts inside Size().
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace palmdoc {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t Size() const = 0;
    // Replaces bytes with the count bytes from offset on; false with the
    // source's own message in error.
    virtual bool Read(std::uint64_t offset, std::size_t count, std::vector<unsigned char>& bytes,
                      std::string& error) = 0;
};

class MemoryBytes final : public ByteSource {
public:
    MemoryBytes(const unsigned char* data, std::size_t size) : data_(data), size_(size) {}
    std::uint64_t Size() const override { return size_; }
    bool Read(std::uint64_t offset, std::size_t count, std::vector<unsigned char>& bytes,
              std::string& error) override;

private:
    const unsigned char* data_;
    std::size_t size_;
};

}  // namespace palmdoc

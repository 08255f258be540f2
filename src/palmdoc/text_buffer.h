// The working buffer of one text record on its way into the database.
#pragma once

#include <cstdint>

namespace palmdoc {

// Owns its byte array: a transformation that needs a new array hands it over
// with Adopt, so the old one is released exactly once, also when the writer
// leaves early. One that fits works in place, so a buffer kept from record to
// record allocates nothing after its first.
class tBuf {
public:
    unsigned char* data = nullptr;
    uint32_t length = 0;
    // The bytes data has room for.
    uint32_t capacity = 0;
    // 0 while undecided, else the record's one line terminator (LF or CR).
    unsigned char lineEnd = 0;

    tBuf() = default;
    ~tBuf() { delete[] data; }
    tBuf(const tBuf&) = delete;
    tBuf& operator=(const tBuf&) = delete;

    // Releases the current array and takes over newData with newLength bytes
    // in use, and room for no more.
    void Adopt(unsigned char* newData, uint32_t newLength);

    // Empties the buffer, with room for at least minimumCapacity bytes, and
    // forgets the line terminator, so that the next record decides its own.
    void Rearm(uint32_t minimumCapacity);

    // Hands the array to the caller, who then owns it.
    unsigned char* Release();
};

}  // namespace palmdoc

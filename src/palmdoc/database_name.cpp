#include "palmdoc/database_name.h"

#include <cstring>

#include "palmdoc/pdb_format.h"

namespace {

// The bytes that start a double-byte character of code page 932.
constexpr unsigned char kLeadByteMin1 = 0x81;
constexpr unsigned char kLeadByteMax1 = 0x9F;
constexpr unsigned char kLeadByteMin2 = 0xE0;
constexpr unsigned char kLeadByteMax2 = 0xFC;

bool IsLeadByte(unsigned char c) {
    return (c >= kLeadByteMin1 && c <= kLeadByteMax1) || (c >= kLeadByteMin2 && c <= kLeadByteMax2);
}

}  // namespace

void FormatDatabaseName(const char* title, unsigned char* field) {
    std::memset(field, 0, pdb::kNameSize);
    std::size_t length = 0;
    while (length < pdb::kMaxNameLength && title[length] != '\0') {
        // A lead byte's partner may itself look like a lead byte, so the
        // title is walked a character at a time. A lead byte that ends the
        // title has no partner to lose and is kept as it is.
        const std::size_t width = IsLeadByte(static_cast<unsigned char>(title[length])) && title[length + 1] != '\0' ? 2 : 1;
        if (length + width > pdb::kMaxNameLength) break;
        length += width;
    }
    std::memcpy(field, title, length);
}

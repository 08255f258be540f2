#include "palmdoc/byte_source.h"

namespace palmdoc {

bool MemoryBytes::Read(std::uint64_t offset, std::size_t count, std::vector<unsigned char>& bytes, std::string&) {
    const unsigned char* from = data_ + offset;
    bytes.assign(from, from + count);
    return true;
}

}  // namespace palmdoc

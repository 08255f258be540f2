#include "host/last_output_path.h"

#include <cstring>

namespace host {

char LastOutputPath[kLastOutputPathSize] = "";

bool SetLastOutputPath(const char* text) {
    const std::size_t length = std::strlen(text);
    if (length >= kLastOutputPathSize) return false;
    std::memcpy(LastOutputPath, text, length + 1);
    return true;
}

}  // namespace host

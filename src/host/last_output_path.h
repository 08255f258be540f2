// What the last folder export produced, for the result report.
#pragma once

#include <cstddef>

namespace host {

// At most 255 bytes and the terminator.
constexpr std::size_t kLastOutputPathSize = 256;

extern char LastOutputPath[kLastOutputPathSize];

// Copies text into LastOutputPath when it fits whole; false (and
// LastOutputPath unchanged) when it does not.
bool SetLastOutputPath(const char* text);

}  // namespace host

// Unicode to code page 932, generated once from a named source by
// tables/generate_cp932_table.py, so that the plug-in and the native tests
// convert with the same bytes and no Windows call.
#pragma once

#include <cstddef>
#include <cstdint>

namespace mime {

struct UnicodeCp932Pair {
    uint16_t unicode;
    // A single byte (half-width katakana, or a space, yen sign or overline
    // for look-alikes), or a lead byte in the high half and a trail byte.
    uint16_t cp932;
};

// Sorted by unicode, ASCII left out (it stays as it is).
extern const UnicodeCp932Pair kUnicodeToCp932[];
extern const std::size_t kUnicodeToCp932Count;

}  // namespace mime

// Byte patterns of the mbox format shared by the reader and the write-back.
#pragma once

#include <cstddef>
#include <string>

constexpr char kSeparatorPrefix[] = "From ";
constexpr std::size_t kSeparatorPrefixLength = sizeof kSeparatorPrefix - 1;
constexpr char kStatusName[] = "Status:";
constexpr std::size_t kStatusNameLength = sizeof kStatusName - 1;
constexpr char kReadStatusLetter = 'R';
// The Status line a mail client writes for a message seen and read.
constexpr char kReadStatusLine[] = "Status: RO";

inline bool HasPrefixAt(const std::string& text, std::size_t position, const char* prefix,
                        std::size_t prefixLength) {
    return text.compare(position, prefixLength, prefix) == 0;
}

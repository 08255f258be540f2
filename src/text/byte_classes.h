// Byte classes of the header clean-ups. Bytes 0x80 to 0xFF (lead and trail
// bytes of Shift-JIS) belong to neither class, whatever the C locale says,
// which is why <cctype> is not used.
#pragma once

namespace text {

constexpr char kCarriageReturn = '\r';
constexpr char kLineFeed = '\n';
constexpr char kSpace = ' ';
constexpr char kTab = '\t';

// HT, LF, VT, FF, CR and space.
inline bool IsWhiteSpace(char byte) {
    const unsigned char value = static_cast<unsigned char>(byte);
    return (value >= 0x09 && value <= 0x0D) || value == 0x20;
}

inline bool IsDigit(char byte) { return byte >= '0' && byte <= '9'; }

// The only blanks that folding knows: space and tab.
inline bool IsFoldingBlank(char byte) { return byte == kSpace || byte == kTab; }

}  // namespace text

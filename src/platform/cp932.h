// Code page 932 (Shift-JIS) text taken character by character. A lead byte
// (0x81 to 0x9F, 0xE0 to 0xFC) and the byte after it are one character, and
// that second byte can equal "\", "[" or "]" (表 is 0x95 0x5C), so a search
// for a single-byte character must step over double-byte ones, and a cut by
// byte count must not leave a lead byte without its second byte. ASCII and
// 7-bit ISO-2022-JP text have no lead bytes: for them these are the plain
// byte-wise operations.
#pragma once

#include <cstddef>
#include <cstring>

namespace platform {

namespace cp932 {

inline bool IsLeadByte(char byte) {
    const unsigned char value = static_cast<unsigned char>(byte);
    return (value >= 0x81 && value <= 0x9F) || (value >= 0xE0 && value <= 0xFC);
}

// A byte that can follow a lead byte: 0x40 to 0xFC without 0x7F.
inline bool IsTrailByte(char byte) {
    const unsigned char value = static_cast<unsigned char>(byte);
    return value >= 0x40 && value <= 0xFC && value != 0x7F;
}

// The start of the character after the one at text (which is not the NUL).
// A lead byte right before the NUL is a character of its own.
inline const char* NextCharacter(const char* text) {
    return text + (IsLeadByte(text[0]) && text[1] != '\0' ? 2 : 1);
}

// The first character of text that is one of the single-byte characters in
// set, or null.
inline const char* FindFirstOf(const char* text, const char* set) {
    for (const char* position = text; *position != '\0'; position = NextCharacter(position)) {
        if (std::strchr(set, *position) != nullptr) return position;
    }
    return nullptr;
}

inline char* FindFirstOf(char* text, const char* set) {
    return const_cast<char*>(FindFirstOf(static_cast<const char*>(text), set));
}

// The last character of text that is one of the single-byte characters in
// set, or null.
inline const char* FindLastOf(const char* text, const char* set) {
    const char* found = nullptr;
    for (const char* position = text; *position != '\0'; position = NextCharacter(position)) {
        if (std::strchr(set, *position) != nullptr) found = position;
    }
    return found;
}

inline char* FindLastOf(char* text, const char* set) {
    return const_cast<char*>(FindLastOf(static_cast<const char*>(text), set));
}

// How many bytes of text, at most limit, end on a character boundary: the
// length at which to cut text to fit limit bytes.
inline std::size_t FittingLength(const char* text, std::size_t limit) {
    std::size_t length = 0;
    while (text[length] != '\0') {
        const std::size_t next = static_cast<std::size_t>(NextCharacter(text + length) - text);
        if (next > limit) break;
        length = next;
    }
    return length;
}

}  // namespace cp932

}  // namespace platform

// UTF-8, UTF-16 and ISO-8859-1 in code page 932, through the generated table.
#pragma once

#include <string>
#include <string_view>

namespace mime {

// A byte that starts no well-formed UTF-8 sequence becomes 〓, as does a
// character beyond the Basic Multilingual Plane (emoji among them).
void AppendUtf8AsCp932(std::string_view text, std::string& out);

void AppendLatin1AsCp932(std::string_view text, std::string& out);

// UTF-16 code units: a surrogate pair stands for a character beyond the
// Basic Multilingual Plane and becomes 〓, as does a lone surrogate.
void AppendUtf16AsCp932(std::u16string_view units, std::string& out);

enum class Utf16Order {
    kBigEndian,
    kLittleEndian,
    kByOrderMark,  // as a leading byte order mark says, big-endian without one
};

// Bytes of UTF-16 in the given order; an odd byte at the end becomes 〓.
void AppendUtf16BytesAsCp932(std::string_view bytes, Utf16Order order, std::string& out);

// True when text is well-formed UTF-8 holding at least one multi-byte
// sequence: 8-bit text that is surely UTF-8 rather than Shift-JIS.
bool IsMultiByteUtf8(std::string_view text);

}  // namespace mime

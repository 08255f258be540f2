// Byte-wise helpers for the 7-bit syntax of mail headers.
#pragma once

#include <string>
#include <string_view>

namespace mime {

inline char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

inline bool IsBlank(char c) { return c == ' ' || c == '\t'; }

inline bool IsWhiteSpace(char c) { return IsBlank(c) || c == '\r' || c == '\n'; }

inline bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    }
    return true;
}

inline bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualsIgnoringCase(text.substr(0, prefix.size()), prefix);
}

inline std::string LowerCopy(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = LowerAscii(c);
    return lower;
}

// text without the white space (blanks and line ends) at either end.
inline std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsWhiteSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsWhiteSpace(text.back())) text.remove_suffix(1);
    return text;
}

// Position of needle in text at or after from, in any letter case; npos when none.
inline std::size_t FindIgnoringCase(std::string_view text, std::string_view needle, std::size_t from = 0) {
    for (std::size_t position = from; position + needle.size() <= text.size(); ++position) {
        if (EqualsIgnoringCase(text.substr(position, needle.size()), needle)) return position;
    }
    return std::string_view::npos;
}

inline int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    const char lower = LowerAscii(c);
    if (lower >= 'a' && lower <= 'f') return lower - 'a' + 10;
    return -1;
}

}  // namespace mime

// What a conformance case found wrong, kept as lines of text: the same case
// then runs under GoogleTest natively and in a plain program on Windows,
// where no test framework is built.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

namespace conformance {

// Long texts are shown by their head and their length.
constexpr std::size_t kShownBytes = 48;

// Bytes as C escapes, so that Shift-JIS and control bytes print on any console.
inline std::string Describe(const std::string& text) {
    std::string shown = "\"";
    for (std::size_t i = 0; i < text.size() && i < kShownBytes; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '"' || c == '\\') {
            shown += '\\';
            shown += static_cast<char>(c);
        } else if (c >= 0x20 && c < 0x7F) {
            shown += static_cast<char>(c);
        } else {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
            shown += escaped;
        }
    }
    shown += '"';
    if (text.size() > kShownBytes) shown += "... (" + std::to_string(text.size()) + " bytes)";
    return shown;
}

inline std::string Describe(const char* text) { return Describe(std::string(text)); }

// UTF-16 code units in hexadecimal, the head of a long text only.
inline std::string Describe(const std::u16string& units) {
    std::string shown = "u\"";
    for (std::size_t i = 0; i < units.size() && i < kShownBytes; ++i) {
        char escaped[7];
        std::snprintf(escaped, sizeof escaped, "\\u%04X", static_cast<unsigned>(units[i]));
        shown += escaped;
    }
    shown += '"';
    if (units.size() > kShownBytes) shown += "... (" + std::to_string(units.size()) + " units)";
    return shown;
}

inline std::string Describe(bool value) { return value ? "true" : "false"; }

template <class Number, class = std::enable_if_t<std::is_arithmetic_v<Number>>>
std::string Describe(Number number) {
    return std::to_string(number);
}

inline std::string Describe(const std::vector<std::string>& texts) {
    std::string shown = "{";
    for (const std::string& text : texts) shown += (shown.size() > 1 ? ", " : "") + Describe(text);
    return shown + "}";
}

template <class Value>
std::string Describe(const std::optional<Value>& value) {
    return value ? Describe(*value) : "(none)";
}

class Expectations {
public:
    template <class Actual, class Expected>
    void Equal(const Actual& actual, const Expected& expected, const std::string& what) {
        if (actual == expected) return;
        failures_.push_back(what + ": got " + Describe(actual) + ", expected " + Describe(expected));
    }

    void True(bool condition, const std::string& what) {
        if (!condition) failures_.push_back(what);
    }

    const std::vector<std::string>& Failures() const { return failures_; }

private:
    std::vector<std::string> failures_;
};

}  // namespace conformance

#include "text/header_cleanup.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "platform/cp932.h"
#include "text/byte_classes.h"

namespace text {

namespace {

constexpr char kEscape = '\x1B';
// ESC and the two bytes of its designation.
constexpr int kEscapeSequenceLength = 3;

constexpr char kMonthNames[] = "JanFebMarAprMayJunJulAugSepOctNovDec";
constexpr std::size_t kMonthNameLength = 3;
constexpr std::size_t kZoneLimit = 7;
constexpr char kDateFormat[] = "%d/%d %02d:%02d %s";

const char* SkipWhiteSpace(const char* text) {
    while (IsWhiteSpace(*text)) {
        ++text;
    }
    return text;
}

const char* SkipToDigit(const char* text) {
    while (*text != '\0' && !IsDigit(*text)) {
        ++text;
    }
    return text;
}

// A run of digits; a run too long for 32 bits wraps instead of overflowing.
int ReadNumber(const char*& text) {
    uint32_t number = 0;
    while (IsDigit(*text)) {
        number = number * 10u + static_cast<uint32_t>(*text - '0');
        ++text;
    }
    return static_cast<int>(static_cast<int32_t>(number));
}

int MonthFromText(const char* monthText) {
    char name[kMonthNameLength + 1] = {};
    std::size_t length = 0;
    while (length < kMonthNameLength && monthText[length] != '\0') {
        name[length] = monthText[length];
        ++length;
    }
    // Not bound to multiples of three: "anF" is found inside "JanFeb".
    const char* found = std::strstr(kMonthNames, name);
    if (found == nullptr) {
        return 0;
    }
    return static_cast<int>((found - kMonthNames) / kMonthNameLength) + 1;
}

}  // namespace

void TrimSubjectTag(HeaderValue& subject) {
    char* open = subject.text;
    while (IsWhiteSpace(*open)) {
        ++open;  // passed over, not removed
    }
    if (*open != '[') {
        return;
    }
    // A "]" is never taken from inside a character: 評 ends in 0x5D.
    char* const close = platform::cp932::FindFirstOf(open + 1, "]");
    if (close == nullptr || close[1] == '\0') {
        return;
    }
    const char* rest = close + 1;
    if (*rest == kSpace) {
        ++rest;
    }
    std::memmove(open, rest, std::strlen(rest) + 1);
}

void TrimFromValue(HeaderValue& from) {
    const char* source = SkipWhiteSpace(from.text);
    if (*source == '<') {
        return;
    }
    char* output = from.text;
    char* trailingSpaces = nullptr;
    bool quoted = false;
    int commentDepth = 0;
    int addressDepth = 0;
    int escapeCountdown = 0;
    for (; *source != '\0' && *source != kCarriageReturn; ++source) {
        const char byte = *source;
        if (byte == kEscape) {
            escapeCountdown = kEscapeSequenceLength;
        }
        const bool counts = escapeCountdown == 0;
        if (counts && byte == '"') {
            quoted = !quoted;
        }
        if (counts && !quoted) {
            commentDepth += byte == '(';
            addressDepth += byte == '<';
        }
        // A depth below zero (a closing bracket without its opening one)
        // stops the copy as well.
        if (commentDepth == 0 && addressDepth == 0) {
            if (byte != kSpace) {
                trailingSpaces = nullptr;
            } else if (trailingSpaces == nullptr) {
                trailingSpaces = output;
            }
            *output++ = byte;
        }
        if (counts && !quoted) {
            commentDepth -= byte == ')';
            addressDepth -= byte == '>';
        }
        if (escapeCountdown > 0) {
            --escapeCountdown;
        }
    }
    *(trailingSpaces != nullptr ? trailingSpaces : output) = '\0';
}

void ConvertDate(HeaderValue& date) {
    const char* position = SkipToDigit(date.text);
    const int day = ReadNumber(position);

    const char* const monthText = SkipWhiteSpace(position);
    const int month = MonthFromText(monthText);

    // The year is read only to pass over it; so are the seconds below.
    position = SkipToDigit(monthText);
    ReadNumber(position);
    position = SkipToDigit(position);
    const int hour = ReadNumber(position);
    position = SkipToDigit(position);
    const int minute = ReadNumber(position);
    position = SkipToDigit(position);
    ReadNumber(position);

    while (IsWhiteSpace(*position) && *position != kCarriageReturn) {
        ++position;
    }
    const char* zoneEnd = position;
    while (*zoneEnd != '\0' && !IsWhiteSpace(*zoneEnd)) {
        ++zoneEnd;
    }
    char zone[kZoneLimit + 1] = {};
    const std::size_t zoneLength = static_cast<std::size_t>(zoneEnd - position);
    // A longer zone name is dropped, not cut.
    if (zoneLength <= kZoneLimit) {
        std::memcpy(zone, position, zoneLength);
    }

    std::snprintf(date.text, sizeof date.text, kDateFormat, month, day, hour, minute, zone);
}

}  // namespace text

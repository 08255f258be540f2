#include "mime/unicode_charsets.h"

#include "mime/cp932_text.h"

namespace mime {

namespace {

constexpr unsigned char kContinuationMask = 0xC0;
constexpr unsigned char kContinuationMark = 0x80;
constexpr unsigned char kPayloadBits = 0x3F;
constexpr int kPayloadShift = 6;

struct Utf8Lead {
    unsigned char first, last;  // lead byte range
    int length;
    unsigned char secondLow, secondHigh;  // range of the byte after it
    char32_t payloadMask;                 // bits of the lead byte that count
};

// The well-formed sequences of the Unicode standard (its table 3-7): no
// overlong forms, no surrogates, nothing beyond U+10FFFF.
const Utf8Lead kLeads[] = {
    {0xC2, 0xDF, 2, 0x80, 0xBF, 0x1F}, {0xE0, 0xE0, 3, 0xA0, 0xBF, 0x0F}, {0xE1, 0xEC, 3, 0x80, 0xBF, 0x0F},
    {0xED, 0xED, 3, 0x80, 0x9F, 0x0F}, {0xEE, 0xEF, 3, 0x80, 0xBF, 0x0F}, {0xF0, 0xF0, 4, 0x90, 0xBF, 0x07},
    {0xF1, 0xF3, 4, 0x80, 0xBF, 0x07}, {0xF4, 0xF4, 4, 0x80, 0x8F, 0x07},
};

bool IsContinuation(unsigned char byte) { return (byte & kContinuationMask) == kContinuationMark; }

// Length of the well-formed sequence at text[position] (1 for ASCII) and its
// character; 0 when the byte there starts none.
std::size_t DecodeUtf8At(std::string_view text, std::size_t position, char32_t& character) {
    const unsigned char lead = static_cast<unsigned char>(text[position]);
    if (lead < kContinuationMark) {
        character = lead;
        return 1;
    }
    for (const Utf8Lead& form : kLeads) {
        if (lead < form.first || lead > form.last) continue;
        const std::size_t length = static_cast<std::size_t>(form.length);
        if (text.size() - position < length) return 0;
        const unsigned char second = static_cast<unsigned char>(text[position + 1]);
        if (second < form.secondLow || second > form.secondHigh) return 0;
        character = lead & form.payloadMask;
        for (std::size_t offset = 1; offset < length; ++offset) {
            const unsigned char byte = static_cast<unsigned char>(text[position + offset]);
            if (!IsContinuation(byte)) return 0;
            character = (character << kPayloadShift) | (byte & kPayloadBits);
        }
        return length;
    }
    return 0;
}

constexpr char32_t kFirstHighSurrogate = 0xD800;
constexpr char32_t kFirstLowSurrogate = 0xDC00;
constexpr char32_t kLastLowSurrogate = 0xDFFF;
constexpr char32_t kFirstBeyondPlane = 0x10000;
constexpr int kSurrogateBits = 10;
constexpr int kBitsPerByte = 8;
constexpr std::size_t kUnitBytes = 2;
constexpr char kBigEndianMark[] = "\xFE\xFF";
constexpr char kLittleEndianMark[] = "\xFF\xFE";

bool IsHighSurrogate(char32_t unit) { return unit >= kFirstHighSurrogate && unit < kFirstLowSurrogate; }
bool IsLowSurrogate(char32_t unit) { return unit >= kFirstLowSurrogate && unit <= kLastLowSurrogate; }

}  // namespace

void AppendUtf8AsCp932(std::string_view text, std::string& out) {
    std::size_t position = 0;
    while (position < text.size()) {
        char32_t character = 0;
        const std::size_t length = DecodeUtf8At(text, position, character);
        if (length == 0) {
            out += kGetaMark;
            ++position;
            continue;
        }
        AppendUnicodeAsCp932(character, out);
        position += length;
    }
}

void AppendLatin1AsCp932(std::string_view text, std::string& out) {
    for (const char byte : text) AppendUnicodeAsCp932(static_cast<unsigned char>(byte), out);
}

void AppendUtf16AsCp932(std::u16string_view units, std::string& out) {
    for (std::size_t position = 0; position < units.size(); ++position) {
        char32_t character = units[position];
        if (IsHighSurrogate(character) && position + 1 < units.size() && IsLowSurrogate(units[position + 1])) {
            const char32_t low = units[++position];
            character = kFirstBeyondPlane + ((character - kFirstHighSurrogate) << kSurrogateBits) +
                        (low - kFirstLowSurrogate);
        }
        AppendUnicodeAsCp932(character, out);
    }
}

void AppendUtf16BytesAsCp932(std::string_view bytes, Utf16Order order, std::string& out) {
    if (order == Utf16Order::kByOrderMark) {
        const bool littleEndian = bytes.compare(0, kUnitBytes, kLittleEndianMark) == 0;
        if (littleEndian || bytes.compare(0, kUnitBytes, kBigEndianMark) == 0) bytes.remove_prefix(kUnitBytes);
        order = littleEndian ? Utf16Order::kLittleEndian : Utf16Order::kBigEndian;
    }
    const std::size_t lowByte = order == Utf16Order::kLittleEndian ? 0 : 1;
    std::u16string units;
    units.reserve(bytes.size() / kUnitBytes);
    for (std::size_t position = 0; position + 1 < bytes.size(); position += kUnitBytes) {
        const unsigned low = static_cast<unsigned char>(bytes[position + lowByte]);
        const unsigned high = static_cast<unsigned char>(bytes[position + 1 - lowByte]);
        units += static_cast<char16_t>(low | high << kBitsPerByte);
    }
    AppendUtf16AsCp932(units, out);
    if (bytes.size() % kUnitBytes != 0) out += kGetaMark;
}

bool IsMultiByteUtf8(std::string_view text) {
    bool multiByte = false;
    std::size_t position = 0;
    while (position < text.size()) {
        char32_t character = 0;
        const std::size_t length = DecodeUtf8At(text, position, character);
        if (length == 0) return false;
        multiByte = multiByte || length > 1;
        position += length;
    }
    return multiByte;
}

}  // namespace mime

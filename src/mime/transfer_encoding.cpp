#include "mime/transfer_encoding.h"

#include "mime/ascii.h"

namespace mime {

namespace {

constexpr int kBitsPerBase64Digit = 6;
constexpr int kBitsPerByte = 8;
constexpr unsigned kByteMask = 0xFF;
// Enough for a byte still to be taken and the digit just read.
constexpr unsigned kPendingBitsMask = 0xFFFF;
constexpr char kPadding = '=';
// A body labelled base64 in which more than one byte in this many is no
// base64 is plain text: words have blanks and punctuation between them,
// where an encoder writes unbroken lines of its alphabet. A few stray bytes
// in real base64 (a line of a list's footer) stay below it.
constexpr std::size_t kForeignShareDivisor = 20;

// The bytes of base64 text, white space ignored; a byte outside the
// alphabet and padding is passed over, or makes it false.
bool AppendBase64(std::string_view text, bool passOverForeign, std::string& out) {
    std::string decoded;
    decoded.reserve(text.size() / 4 * 3);
    unsigned bits = 0;
    int bitCount = 0;
    for (const char c : text) {
        if (IsWhiteSpace(c)) continue;
        if (c == kPadding) {
            // The group ends here; its leftover bits are padding.
            bits = 0;
            bitCount = 0;
            continue;
        }
        const int value = Base64DigitValue(c);
        if (value < 0) {
            if (passOverForeign) continue;
            return false;
        }
        bits = ((bits << kBitsPerBase64Digit) | static_cast<unsigned>(value)) & kPendingBitsMask;
        bitCount += kBitsPerBase64Digit;
        if (bitCount >= kBitsPerByte) {
            bitCount -= kBitsPerByte;
            decoded += static_cast<char>((bits >> bitCount) & kByteMask);
        }
    }
    out += decoded;
    return true;
}

// "=XX" at text[position]: the byte, or -1.
int EscapedByte(std::string_view text, std::size_t position) {
    if (position + 2 >= text.size()) return -1;
    const int high = HexDigitValue(text[position + 1]);
    const int low = HexDigitValue(text[position + 2]);
    return high < 0 || low < 0 ? -1 : high * 16 + low;
}

// Past the line end that follows "=" and blanks at text[position], or 0 when
// the "=" is not a soft line break.
std::size_t SoftBreakEnd(std::string_view text, std::size_t position) {
    std::size_t next = position + 1;
    while (next < text.size() && IsBlank(text[next])) ++next;
    if (next == text.size()) return next;
    if (text[next] == '\n') return next + 1;
    if (text[next] == '\r') return next + 1 < text.size() && text[next + 1] == '\n' ? next + 2 : next + 1;
    return 0;
}

std::string DecodeQuoted(std::string_view text, bool underscoreIsSpace) {
    std::string out;
    out.reserve(text.size());
    std::size_t position = 0;
    while (position < text.size()) {
        const char c = text[position];
        if (c == '=') {
            const int byte = EscapedByte(text, position);
            if (byte >= 0) {
                out += static_cast<char>(byte);
                position += 3;
                continue;
            }
            const std::size_t breakEnd = underscoreIsSpace ? 0 : SoftBreakEnd(text, position);
            if (breakEnd != 0) {
                position = breakEnd;
                continue;
            }
        }
        out += underscoreIsSpace && c == '_' ? ' ' : c;
        ++position;
    }
    return out;
}

}  // namespace

int Base64DigitValue(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

TransferEncoding TransferEncodingFromName(std::string_view name) {
    const std::string_view trimmed = TrimBlanks(name);
    if (EqualsIgnoringCase(trimmed, "base64")) return TransferEncoding::kBase64;
    if (EqualsIgnoringCase(trimmed, "quoted-printable")) return TransferEncoding::kQuotedPrintable;
    return TransferEncoding::kIdentity;
}

std::string DecodeTransfer(std::string_view body, TransferEncoding encoding) {
    switch (encoding) {
        case TransferEncoding::kBase64: {
            if (!IsBase64Body(body)) return std::string(body);
            std::string decoded;
            AppendBase64(body, true, decoded);
            return decoded;
        }
        case TransferEncoding::kQuotedPrintable:
            return DecodeQuotedPrintable(body);
        case TransferEncoding::kIdentity:
            break;
    }
    return std::string(body);
}

bool DecodeBase64(std::string_view text, std::string& out) { return AppendBase64(text, false, out); }

bool IsBase64Body(std::string_view body) {
    std::size_t foreign = 0;
    std::size_t counted = 0;
    std::size_t blanks = 0;  // since the last other byte: blanks that end a line count for nothing
    for (const char c : body) {
        if (c == '\r' || c == '\n') {
            blanks = 0;
        } else if (IsBlank(c)) {
            ++blanks;
        } else {
            foreign += blanks + (c != kPadding && Base64DigitValue(c) < 0 ? 1 : 0);
            counted += blanks + 1;
            blanks = 0;
        }
    }
    return foreign * kForeignShareDivisor <= counted;
}

std::string DecodeQuotedPrintable(std::string_view text) { return DecodeQuoted(text, false); }

std::string DecodeQEncoding(std::string_view text) { return DecodeQuoted(text, true); }

}  // namespace mime

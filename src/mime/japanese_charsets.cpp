#include "mime/japanese_charsets.h"

#include "mime/cp932_text.h"
#include "platform/cp932.h"

namespace mime {

namespace {

constexpr unsigned char kEscape = 0x1B;
constexpr unsigned char kShiftOut = 0x0E;  // katakana in 7-bit JIS
constexpr unsigned char kShiftIn = 0x0F;
constexpr unsigned char kSingleShift2 = 0x8E;  // EUC-JP: half-width katakana follows
constexpr unsigned char kSingleShift3 = 0x8F;  // EUC-JP: JIS X 0212 follows
constexpr unsigned char kHighBit = 0x80;
constexpr unsigned char kFirstKatakana = 0xA1;
constexpr unsigned char kLastKatakana = 0xDF;

enum class JisSet { kAscii, kJisX0208, kKatakana, kForeignDouble };

struct EscapeSequence {
    const char* bytes;  // after ESC
    JisSet set;
};

// JIS X 0213 plane 1 (ESC $ ( Q, ESC $ ( O) is read as JIS X 0208, which
// it extends.
const EscapeSequence kEscapes[] = {
    {"(B", JisSet::kAscii},      {"(J", JisSet::kAscii},         {"(H", JisSet::kAscii},
    {"$B", JisSet::kJisX0208},   {"$@", JisSet::kJisX0208},      {"$(Q", JisSet::kJisX0208},
    {"$(O", JisSet::kJisX0208},  {"(I", JisSet::kKatakana},      {"$(D", JisSet::kForeignDouble},
    {"$(P", JisSet::kForeignDouble}, {"$A", JisSet::kForeignDouble}, {"$(C", JisSet::kForeignDouble},
};
// ESC & @ announces a JIS X 0208 revision; it designates nothing itself.
constexpr char kRevisionAnnouncer[] = "&@";

constexpr unsigned char kLastShiftJisCommonLead = 0xA0;

bool IsJisByte(unsigned char byte) { return byte >= 0x21 && byte <= 0x7E; }
bool IsEucByte(unsigned char byte) { return byte >= 0xA1 && byte <= 0xFE; }
bool IsLineEnd(unsigned char byte) { return byte == '\r' || byte == '\n'; }

bool StartsWith(std::string_view text, std::size_t position, const char* prefix) {
    return text.compare(position, std::char_traits<char>::length(prefix), prefix) == 0;
}

// Length of the escape at text[position] (an ESC) when it is understood, and
// the set it selects; 0 otherwise.
std::size_t MatchEscape(std::string_view text, std::size_t position, JisSet& set, bool& designates) {
    designates = true;
    for (const EscapeSequence& escape : kEscapes) {
        if (StartsWith(text, position + 1, escape.bytes)) {
            set = escape.set;
            return 1 + std::char_traits<char>::length(escape.bytes);
        }
    }
    if (StartsWith(text, position + 1, kRevisionAnnouncer)) {
        designates = false;
        return 1 + std::char_traits<char>::length(kRevisionAnnouncer);
    }
    return 0;
}

unsigned char ByteAt(std::string_view text, std::size_t position) { return static_cast<unsigned char>(text[position]); }

enum class EucSet { kNone, kJisX0208, kKatakana, kJisX0212 };

struct EucCharacter {
    EucSet set;  // kNone: a byte of its own, ASCII or one that forms nothing
    std::size_t length;
};

EucCharacter EucCharacterAt(std::string_view text, std::size_t position) {
    const unsigned char byte = ByteAt(text, position);
    const unsigned char next = position + 1 < text.size() ? ByteAt(text, position + 1) : 0;
    if (byte == kSingleShift2 && next >= kFirstKatakana && next <= kLastKatakana) return {EucSet::kKatakana, 2};
    if (byte == kSingleShift3 && IsEucByte(next) && position + 2 < text.size() && IsEucByte(ByteAt(text, position + 2))) {
        return {EucSet::kJisX0212, 3};
    }
    if (IsEucByte(byte) && IsEucByte(next)) return {EucSet::kJisX0208, 2};
    return {EucSet::kNone, 1};
}

}  // namespace

void AppendIso2022JpAsCp932(std::string_view text, std::string& out) {
    JisSet set = JisSet::kAscii;
    std::size_t position = 0;
    while (position < text.size()) {
        const unsigned char byte = ByteAt(text, position);
        if (byte == kEscape) {
            JisSet selected = set;
            bool designates = true;
            const std::size_t length = MatchEscape(text, position, selected, designates);
            if (length != 0) {
                if (designates) set = selected;
                position += length;
                continue;
            }
        } else if (byte == kShiftOut || byte == kShiftIn) {
            set = byte == kShiftOut ? JisSet::kKatakana : JisSet::kAscii;
            ++position;
            continue;
        } else if (IsLineEnd(byte)) {
            set = JisSet::kAscii;
        } else if ((set == JisSet::kJisX0208 || set == JisSet::kForeignDouble) && IsJisByte(byte) &&
                   position + 1 < text.size() && IsJisByte(ByteAt(text, position + 1))) {
            if (set == JisSet::kJisX0208) {
                AppendJisX0208AsCp932(byte, ByteAt(text, position + 1), out);
            } else {
                out += kGetaMark;
            }
            position += 2;
            continue;
        } else if (set == JisSet::kKatakana && byte >= 0x21 && byte <= 0x5F) {
            out += static_cast<char>(byte | kHighBit);
            ++position;
            continue;
        }
        out += static_cast<char>(byte);
        ++position;
    }
}

void AppendEucJpAsCp932(std::string_view text, std::string& out) {
    std::size_t position = 0;
    while (position < text.size()) {
        const EucCharacter character = EucCharacterAt(text, position);
        switch (character.set) {
            case EucSet::kKatakana:
                out += text[position + 1];
                break;
            case EucSet::kJisX0212:
                out += kGetaMark;
                break;
            case EucSet::kJisX0208:
                AppendJisX0208AsCp932(ByteAt(text, position) & ~kHighBit, ByteAt(text, position + 1) & ~kHighBit, out);
                break;
            case EucSet::kNone:
                out += text[position];
                break;
        }
        position += character.length;
    }
}

bool HasIso2022JpEscape(std::string_view text) {
    for (std::size_t position = text.find(static_cast<char>(kEscape)); position != std::string_view::npos;
         position = text.find(static_cast<char>(kEscape), position + 1)) {
        JisSet set = JisSet::kAscii;
        bool designates = true;
        if (MatchEscape(text, position, set, designates) != 0 && set != JisSet::kAscii) return true;
    }
    return false;
}

bool IsEucJpText(std::string_view text) {
    bool any = false;
    for (std::size_t position = 0; position < text.size();) {
        const EucCharacter character = EucCharacterAt(text, position);
        if (character.set == EucSet::kNone && ByteAt(text, position) >= kHighBit) return false;
        any = any || character.set != EucSet::kNone;
        position += character.length;
    }
    return any;
}

bool IsPlausibleShiftJis(std::string_view text) {
    bool commonLead = false;
    std::size_t position = 0;
    while (position < text.size()) {
        const unsigned char byte = ByteAt(text, position);
        if (byte < kHighBit || (byte >= kFirstKatakana && byte <= kLastKatakana)) {
            ++position;
            continue;
        }
        if (!platform::cp932::IsLeadByte(static_cast<char>(byte)) || position + 1 == text.size() ||
            !platform::cp932::IsTrailByte(text[position + 1])) {
            return false;
        }
        commonLead = commonLead || byte <= kLastShiftJisCommonLead;
        position += 2;
    }
    return commonLead;
}

}  // namespace mime

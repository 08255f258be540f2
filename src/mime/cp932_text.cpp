#include "mime/cp932_text.h"

#include <algorithm>

#include "mime/cp932_table.h"

namespace mime {

namespace {

constexpr char32_t kFirstNonAscii = 0x80;
constexpr char32_t kLastTableCharacter = 0xFFFF;
constexpr unsigned kByteMask = 0xFF;

// Characters that only shape their neighbours; 〓 in their place would be noise.
bool IsInvisibleFormatting(char32_t character) {
    return character == 0xFEFF || (character >= 0x200B && character <= 0x200D) || character == 0x2060 ||
           (character >= 0xFE00 && character <= 0xFE0F);
}

// The JIS X 0208 rows (1 to 94) that hold characters in code page 932:
// symbols and kana (1 to 8), NEC special characters (13), the two kanji
// levels (16 to 84) and the NEC-selected IBM extensions (89 to 92).
bool IsCp932Row(int row) { return (row >= 1 && row <= 8) || row == 13 || (row >= 16 && row <= 84) || (row >= 89 && row <= 92); }

constexpr unsigned char kJisFirst = 0x21;

}  // namespace

void AppendUnicodeAsCp932(char32_t character, std::string& out) {
    if (character < kFirstNonAscii) {
        out += static_cast<char>(character);
        return;
    }
    if (IsInvisibleFormatting(character)) return;
    if (character <= kLastTableCharacter) {
        const UnicodeCp932Pair* end = kUnicodeToCp932 + kUnicodeToCp932Count;
        const UnicodeCp932Pair* found =
            std::lower_bound(kUnicodeToCp932, end, character,
                             [](const UnicodeCp932Pair& pair, char32_t key) { return pair.unicode < key; });
        if (found != end && found->unicode == character) {
            if (found->cp932 > kByteMask) out += static_cast<char>(found->cp932 >> 8);
            out += static_cast<char>(found->cp932 & kByteMask);
            return;
        }
    }
    out += kGetaMark;
}

void AppendJisX0208AsCp932(unsigned char row, unsigned char cell, std::string& out) {
    if (!IsCp932Row(row - kJisFirst + 1)) {
        out += kGetaMark;
        return;
    }
    // Two JIS rows share one Shift-JIS lead byte; the odd row takes the
    // trail bytes 0x40 to 0x9E (skipping 0x7F), the even row 0x9F to 0xFC.
    const int lead = ((row + 1) >> 1) + (row <= 0x5E ? 0x70 : 0xB0);
    const int trail = (row & 1) != 0 ? cell + (cell >= 0x60 ? 0x20 : 0x1F) : cell + 0x7E;
    out += static_cast<char>(lead);
    out += static_cast<char>(trail);
}

}  // namespace mime

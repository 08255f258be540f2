// Building code page 932 text out of Unicode and JIS characters.
#pragma once

#include <string>

namespace mime {

// 〓, which stands for every character code page 932 cannot hold.
constexpr char kGetaMark[] = "\x81\xAC";

// ASCII as it is, other characters from the generated table, the rest as
// 〓. A few invisible formatting characters (byte order mark, zero-width
// joiners, variation selectors) are dropped: they have no glyph to stand for.
void AppendUnicodeAsCp932(char32_t character, std::string& out);

// JIS X 0208 row and cell bytes (each 0x21 to 0x7E) as the Shift-JIS pair
// they convert to arithmetically; rows that code page 932 leaves empty as 〓.
void AppendJisX0208AsCp932(unsigned char row, unsigned char cell, std::string& out);

}  // namespace mime

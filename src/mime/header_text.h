// Header values in code page 932.
#pragma once

#include <string>
#include <string_view>

namespace mime {

// One unfolded header value as readable code page 932 text on one line:
// RFC 2047 encoded words (B and Q, any letter case, wherever they stand,
// inside quoted display names too) are decoded, and the white space between
// two adjacent ones dropped; the words of one charset are joined before
// conversion, so a character split across two words comes out whole. Other
// text is read by GuessCharset: raw ISO-2022-JP, raw UTF-8, otherwise code
// page 932. A word in an unknown charset or with broken base64 stays as it
// was written. Control bytes become spaces; the ends are trimmed.
std::string DecodeHeaderText(std::string_view value);

// text on one line: control bytes become spaces (NUL goes), the ends are trimmed.
std::string SingleLine(std::string_view text);

}  // namespace mime

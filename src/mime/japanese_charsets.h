// The JIS-based charsets, converted to code page 932 by arithmetic.
#pragma once

#include <string>
#include <string_view>

namespace mime {

// ISO-2022-JP and its common relatives: ESC $ B and ESC $ @ (JIS X 0208),
// ESC ( B and ESC ( J (ASCII, JIS Roman), ESC ( I and SO/SI (half-width
// katakana). Sets code page 932 lacks (JIS X 0212, other countries' sets)
// give 〓 per character. Text starts in ASCII; a line end returns to it, as
// senders that forget the closing ESC ( B expect. An escape that is not
// understood, or is cut off, stays as it came.
void AppendIso2022JpAsCp932(std::string_view text, std::string& out);

// EUC-JP: JIS X 0208 in two bytes with the high bit set, SS2 half-width
// katakana; JIS X 0212 (SS3) as 〓. Bytes that form no character stay as
// they came.
void AppendEucJpAsCp932(std::string_view text, std::string& out);

// True when text holds an ISO-2022-JP escape to a double-byte set or to
// katakana: the mark of Japanese mail that names no charset.
bool HasIso2022JpEscape(std::string_view text);

// True when every 8-bit byte of text belongs to an EUC-JP character (JIS X
// 0208, SS2 katakana, SS3 JIS X 0212) and there is at least one.
bool IsEucJpText(std::string_view text);

// True when text reads as Shift-JIS text a person wrote: every 8-bit byte
// belongs to a character, and one of them lies in 0x80 to 0xA0, where the
// lead bytes of kana, punctuation and the common kanji are. EUC-JP uses
// that range only for its rare single shifts, so this tells the two apart.
bool IsPlausibleShiftJis(std::string_view text);

}  // namespace mime

// Content-Transfer-Encoding and the B and Q encodings of header words.
#pragma once

#include <string>
#include <string_view>

namespace mime {

enum class TransferEncoding { kIdentity, kBase64, kQuotedPrintable };

// 7bit, 8bit, binary and names not understood are identity: the bytes stay.
TransferEncoding TransferEncodingFromName(std::string_view name);

// The decoded bytes of body; a body labelled base64 that is no base64
// (IsBase64Body) gives body as it came, and in one that is, the bytes
// outside the alphabet are passed over.
std::string DecodeTransfer(std::string_view body, TransferEncoding encoding);

// Whether a body labelled base64 is base64: at most one in twenty of its
// bytes, line ends and the blanks before them left out, lies outside the
// alphabet and padding (a blank inside a line counts as outside).
bool IsBase64Body(std::string_view body);

// Base64 with white space ignored; false when another byte stands in it.
// Padding ends a group, so base64 pieces joined one after another decode
// as well; a cut-off last group gives the bytes it holds whole.
bool DecodeBase64(std::string_view text, std::string& out);

// The value of a base64 digit, or -1.
int Base64DigitValue(char c);

// "=XX" in either letter case is a byte, "=" before a line end (after
// blanks, too) joins the lines; any other "=" stays.
std::string DecodeQuotedPrintable(std::string_view text);

// The Q encoding of header words: quoted-printable in which "_" is a space.
std::string DecodeQEncoding(std::string_view text);

}  // namespace mime

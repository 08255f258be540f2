// The Subject, From and Date values of one message, unfolded into one line,
// cut to at most 255 bytes and cleaned according to PluginSettings. A cut
// never splits a double-byte character of code page 932.
#pragma once

#include <cstddef>

namespace text {

constexpr std::size_t kHeaderValueSize = 256;
constexpr std::size_t kHeaderValueLimit = kHeaderValueSize - 1;

// One owned value; the clean-ups work in place inside it.
struct HeaderValue {
    char text[kHeaderValueSize];
};

// Each field is null while absent. Whoever fills a record releases it with
// ReleaseMessageHeaders.
struct MessageHeaders {
    HeaderValue* subject;
    HeaderValue* from;
    HeaderValue* date;
};

// Fills an empty record from the header of messageText (CR LF line ends, an
// empty line before the body). The last occurrence of a header wins; a value
// whose storage is refused is left out. The body is never scanned.
void ExtractHeaders(const char* messageText, MessageHeaders& headers);

// Releases the three values and leaves them absent.
void ReleaseMessageHeaders(MessageHeaders& headers);

// Copies a possibly folded value into destination, which needs room for
// limit + 1 bytes: CRs are dropped, a line end with the blanks that open its
// continuation line disappears, and the value ends at the first line end not
// followed by a blank, at the NUL, or at the last character boundary within
// limit bytes.
void CopyHeaderValue(const char* value, char* destination, std::size_t limit);

// Start of the next logical header line after line (continuation lines
// belong to their header), or null at the end of the header or the text.
const char* NextHeaderLine(const char* line);

// When line begins with name (its colon included, compared case-sensitively),
// the start of the value: after the colon and one blank if one stands there.
// Null otherwise.
const char* MatchHeaderName(const char* line, const char* name);

}  // namespace text

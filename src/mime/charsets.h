// Text in a named charset turned into code page 932.
#pragma once

#include <string>
#include <string_view>

#include "platform/platform.h"

namespace mime {

// The Japanese charsets, UTF-8, UTF-16, US-ASCII and ISO-8859-1 are read
// here, exactly; the other charsets of the world by the platform's code page
// tables (kPlatform), into Unicode and then code page 932.
struct Charset {
    enum Kind {
        kUnknown,   // left as it is
        kUsAscii,   // often a mislabel: read as if no charset were named
        kIso2022Jp,
        kShiftJis,  // Shift_JIS, Windows-31J, CP932: already code page 932
        kEucJp,
        kUtf8,
        kLatin1,
        kUtf16,     // big-endian unless a byte order mark says otherwise
        kUtf16Le,
        kUtf16Be,
        kPlatform,
    };

    // From a kind alone, so that Charset::kUtf8 stands for a charset.
    constexpr Charset(Kind kind = kUnknown, const platform::CodePage* codePage = nullptr)
        : kind(kind), codePage(codePage) {}

    Kind kind;
    const platform::CodePage* codePage;  // kPlatform's entry in the table of names
};

inline bool operator==(Charset a, Charset b) { return a.kind == b.kind && a.codePage == b.codePage; }
inline bool operator!=(Charset a, Charset b) { return !(a == b); }

// The charset a MIME name stands for, in any letter case; kUnknown for
// names not understood and for charsets the platform cannot convert.
Charset CharsetFromName(std::string_view name);

// The charset of text that names none: ISO-2022-JP when it holds its
// escapes, UTF-8 when it is well-formed multi-byte UTF-8, EUC-JP when it is
// EUC-JP and no plausible Shift-JIS, otherwise code page 932 (7-bit text
// reads the same in all four).
Charset GuessCharset(std::string_view text);

// US-ASCII, and ISO-2022-JP on text with 8-bit bytes, are read as text that
// names no charset (GuessCharset); UTF-7 may write "," for "/" in its base64
// runs, as IMAP's form does.
void AppendAsCp932(std::string_view text, Charset charset, std::string& out);

}  // namespace mime

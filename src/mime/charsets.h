// Text in a named charset turned into code page 932.
#pragma once

#include <string>
#include <string_view>

enum class Charset {
    kUnknown,   // left as it is
    kUsAscii,   // often a mislabel: read as if no charset were named
    kIso2022Jp,
    kShiftJis,  // Shift_JIS, Windows-31J, CP932: already code page 932
    kEucJp,
    kUtf8,
    kLatin1,
};

// The charset a MIME name stands for, in any letter case; kUnknown for
// names not understood.
Charset CharsetFromName(std::string_view name);

// The charset of text that names none: ISO-2022-JP when it holds its
// escapes, UTF-8 when it is well-formed multi-byte UTF-8, EUC-JP when it is
// EUC-JP and no plausible Shift-JIS, otherwise code page 932 (7-bit text
// reads the same in all four).
Charset GuessCharset(std::string_view text);

void AppendAsCp932(std::string_view text, Charset charset, std::string& out);

#include "mime/charsets.h"

#include "mime/ascii.h"
#include "mime/japanese_charsets.h"
#include "mime/unicode_charsets.h"

namespace {

struct CharsetName {
    const char* name;  // lower case
    Charset charset;
};

// The names senders use, IANA's and the common vendor ones. ISO-2022-JP-1,
// -2 and -3 share the escapes read here; their extra sets give 〓.
const CharsetName kCharsetNames[] = {
    {"iso-2022-jp", Charset::kIso2022Jp}, {"csiso2022jp", Charset::kIso2022Jp}, {"iso-2022-jp-1", Charset::kIso2022Jp},
    {"iso-2022-jp-2", Charset::kIso2022Jp}, {"iso-2022-jp-3", Charset::kIso2022Jp}, {"jis", Charset::kIso2022Jp},
    {"shift_jis", Charset::kShiftJis},    {"shift-jis", Charset::kShiftJis},      {"sjis", Charset::kShiftJis},
    {"x-sjis", Charset::kShiftJis},       {"ms_kanji", Charset::kShiftJis},       {"csshiftjis", Charset::kShiftJis},
    {"windows-31j", Charset::kShiftJis},  {"cswindows31j", Charset::kShiftJis},   {"cp932", Charset::kShiftJis},
    {"ms932", Charset::kShiftJis},        {"x-ms-cp932", Charset::kShiftJis},     {"euc-jp", Charset::kEucJp},
    {"x-euc-jp", Charset::kEucJp},        {"eucjp", Charset::kEucJp},             {"euc-jp-ms", Charset::kEucJp},
    {"cseucpkdfmtjapanese", Charset::kEucJp}, {"utf-8", Charset::kUtf8},          {"utf8", Charset::kUtf8},
    {"us-ascii", Charset::kUsAscii},      {"ascii", Charset::kUsAscii},           {"ansi_x3.4-1968", Charset::kUsAscii},
    {"iso-8859-1", Charset::kLatin1},     {"iso_8859-1", Charset::kLatin1},       {"latin1", Charset::kLatin1},
    {"l1", Charset::kLatin1},             {"csisolatin1", Charset::kLatin1},
};

}  // namespace

Charset CharsetFromName(std::string_view name) {
    const std::string_view trimmed = TrimBlanks(name);
    for (const CharsetName& known : kCharsetNames) {
        if (EqualsIgnoringCase(trimmed, known.name)) return known.charset;
    }
    return Charset::kUnknown;
}

Charset GuessCharset(std::string_view text) {
    if (HasIso2022JpEscape(text)) return Charset::kIso2022Jp;
    if (IsMultiByteUtf8(text)) return Charset::kUtf8;
    if (IsEucJpText(text) && !IsPlausibleShiftJis(text)) return Charset::kEucJp;
    return Charset::kShiftJis;
}

void AppendAsCp932(std::string_view text, Charset charset, std::string& out) {
    if (charset == Charset::kUsAscii) charset = GuessCharset(text);
    switch (charset) {
        case Charset::kIso2022Jp:
            AppendIso2022JpAsCp932(text, out);
            return;
        case Charset::kEucJp:
            AppendEucJpAsCp932(text, out);
            return;
        case Charset::kUtf8:
            AppendUtf8AsCp932(text, out);
            return;
        case Charset::kLatin1:
            AppendLatin1AsCp932(text, out);
            return;
        case Charset::kShiftJis:
        case Charset::kUnknown:
        case Charset::kUsAscii:
            out.append(text);
            return;
    }
}

#include "mime/charsets.h"

#include "mime/ascii.h"
#include "mime/japanese_charsets.h"
#include "mime/transfer_encoding.h"
#include "mime/unicode_charsets.h"

namespace mime {

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
    {"l1", Charset::kLatin1},             {"csisolatin1", Charset::kLatin1},      {"utf-16", Charset::kUtf16},
    {"utf16", Charset::kUtf16},           {"utf-16le", Charset::kUtf16Le},        {"utf-16be", Charset::kUtf16Be},
};

constexpr std::size_t kMostNames = 5;

struct PlatformCharset {
    const char* names[kMostNames];  // lower case, the unused ones null
    platform::CodePage codePage;
};

constexpr uint32_t kNone = platform::kNoWindowsCodePage;
constexpr uint32_t kUtf7 = 65000;
constexpr unsigned char kFirstEightBitByte = 0x80;
constexpr char kUtf7RunStart = '+';
constexpr char kUtf7RunEnd = '-';
constexpr char kImapSlash = ',';

// The charsets of mail from abroad, by their IANA names and the aliases
// senders use, with the names the platform's tables go by. Where a sender's
// label names a subset, the superset that its mail really holds is read:
// EUC-KR as Windows's Korean code page (949, iconv's CP949), GB2312 as GBK
// (936). Windows has no code page for ISO-8859-10, -14 and -16, and Wine
// none for GB18030 (54936): the DLL leaves their text as it came. Windows's
// 874 holds ISO-8859-11.
const PlatformCharset kPlatformCharsets[] = {
    {{"windows-1250", "cp1250", "x-cp1250"}, {1250, "CP1250"}},
    {{"windows-1251", "cp1251", "x-cp1251"}, {1251, "CP1251"}},
    {{"windows-1252", "cp1252", "x-cp1252"}, {1252, "CP1252"}},
    {{"windows-1253", "cp1253", "x-cp1253"}, {1253, "CP1253"}},
    {{"windows-1254", "cp1254", "x-cp1254"}, {1254, "CP1254"}},
    {{"windows-1255", "cp1255", "x-cp1255"}, {1255, "CP1255"}},
    {{"windows-1256", "cp1256", "x-cp1256"}, {1256, "CP1256"}},
    {{"windows-1257", "cp1257", "x-cp1257"}, {1257, "CP1257"}},
    {{"windows-1258", "cp1258", "x-cp1258"}, {1258, "CP1258"}},
    {{"iso-8859-2", "iso_8859-2", "latin2", "l2", "csisolatin2"}, {28592, "ISO-8859-2"}},
    {{"iso-8859-3", "iso_8859-3", "latin3", "l3", "csisolatin3"}, {28593, "ISO-8859-3"}},
    {{"iso-8859-4", "iso_8859-4", "latin4", "l4", "csisolatin4"}, {28594, "ISO-8859-4"}},
    {{"iso-8859-5", "iso_8859-5", "cyrillic", "csisolatincyrillic"}, {28595, "ISO-8859-5"}},
    {{"iso-8859-6", "iso_8859-6", "arabic", "csisolatinarabic"}, {28596, "ISO-8859-6"}},
    {{"iso-8859-7", "iso_8859-7", "greek", "csisolatingreek"}, {28597, "ISO-8859-7"}},
    {{"iso-8859-8", "iso_8859-8", "iso-8859-8-i", "hebrew", "csisolatinhebrew"}, {28598, "ISO-8859-8"}},
    {{"iso-8859-9", "iso_8859-9", "latin5", "l5", "csisolatin5"}, {28599, "ISO-8859-9"}},
    {{"iso-8859-10", "iso_8859-10", "latin6", "l6", "csisolatin6"}, {kNone, "ISO-8859-10"}},
    {{"iso-8859-11", "iso_8859-11", "tis-620"}, {874, "ISO-8859-11"}},
    {{"iso-8859-13", "iso_8859-13", "latin7", "l7"}, {28603, "ISO-8859-13"}},
    {{"iso-8859-14", "iso_8859-14", "latin8", "l8"}, {kNone, "ISO-8859-14"}},
    {{"iso-8859-15", "iso_8859-15", "latin-9", "latin9"}, {28605, "ISO-8859-15"}},
    {{"iso-8859-16", "iso_8859-16", "latin10", "l10"}, {kNone, "ISO-8859-16"}},
    {{"koi8-r", "cskoi8r"}, {20866, "KOI8-R"}},
    {{"koi8-u"}, {21866, "KOI8-U"}},
    {{"euc-kr", "ks_c_5601-1987", "cp949", "cseuckr", "uhc"}, {949, "CP949"}},
    {{"gb2312", "gbk", "cp936", "csgb2312", "x-gbk"}, {936, "CP936"}},
    {{"gb18030"}, {54936, "GB18030"}},
    {{"big5", "csbig5", "cp950", "x-x-big5"}, {950, "CP950"}},
    {{"utf-7", "unicode-1-1-utf-7", "csunicode11utf7"}, {kUtf7, "UTF-7"}},
};

bool Names(const PlatformCharset& charset, std::string_view name) {
    for (const char* known : charset.names) {
        if (known != nullptr && EqualsIgnoringCase(name, known)) return true;
    }
    return false;
}

// Whether this platform's tables hold the code page: asked with no text.
bool PlatformConverts(const platform::CodePage& codePage) {
    std::u16string none;
    return platform::CodePageToUtf16(codePage, {}, none);
}

bool HasEightBitByte(std::string_view text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= kFirstEightBitByte) return true;
    }
    return false;
}

// The IMAP form of UTF-7, which some Japanese mailers send, writes "," for
// "/" in its base64 runs. UTF-7 proper ends a run at a ",", so one is read
// as "/" only where the run goes on after it or is closed by "-".
std::string WithImapCommasRead(std::string_view text) {
    std::string read(text);
    bool inRun = false;
    for (std::size_t position = 0; position < read.size(); ++position) {
        const char c = read[position];
        if (!inRun) {
            inRun = c == kUtf7RunStart;
        } else if (c == kImapSlash && position + 1 < read.size() &&
                   (Base64DigitValue(read[position + 1]) >= 0 || read[position + 1] == kImapSlash ||
                    read[position + 1] == kUtf7RunEnd)) {
            read[position] = '/';
        } else {
            inRun = Base64DigitValue(c) >= 0;
        }
    }
    return read;
}

}  // namespace

Charset CharsetFromName(std::string_view name) {
    const std::string_view trimmed = TrimBlanks(name);
    for (const CharsetName& known : kCharsetNames) {
        if (EqualsIgnoringCase(trimmed, known.name)) return known.charset;
    }
    for (const PlatformCharset& known : kPlatformCharsets) {
        if (!Names(known, trimmed)) continue;
        if (!PlatformConverts(known.codePage)) return Charset::kUnknown;
        return {Charset::kPlatform, &known.codePage};
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
    // A 7-bit label on 8-bit text is the sender's mistake (bounces from
    // Japanese carriers label UTF-8 as ISO-2022-JP): read as text that names
    // none, whose ISO-2022-JP escapes count first.
    if (charset == Charset::kUsAscii || (charset == Charset::kIso2022Jp && HasEightBitByte(text))) {
        charset = GuessCharset(text);
    }
    switch (charset.kind) {
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
        case Charset::kUtf16:
            AppendUtf16BytesAsCp932(text, Utf16Order::kByOrderMark, out);
            return;
        case Charset::kUtf16Le:
            AppendUtf16BytesAsCp932(text, Utf16Order::kLittleEndian, out);
            return;
        case Charset::kUtf16Be:
            AppendUtf16BytesAsCp932(text, Utf16Order::kBigEndian, out);
            return;
        case Charset::kPlatform: {
            std::string commasRead;
            if (charset.codePage->windows == kUtf7) {
                commasRead = WithImapCommasRead(text);
                text = commasRead;
            }
            std::u16string utf16;
            if (platform::CodePageToUtf16(*charset.codePage, text, utf16)) {
                AppendUtf16AsCp932(utf16, out);
            } else {
                out.append(text);
            }
            return;
        }
        case Charset::kShiftJis:
        case Charset::kUnknown:
        case Charset::kUsAscii:
            out.append(text);
            return;
    }
}

}  // namespace mime

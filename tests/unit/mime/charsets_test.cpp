// The charsets into code page 932. Expected texts are written in Japanese:
// the compiler emits every literal in code page 932.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "mime/charsets.h"

namespace mime {
namespace {

using namespace std::string_literals;  // for texts holding NUL bytes

struct ConversionCase {
    const char* what;
    Charset charset;
    std::string input;
    std::string expected;
};

const ConversionCase kConversions[] = {
    {"ESC $ B and ESC ( B", Charset::kIso2022Jp, "\x1b$B$\"$$\x1b(B ok", "あい ok"},
    {"ESC $ @ (JIS C 6226-1978)", Charset::kIso2022Jp, "\x1b$@4A;z\x1b(B", "漢字"},
    {"ESC ( J (JIS Roman) reads as ASCII", Charset::kIso2022Jp, "\x1b$B$+\x1b(Jabc", "かabc"},
    {"ESC ( I half-width katakana", Charset::kIso2022Jp, "\x1b(I1\x1b(B", "ｱ"},
    {"SO and SI katakana", Charset::kIso2022Jp, "\x0e" "2\x0f" "x", "ｲx"},
    {"NEC special characters, row 13", Charset::kIso2022Jp, "\x1b$B-!\x1b(B", "①"},
    {"a row code page 932 leaves empty", Charset::kIso2022Jp, "\x1b$B)!\x1b(B", "〓"},
    {"JIS X 0212 has no place", Charset::kIso2022Jp, "\x1b$(D0!\x1b(B", "〓"},
    {"a line end returns to ASCII", Charset::kIso2022Jp, "\x1b$B$\"\r\nab", "あ\r\nab"},
    {"a cut-off escape stays as it came", Charset::kIso2022Jp, "\x1b$B$\"\x1b$", "あ\x1b$"},
    {"an unknown escape stays", Charset::kIso2022Jp, "\x1b%Gx", "\x1b%Gx"},
    {"a lone byte in double-byte mode stays", Charset::kIso2022Jp, "\x1b$B$\"$", "あ$"},
    {"EUC-JP kanji", Charset::kEucJp, "\xb4\xc1\xbb\xfa", "漢字"},
    {"EUC-JP SS2 katakana", Charset::kEucJp, "\x8e\xb1", "ｱ"},
    {"EUC-JP SS3 JIS X 0212", Charset::kEucJp, "\x8f\xb0\xa1z", "〓z"},
    {"EUC-JP broken bytes stay", Charset::kEucJp, "a\xb4", "a\xb4"},
    {"UTF-8", Charset::kUtf8, u8"日本語", "日本語"},
    {"UTF-8 half-width katakana", Charset::kUtf8, u8"ｱｲ", "ｱｲ"},
    {"UTF-8 wave dash of other systems", Charset::kUtf8, u8"\u301c\uff5e", "～～"},
    {"UTF-8 minus sign and double vertical line", Charset::kUtf8, u8"\u2212\u2016", "－∥"},
    {"UTF-8 no-break space and yen sign", Charset::kUtf8, u8"1\u00a0\u00a5", "1 \\"},
    {"UTF-8 IBM extension kanji", Charset::kUtf8, u8"髙﨑", "髙﨑"},
    {"UTF-8 emoji and accents", Charset::kUtf8, u8"\U0001F600é", "〓〓"},
    {"UTF-8 byte order mark and zero-width space go", Charset::kUtf8, u8"\ufeffa\u200bb", "ab"},
    {"UTF-8 broken bytes", Charset::kUtf8, "a\xe3\x81z\xff", "a〓〓z〓"},
    {"UTF-8 overlong form", Charset::kUtf8, "\xc0\xaf", "〓〓"},
    {"ISO-8859-1", Charset::kLatin1, "caf\xe9 \xa7", "caf〓 §"},
    {"Shift_JIS stays", Charset::kShiftJis, "\x82\xa0\x5c", "\x82\xa0\x5c"},
    {"an unknown charset stays", Charset::kUnknown, "\xa4\xa2\x1b$B", "\xa4\xa2\x1b$B"},
    {"US-ASCII holding JIS escapes", Charset::kUsAscii, "\x1b$B$\"\x1b(B", "あ"},
    {"US-ASCII holding raw UTF-8", Charset::kUsAscii, u8"あ", "あ"},
    {"ISO-2022-JP holding raw UTF-8", Charset::kIso2022Jp, u8"配信", "配信"},
    {"ISO-2022-JP with 8-bit bytes, its escapes first", Charset::kIso2022Jp, "\x1b$B$\"\x1b(B\xb1", "あ\xb1"},
    {"UTF-16 by its byte order mark", Charset::kUtf16, "\xff\xfe\xe5\x65\x2c\x67", "日本"},
    {"UTF-16 big-endian without one", Charset::kUtf16, "\x65\xe5\x00" "a"s, "日a"},
    {"UTF-16LE", Charset::kUtf16Le, "\xe5\x65", "日"},
    {"UTF-16BE surrogate pair, lone surrogate, odd byte", Charset::kUtf16Be, "\xd8\x3d\xde\x00\xdc\x00\x00"s, "〓〓〓"},
    // The platform's tables (iconv natively; the conformance cases hold it to
    // Windows's and list the charsets) on to code page 932: its 〓 for letters
    // it lacks and for U+FFFD, and surrogate pairs as one 〓.
    {"windows-1252", CharsetFromName("windows-1252"), "h\xe4h\xe4 \x93" "a\x94\x97", "h〓h〓 “a”―"},
    {"EUC-KR kanji and kana, a broken byte", CharsetFromName("euc-kr"), "\xec\xed\xdc\xe2\xaa\xa2\xff", "日本あ〓"},
    {"UTF-7 with \",\" for \"/\" in a run, and after one", CharsetFromName("utf-7"), "+MLUw,DDQ- +ZeVnLIqe, ok",
     "サーバ 日本語, ok"},
    {"GB18030 beyond the plane", CharsetFromName("gb18030"), "\x95\x32\x82\x36z", "〓z"},
};

TEST(CharsetConversionTest, EveryCharsetGivesCodePage932) {
    for (const ConversionCase& c : kConversions) {
        std::string out;
        AppendAsCp932(c.input, c.charset, out);
        EXPECT_EQ(out, c.expected) << c.what;
    }
}

struct NameCase {
    const char* name;
    Charset::Kind kind;
    uint32_t windowsCodePage = 0;  // of kPlatform
};

const NameCase kNames[] = {
    {"ISO-2022-JP", Charset::kIso2022Jp},   {"iso-2022-jp-2", Charset::kIso2022Jp},  {"Shift_JIS", Charset::kShiftJis},
    {"windows-31j", Charset::kShiftJis},    {"CP932", Charset::kShiftJis},           {"x-sjis", Charset::kShiftJis},
    {"EUC-JP", Charset::kEucJp},            {"UTF-8", Charset::kUtf8},               {" utf8 ", Charset::kUtf8},
    {"us-ascii", Charset::kUsAscii},        {"ISO-8859-1", Charset::kLatin1},        {"UTF-16", Charset::kUtf16},
    {"utf-16le", Charset::kUtf16Le},        {"UTF-16BE", Charset::kUtf16Be},         {"", Charset::kUnknown},
    {"x-user-defined", Charset::kUnknown},  {"iso-8859-12", Charset::kUnknown},
    {"Windows-1250", Charset::kPlatform, 1250}, {"x-cp1258", Charset::kPlatform, 1258},
    {"ISO_8859-2", Charset::kPlatform, 28592},  {"latin9", Charset::kPlatform, 28605},
    {"ks_c_5601-1987", Charset::kPlatform, 949}, {"GBK", Charset::kPlatform, 936},
    // Natively only: Windows has no code page for it.
    {"iso-8859-16", Charset::kPlatform, platform::kNoWindowsCodePage},
};

TEST(CharsetConversionTest, NamesInAnyLetterCase) {
    for (const NameCase& c : kNames) {
        const Charset charset = CharsetFromName(c.name);
        EXPECT_EQ(charset.kind, c.kind) << c.name;
        if (charset.kind == Charset::kPlatform) {
            EXPECT_EQ(charset.codePage->windows, c.windowsCodePage) << c.name;
        }
    }
}

struct GuessCase {
    std::string text;
    Charset charset;
};

const GuessCase kGuesses[] = {
    {"plain ASCII", Charset::kShiftJis},
    {"\x1b$B$\"\x1b(B", Charset::kIso2022Jp},
    {"\x1b(B only", Charset::kShiftJis},
    {u8"日本", Charset::kUtf8},
    {"\x93\xfa\x96\x7b", Charset::kShiftJis},  // 日本 in Shift-JIS: no well-formed UTF-8
    {"\xe6\x97\xa5\x96", Charset::kShiftJis},  // one good sequence does not make the text UTF-8
    {"\xa5\xc6\xa5\xb9\xa5\xc8", Charset::kEucJp},   // テスト: as Shift-JIS, half-width katakana alone
    {"\x83\x65\x83\x58\x83\x67", Charset::kShiftJis},  // テスト in Shift-JIS: no EUC-JP
    {"\xb4\xc1\xbb\xfa", Charset::kEucJp},            // 漢字: no Shift-JIS, its last lead byte lacks a trail
    {"\x82\xa0\xa4\xa2", Charset::kShiftJis},        // あ and half-width katakana: kana's lead byte
    {"\x8e\xb1", Charset::kShiftJis},  // EUC-JP's half-width katakana is also a common Shift-JIS kanji
};

TEST(CharsetConversionTest, TextThatNamesNoCharset) {
    for (const GuessCase& c : kGuesses) EXPECT_EQ(GuessCharset(c.text), c.charset) << c.text;
}

}  // namespace
}  // namespace mime

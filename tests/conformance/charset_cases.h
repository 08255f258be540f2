// Text in the charsets of mail from abroad, by the code page tables of either
// side: the C library's iconv natively, MultiByteToWideChar on Windows.
//
// The two sides' tables part on a few bytes, which are left out here:
// windows-1250 to -1258 read their unassigned bytes 0x80 to 0x9F as those C1
// controls on Windows and as no character natively; windows-1255 and -1258
// compose a letter and the accent after it into one character natively only;
// koi8-u 0xAE and 0xBE, iso-8859-7 0xA1, 0xA2, 0xA4, 0xA5 and 0xAA, iso-8859-8
// 0xAF, 0xFD and 0xFE, and 0x80 of the Korean code page differ; the
// user-defined areas of the Chinese and Korean code pages are private use
// characters on Windows and no characters natively. Either way code page 932
// holds none of those characters.
#pragma once

#include <string>

#include "conformance/expectations.h"
#include "conformance/test_bed.h"
#include "platform/platform.h"

namespace conformance::charset {

constexpr platform::CodePage kWindows1252 = {1252, "CP1252"};
constexpr platform::CodePage kKorean = {949, "CP949"};
// Numbers and names neither side has.
constexpr platform::CodePage kNoSuchCodePage = {12345, "X-NO-SUCH-CHARSET"};
constexpr platform::CodePage kNoCodePageAtAll = {platform::kNoWindowsCodePage, nullptr};
constexpr std::size_t kLongRepeats = 10000;

struct Conversion {
    const char* what;
    platform::CodePage codePage;
    std::string bytes;
    std::u16string expected;
};

inline void Converts(Expectations& expect, const Conversion& conversion) {
    std::u16string utf16 = u"<";
    expect.True(platform::CodePageToUtf16(conversion.codePage, conversion.bytes, utf16),
                std::string(conversion.what) + ": code page known");
    expect.Equal(utf16, u"<" + conversion.expected, conversion.what);
}

inline void TextOfEveryCharset(TestBed&, Expectations& expect) {
    const Conversion conversions[] = {
        {"windows-1252 quotes, dashes and euro", kWindows1252, "\x93Hi\x94\x96\x97\x80 \xe4",
         u"\u201cHi\u201d\u2013\u2014\u20ac \u00e4"},
        {"windows-1251", {1251, "CP1251"}, "\xf8\xee\xf1\xf2\xe8\xe9", u"шостий"},
        {"windows-1253 Greek", {1253, "CP1253"}, "\xe1\xe2\xe3 \xa2", u"αβγ Ά"},
        {"koi8-r", {20866, "KOI8-R"}, "\xdb\xcf\xd3\xd4\xc9\xca", u"шостий"},
        {"koi8-u", {21866, "KOI8-U"}, "\xa4\xa6\xa7", u"єії"},
        {"iso-8859-2", {28592, "ISO-8859-2"}, "\xb1\xe8", u"ąč"},
        {"iso-8859-5", {28595, "ISO-8859-5"}, "\xe8\xde", u"шо"},
        {"iso-8859-15 euro", {28605, "ISO-8859-15"}, "\xa4\xa6", u"€Š"},
        {"Korean", kKorean, "\xc7\xd1\xb1\xb9\xbe\xee", u"한국어"},
        {"Korean beyond EUC-KR", kKorean, "\x81\x41", u"갂"},
        {"simplified Chinese", {936, "CP936"}, "\xd6\xd0\xce\xc4", u"中文"},
        {"traditional Chinese", {950, "CP950"}, "\xa4\xa4\xa4\xe5", u"中文"},
        {"UTF-7", {65000, "UTF-7"}, "+ZeVnLIqe-", u"日本語"},
        {"UTF-7 run ended by the text", {65000, "UTF-7"}, "a+AOQ", u"a\u00e4"},
        {"NUL bytes", kWindows1252, std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
        {"empty", kKorean, "", u""},
    };
    for (const Conversion& conversion : conversions) Converts(expect, conversion);
}

inline void BrokenBytesGiveTheReplacementCharacter(TestBed&, Expectations& expect) {
    const Conversion conversions[] = {
        {"no lead byte", kKorean, "a\xff" "b", u"a\ufffd" "b"},
        {"a lead byte without its trail byte", kKorean, "\xc7\n\xc7\xd1", u"\ufffd\n한"},
        {"a lead byte at the end", kKorean, "\xc7\xd1\xc7", u"한\ufffd"},
        {"a byte no single-byte character has", {1253, "CP1253"}, "\xe1\xaa", u"α\ufffd"},
        {"many of them", kKorean, [] {
             std::string bytes;
             for (std::size_t i = 0; i < kLongRepeats; ++i) bytes += "\xc7\xd1\xff";
             return bytes;
         }(),
         [] {
             std::u16string units;
             for (std::size_t i = 0; i < kLongRepeats; ++i) units += u"한\ufffd";
             return units;
         }()},
    };
    for (const Conversion& conversion : conversions) Converts(expect, conversion);
}

inline void UnknownCodePageConvertsNothing(TestBed&, Expectations& expect) {
    for (const platform::CodePage& codePage : {kNoSuchCodePage, kNoCodePageAtAll}) {
        for (const std::string bytes : {"", "abc"}) {
            std::u16string utf16 = u"kept";
            expect.True(!platform::CodePageToUtf16(codePage, bytes, utf16),
                        "code page " + Describe(codePage.windows) + " unknown for " + Describe(bytes));
            expect.Equal(utf16, std::u16string(u"kept"), "text left alone");
        }
    }
}

inline constexpr Case kCases[] = {
    {"CharsetTextOfEveryCharset", TextOfEveryCharset},
    {"CharsetBrokenBytesGiveTheReplacementCharacter", BrokenBytesGiveTheReplacementCharacter},
    {"CharsetUnknownCodePageConvertsNothing", UnknownCodePageConvertsNothing},
};

}  // namespace conformance::charset

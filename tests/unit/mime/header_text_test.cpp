// Header values: RFC 2047 words, raw 8-bit text and file name parameters.
#include <gtest/gtest.h>

#include <string>

#include "mime/header_text.h"
#include "mime/parameter_text.h"
#include "mime/structured_field.h"

namespace mime {
namespace {

struct HeaderCase {
    const char* what;
    std::string value;
    std::string expected;
};

const HeaderCase kHeaders[] = {
    {"B word", " =?ISO-2022-JP?B?GyRCJCIbKEI=?=", "あ"},
    {"b and q in lower case", "=?utf-8?b?44GC?= =?utf-8?q?=E3=81=84?=", "あい"},
    {"Q underscore is a space", "=?UTF-8?Q?a_b?=", "a b"},
    {"folded words join without the blanks", "=?UTF-8?B?44GC?=\t  =?UTF-8?B?44GE?=", "あい"},
    {"a character split across two words", "=?UTF-8?B?4w==?= =?UTF-8?B?gYI=?=", "あ"},
    {"blanks before plain text stay", "=?UTF-8?B?44GC?= san", "あ san"},
    {"text before a word stays", "Re: [ml:1] =?UTF-8?B?44GC?=", "Re: [ml:1] あ"},
    {"a word inside display-name quotes", "\"=?UTF-8?B?5bGx55Sw?=\" <y@example.jp>", "\"山田\" <y@example.jp>"},
    {"a language after the charset", "=?UTF-8*ja?B?44GC?=", "あ"},
    {"an unknown charset stays written", "=?x-user-defined?B?8tXT?= x", "=?x-user-defined?B?8tXT?= x"},
    {"a charset of the platform's tables", "=?Windows-1252?Q?Die_Hasen_und_die_Fr=F6sche?=",
     "Die Hasen und die Fr〓sche"},
    {"a display name", "=?ISO-8859-15?Q?J=F6rn?= <j@example.de>", "J〓rn <j@example.de>"},
    {"UTF-7", "=?utf-7?Q?+ZeVnLIqe-?=", "日本語"},
    {"a character split across two names of one charset", "=?gb2312?B?1g==?= =?GBK?B?0A==?=", "中"},
    {"broken base64 stays written", "=?UTF-8?B?4!GC?=", "=?UTF-8?B?4!GC?="},
    {"an unclosed word stays written", "=?UTF-8?B?44GC", "=?UTF-8?B?44GC"},
    {"a word with blanks inside is none", "=?UTF-8?Q?a b?=", "=?UTF-8?Q?a b?="},
    {"raw ISO-2022-JP", "\x1b$B$\"\x1b(B", "あ"},
    {"raw UTF-8", u8"山田 <y@example.jp>", "山田 <y@example.jp>"},
    {"raw Shift-JIS stays", "\x8eR\x93\x63", "\x8eR\x93\x63"},
    {"raw EUC-JP", "\xa5\xc6\xa5\xb9\xa5\xc8 <t@example.jp>", "テスト <t@example.jp>"},
    {"control bytes become spaces, the ends are trimmed", "  =?UTF-8?Q?a=0D=0Ab=00c?=\t", "a  bc"},
    {"empty", "", ""},
};

TEST(HeaderTextTest, ValuesDecodeToOneLine) {
    for (const HeaderCase& c : kHeaders) EXPECT_EQ(DecodeHeaderText(c.value), c.expected) << c.what;
}

struct ParameterCase {
    const char* what;
    const char* field;
    std::string expected;
};

const ParameterCase kParameters[] = {
    {"plain", "attachment; filename=\"plan.pdf\"", "plan.pdf"},
    {"RFC 2231", "attachment; filename*=UTF-8''%E8%A1%A8.pdf", "表.pdf"},
    {"RFC 2231 with a language", "attachment; filename*=iso-2022-jp'ja'%1B%24B%24%22%1B%28B", "あ"},
    {"RFC 2231 sections, out of order",
     "attachment; filename*1*=%81%84.txt; filename*0*=utf-8''%E3%81%82%E3", "あい.txt"},
    {"RFC 2231 wins over the plain one", "attachment; filename=x; filename*=utf-8''%E3%81%82", "あ"},
    {"RFC 2047 inside quotes", "attachment; filename=\"=?ISO-2022-JP?B?GyRCJCIbKEI=?=.doc\"", "あ.doc"},
    {"raw UTF-8", u8"attachment; filename=\"写真.jpg\"", "写真.jpg"},
    {"quotes and escapes", "attachment; filename=\"a\\\"b;c\"", "a\"b;c"},
    {"missing", "attachment", ""},
    {"a bad percent stays", "attachment; filename*=utf-8''100%", "100%"},
};

TEST(HeaderTextTest, FileNameParameters) {
    for (const ParameterCase& c : kParameters) {
        EXPECT_EQ(DecodeParameterText(ParseStructuredField(c.field), "filename"), c.expected) << c.what;
    }
}

TEST(HeaderTextTest, StructuredFieldValueIsLowerCase) {
    const StructuredField field = ParseStructuredField(" Text/HTML ; Charset = \"ISO-2022-JP\" ;; bare ; x=1");
    EXPECT_EQ(field.value, "text/html");
    EXPECT_EQ(ParameterValue(field, "charset"), "ISO-2022-JP");
    EXPECT_EQ(ParameterValue(field, "x"), "1");
    EXPECT_EQ(ParameterValue(field, "bare"), "");
}

}  // namespace
}  // namespace mime

// Base64, quoted-printable and the Q encoding.
#include <gtest/gtest.h>

#include <string>

#include "mime/transfer_encoding.h"

namespace mime {
namespace {

struct DecodeCase {
    const char* what;
    TransferEncoding encoding;
    std::string body;
    std::string expected;
};

const DecodeCase kDecodes[] = {
    {"base64 over lines", TransferEncoding::kBase64, "aGVs\r\nbG8=\r\n", "hello"},
    {"base64 pieces joined", TransferEncoding::kBase64, "YQ==Yg==", "ab"},
    {"base64 cut off", TransferEncoding::kBase64, "aGVsbG", "hell"},
    {"not base64 stays as it came", TransferEncoding::kBase64, "Hello, world!\r\n", "Hello, world!\r\n"},
    {"plain words, blanks between them, stay", TransferEncoding::kBase64, "Thank you\r\nSee you soon\r\n",
     "Thank you\r\nSee you soon\r\n"},
    {"one stray byte in twenty is passed over", TransferEncoding::kBase64, "QUJDREVG\r\nR0hJSktMTU5P!", "ABCDEFGHIJKLMNO"},
    {"two are no base64", TransferEncoding::kBase64, "QUJDREVGR0hJSktMTU5P!!", "QUJDREVGR0hJSktMTU5P!!"},
    {"blanks that end a line count for nothing", TransferEncoding::kBase64, "YQ== \r\nYg==\t\r\n", "ab"},
    {"quoted-printable", TransferEncoding::kQuotedPrintable, "a=3Db=e3=81=82", "a=b\xe3\x81\x82"},
    {"soft line breaks", TransferEncoding::kQuotedPrintable, "ab=\r\ncd= \t\nef=\rgh=", "abcdefgh"},
    {"a stray equals sign stays", TransferEncoding::kQuotedPrintable, "1 =G 2 =", "1 =G 2 "},
    {"hard line ends stay", TransferEncoding::kQuotedPrintable, "a\r\nb\r\n", "a\r\nb\r\n"},
    {"7bit and the rest are as they are", TransferEncoding::kIdentity, "=3D", "=3D"},
};

TEST(TransferEncodingTest, BodiesDecode) {
    for (const DecodeCase& c : kDecodes) EXPECT_EQ(DecodeTransfer(c.body, c.encoding), c.expected) << c.what;
}

TEST(TransferEncodingTest, NamesInAnyLetterCase) {
    EXPECT_EQ(TransferEncodingFromName(" BASE64"), TransferEncoding::kBase64);
    EXPECT_EQ(TransferEncodingFromName("Quoted-Printable"), TransferEncoding::kQuotedPrintable);
    EXPECT_EQ(TransferEncodingFromName("8bit"), TransferEncoding::kIdentity);
    EXPECT_EQ(TransferEncodingFromName("x-uuencode"), TransferEncoding::kIdentity);
}

TEST(TransferEncodingTest, QEncodingUnderscoreIsASpace) {
    EXPECT_EQ(DecodeQEncoding("a_b=5F=3f"), "a b_?");
}

}  // namespace
}  // namespace mime
